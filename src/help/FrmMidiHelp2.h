// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// The tutorial page for the music switch window.
class FrmMidiHelp2 : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmMidiHelp2(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
