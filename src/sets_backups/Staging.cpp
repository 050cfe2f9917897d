// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/Staging.h"

#include "files/FileOps.h"
#include "files/Path.h"

#include <QDateTime>

namespace tunevane {

Staged stage(const files::ProgramFolder& folder, const QString& staging,
             std::span<const StagedCopy> copies, files::Existing sameName) {
    Staged staged;
    for (const StagedCopy& copy : copies)
        staged.choices.push_back(copy.choice);
    // An abandoned backup may hold the only copy of a game's files: never mixed, never lost.
    staged.run.failure =
        folder.holdEmptySubfolder(staging, QDateTime::currentDateTime(), staged.hold);
    if (staged.run.failure != files::Failure::None) {
        staged.ready = false;
        return staged;
    }
    const QString into = QStringLiteral("/") + staging + QStringLiteral("/");
    QList<files::CopyPair> pairs;
    for (const StagedCopy& copy : copies) {
        // An empty destination fails like an empty slot, and ends the run there.
        pairs.append({copy.source, files::isBareName(copy.fileName)
                                       ? folder.filePath(into, copy.fileName)
                                       : QString()});
    }
    staged.run = files::copyRun(pairs, sameName);
    return staged;
}

} // namespace tunevane
