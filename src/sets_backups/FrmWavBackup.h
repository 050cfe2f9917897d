// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sets_backups/BackupWindow.h"

namespace tunevane {

// The effects backup: the six game files of the effects switch window.
class FrmWavBackup : public BackupWindow {
    Q_OBJECT
public:
    explicit FrmWavBackup(App& app);

    // "BACKUP ORIGINAL GAME FILES" of the effects switch window `over`.
    static void open(Form& over, std::span<const SlotPair> slots);
};

} // namespace tunevane
