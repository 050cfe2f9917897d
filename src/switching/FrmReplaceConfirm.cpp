// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "switching/FrmReplaceConfirm.h"

#include "app/Ui.h"

#include <QLabel>
#include <QPushButton>

namespace tunevane {

namespace {

// The top frame overlaps the bottom one and lies over it, so it comes last.
constexpr Control controls[] = {
    {.kind = Kind::Panel, .name = "Frambot", .box = {0, 360, 3855, 1815}},
    {.kind = Kind::Label,
     .name = "Lblclose",
     .box = {360, 240, 3135, 375},
     .caption = "BE SURE TO EXIT TUNE-VANE BEFORE STARTING GAME.",
     .in = "Frambot",
     .font = {"MS Sans Serif", 8.25, true},
     .colour = qRgb(255, 0, 0),
     .align = Qt::AlignCenter,
     .wrap = true},
    // In the menu-text colour of the window's palette, given once the window is built.
    {.kind = Kind::Label,
     .name = "LblSwitchNote",
     .box = {240, 720, 3375, 495},
     .caption = "NOTE: Certain games must be shut down and restarted before \"Switch\" can take "
                "effect.",
     .in = "Frambot",
     .align = Qt::AlignCenter,
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdReplaceConfirm",
     .box = {1440, 1320, 975, 375},
     .caption = "OK",
     .in = "Frambot"},
    {.kind = Kind::Panel, .name = "Framtop", .box = {0, 0, 3855, 450}},
    {.kind = Kind::Label,
     .name = "LblReplaceConfirm",
     .box = {120, 155, 3615, 255},
     .caption = "Replacement Successful",
     .in = "Framtop",
     .font = {"MS Sans Serif", 9.75},
     .align = Qt::AlignCenter},
};

} // namespace

FrmReplaceConfirm::FrmReplaceConfirm(App& app)
    : Form(app, QStringLiteral("FrmReplaceConfirm"),
           {.title = QStringLiteral("Replacement Confirmation"),
            .widthTwips = 3870,
            .heightTwips = 2205,
            .icon = "program",
            .inTaskBar = false}) {
    const Built built = build(controls);
    auto* note = built.get<QLabel>("LblSwitchNote");
    setTextColour(note, menuTextColour(note));
    answerKeysWith(built.get<QPushButton>("CmdReplaceConfirm"));
    connect(built.get<QPushButton>("CmdReplaceConfirm"), &QPushButton::clicked, this,
            &Form::hideAndUnload);
}

} // namespace tunevane
