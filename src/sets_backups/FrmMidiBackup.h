// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sets_backups/BackupWindow.h"

namespace tunevane {

// The music backup: the three game files of the music switch window.
class FrmMidiBackup : public BackupWindow {
    Q_OBJECT
public:
    explicit FrmMidiBackup(App& app);

    // "BACKUP ORIGINAL GAME FILES" of the music switch window `over`.
    static void open(Form& over, std::span<const SlotPair> slots);
};

} // namespace tunevane
