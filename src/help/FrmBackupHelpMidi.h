// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// About backing up a game's MIDI files.
class FrmBackupHelpMidi : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmBackupHelpMidi(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
