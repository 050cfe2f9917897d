// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/SelectionWindow.h"

namespace tunevane {

// The effects selection window: six slots of WAV files.
class FrmWavSelect : public SelectionWindow {
    Q_OBJECT
public:
    explicit FrmWavSelect(App& app);

protected:
    SwitchWindow& switchWindow() override;
};

} // namespace tunevane
