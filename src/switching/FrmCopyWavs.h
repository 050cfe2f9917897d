// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "switching/SwitchWindow.h"

namespace tunevane {

// The effects switch window: six pairs of WAV files.
class FrmCopyWavs : public SwitchWindow {
    Q_OBJECT
public:
    explicit FrmCopyWavs(App& app);

private:
    void switchFiles();
};

} // namespace tunevane
