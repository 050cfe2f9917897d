// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/SelectionWindow.h"

namespace tunevane {

// The music selection window, the program's main window: three slots of MIDI files.
class FrmMidi : public SelectionWindow {
    Q_OBJECT
public:
    explicit FrmMidi(App& app);

    void loadSteps() override;

protected:
    SwitchWindow& switchWindow() override;
};

} // namespace tunevane
