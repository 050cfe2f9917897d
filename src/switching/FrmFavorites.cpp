// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "switching/FrmFavorites.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblFavorites",
     .box = {0, 120, 2415, 255},
     .caption = "Successfully added to favorites",
     .align = Qt::AlignCenter},
    {.kind = Kind::Button, .name = "CmdFavorites", .box = {1560, 480, 855, 375}, .caption = "OK"},
};

} // namespace

FrmFavorites::FrmFavorites(App& app)
    : Form(app, QStringLiteral("FrmFavorites"),
           {.title = QStringLiteral("Add to Favorites"),
            .widthTwips = 2490,
            .heightTwips = 945,
            .icon = "program",
            .inTaskBar = false}) {
    const Built built = build(controls);
    answerKeysWith(built.get<QPushButton>("CmdFavorites"));
    connect(built.get<QPushButton>("CmdFavorites"), &QPushButton::clicked, this,
            &Form::hideAndUnload);
}

} // namespace tunevane
