// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// The tutorial page for the effects switch window.
class FrmWavHelp2 : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmWavHelp2(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
