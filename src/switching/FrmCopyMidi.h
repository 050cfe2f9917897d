// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "switching/SwitchWindow.h"

namespace tunevane {

// The music switch window: three pairs of MIDI files, and the favourites.
class FrmCopyMidi : public SwitchWindow {
    Q_OBJECT
public:
    explicit FrmCopyMidi(App& app);

private:
    void switchFiles();
    void addToFavorites();
};

} // namespace tunevane
