// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmGameLinks.h"

namespace tunevane {

namespace {

constexpr auto controls = gameLinksTable(
    {{
        {"FrameCasino", "3D Casino", "CmdCasino", "Download 3D Casino"},
        {"FrameA1Collex", "A1 Collex", "CmdA1Collex", "Download A1 Collex"},
        {"FrameBedtris", "Bedtris", "CmdBedtris", "Download Bedtris"},
        {"FrameDominion", "Dominion", "CmdDominion", "Download Dominion"},
        {"FrameGemstorm", "Gemstorm", "CmdGemstorm", "Download Gemstorm"},
        {"FrameMatch32", "Match32", "CmdMatch32", "Download Match32"},
        {"FramePressure", "Pressure Drop", "CmdPressure", "Download Pressure Drop"},
        {"FrameTiles", "Tiles and Trib.", "CmdTiles", "Download Tiles and Tribulations"},
        {"FrameToniTank", "Toni Tank Top", "CmdToniTank", "Download Toni Tank Top"},
    }},
    "TxtUrl");

} // namespace

FrmGameLinks::FrmGameLinks(App& app)
    : GameLinksWindow(app, QStringLiteral("FrmGameLinks"), 3660, controls) {}

} // namespace tunevane
