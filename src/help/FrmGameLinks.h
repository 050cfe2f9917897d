// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/GameLinks.h"

namespace tunevane {

// Download sites of the music side's games ("Games" of the music selection window).
class FrmGameLinks : public GameLinksWindow {
    Q_OBJECT
public:
    explicit FrmGameLinks(App& app);
};

} // namespace tunevane
