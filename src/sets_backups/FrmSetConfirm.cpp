// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmSetConfirm.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblSetConfirm",
     .box = {0, 120, 3015, 255},
     .caption = "Your set has been saved.",
     .align = Qt::AlignCenter},
    {.kind = Kind::Button, .name = "CmdSetConfirm", .box = {1080, 480, 855, 375}, .caption = "OK"},
};

} // namespace

FrmSetConfirm::FrmSetConfirm(App& app)
    : Form(app, QStringLiteral("FrmSetConfirm"),
           {.title = QStringLiteral("Set Confirmation"),
            .widthTwips = 3015,
            .heightTwips = 900,
            .icon = "sound-document",
            .inTaskBar = false}) {
    const Built built = build(controls);
    answerKeysWith(built.get<QPushButton>("CmdSetConfirm"));
    connect(built.get<QPushButton>("CmdSetConfirm"), &QPushButton::clicked, this,
            &Form::hideAndUnload);
}

} // namespace tunevane
