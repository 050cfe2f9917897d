// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The program's own folder of sets, backups and favourites, and safe ways to fill it.

#include "files/Failure.h"
#include "files/Fd.h"

#include <QString>
#include <QStringView>

class QDateTime;

namespace tunevane::files {

// The folder under which everything the program stores lies; subfolders are addressed by
// bare names and never reach outside it.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    const QString& path() const { return m_path; }

    // Silent by design: an existing folder and any failure are both passed over.
    void makeSubfolder(const QString& name) const;
    // Never replaces anything already named newName.
    bool renameSubfolder(const QString& oldName, const QString& newName) const;
    // Moves whatever stands under `name`, unless it is an empty folder, aside to
    // "NAME unfinished 2026-12-08 14.03.22" (" 2", " 3"… added when taken), so that nothing
    // left there is mixed into what is made next, and nothing is lost.
    Failure setAsideUnlessEmpty(const QString& name, const QDateTime& now) const;
    // Makes `name` an empty folder, setting aside whatever stands there as above, and holds it
    // for this process until `hold` is closed: a second running copy of the program gets
    // Failure::Busy and touches nothing in it. The lock writes nothing, and the kernel drops
    // it with the process. Where the file system has no such locks, nobody holds it.
    Failure holdEmptySubfolder(const QString& name, const QDateTime& now, Fd& hold) const;
    // Joined as plain strings, so a program folder of "/" gives "//TempDir/NAME".
    QString filePath(QStringView folderLiteral, const QString& fileName) const;

    // The per-user data folder, made if missing.
    static QString standardLocation();

private:
    QString m_path;
};

} // namespace tunevane::files
