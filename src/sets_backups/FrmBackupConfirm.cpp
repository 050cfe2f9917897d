// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmBackupConfirm.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblBackupConfirm",
     .box = {120, 120, 3015, 255},
     .caption = "Successful backup of all selected files.",
     .align = Qt::AlignCenter},
    {.kind = Kind::Button,
     .name = "CmdBackupConfirm",
     .box = {2160, 480, 975, 375},
     .caption = "OK"},
};

} // namespace

FrmBackupConfirm::FrmBackupConfirm(App& app)
    : Form(app, QStringLiteral("FrmBackupConfirm"),
           {.title = QStringLiteral("Backup Confirmation"),
            .widthTwips = 3210,
            .heightTwips = 960,
            .icon = "program",
            .inTaskBar = false}) {
    const Built built = build(controls);
    answerKeysWith(built.get<QPushButton>("CmdBackupConfirm"));
    connect(built.get<QPushButton>("CmdBackupConfirm"), &QPushButton::clicked, this,
            &Form::hideAndUnload);
}

} // namespace tunevane
