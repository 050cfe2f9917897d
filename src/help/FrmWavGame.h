// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/GameLinks.h"

namespace tunevane {

// Download sites of the effects side's games ("Games" of the effects selection window).
class FrmWavGame : public GameLinksWindow {
    Q_OBJECT
public:
    explicit FrmWavGame(App& app);
};

} // namespace tunevane
