// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

namespace tunevane {

// About saving effect sets and using them again.
class FrmSaveSetInfo : public TutorialPage {
    Q_OBJECT
public:
    explicit FrmSaveSetInfo(App& app);

    static const PageLayout& page();
};

} // namespace tunevane
