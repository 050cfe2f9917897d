// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmWavGame.h"

namespace tunevane {

namespace {

constexpr auto controls =
    gameLinksTable({{
                       {"FrameBalloons", "Balloons", "CmdBalloons", "Download Balloons"},
                       {"FrameBeyond", "Beyond Pyramid", "CmdBeyond", "Download Beyond Pyramid"},
                       {"FrameGBall", "Gravity Ball", "CmdGBall", "Download Gravity Ball"},
                       {"FrameGravityGuy", "Gravity Guy", "CmdGravityGuy", "Download Gravity Guy"},
                       {"FrameMiniTris", "MiniTris", "CmdMiniTris", "Download MiniTris"},
                       {"FrameMrMatt", "Mr. Matt", "CmdMrMatt", "Download Mr. Matt"},
                       {"FrameNoisy", "Noisy Poker", "CmdNoisy", "Download Noisy Poker"},
                       {"FramePegSol", "Peg Solitaire", "CmdPegSol", "Download Peg Solitaire"},
                       {"FrameWild7", "Wild 7 Slots", "CmdWild7", "Download Wild 7 Slots"},
                   }},
                   "TxtUrl2");

} // namespace

FrmWavGame::FrmWavGame(App& app)
    : GameLinksWindow(app, QStringLiteral("FrmWavGame"), 3690, controls) {}

} // namespace tunevane
