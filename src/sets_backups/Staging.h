// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Outcome.h"
#include "files/FileOps.h"
#include "files/ProgramFolder.h"

#include <QString>
#include <span>
#include <vector>

namespace tunevane {

// The folders that sets and backups are filled in before the user names them.
inline const QString setStaging = QStringLiteral("TempDir");
inline const QString backupStaging = QStringLiteral("BackDir");

// One slot's part in filling a staging folder.
struct StagedCopy {
    QString source;   // full path; empty when the slot has none
    QString fileName; // the copy's name in the staging folder
    SlotChoice choice;
};

// What filling a staging folder did, kept for the final word once the folder is named.
struct Staged {
    std::vector<SlotChoice> choices;
    files::RunResult run;
    // False when what an earlier, abandoned save left in the staging folder could not be set
    // aside, or another running copy of the program holds the folder: nothing was copied, and
    // the folder must not be named.
    bool ready = true;
    // The staging folder, held until it is named or left.
    files::Fd hold;
};

// Sets aside whatever an abandoned save left in the staging folder, makes it afresh and copies
// into it in slot order, stopping at the first copy that fails. With Existing::Keep a copy
// never replaces what an earlier one of the same run staged, and the run stops there.
Staged stage(const files::ProgramFolder& folder, const QString& staging,
             std::span<const StagedCopy> copies, files::Existing sameName);

} // namespace tunevane
