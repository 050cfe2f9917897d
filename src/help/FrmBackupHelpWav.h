// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// About backing up a game's WAV files.
class FrmBackupHelpWav : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmBackupHelpWav(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
