// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmSetName2.h"

#include "app/App.h"
#include "sets_backups/FrmBackupConfirm.h"

#include <QComboBox>
#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblSaveSet",
     .box = {120, 60, 3975, 315},
     .caption = "Enter Backup Set Name",
     .font = {"Times New Roman", 12, true},
     .align = Qt::AlignCenter},
    {.kind = Kind::Label,
     .name = "LblSetInfo",
     .box = {120, 390, 3975, 435},
     .caption = "Give your backup set the same name as the game you're backing up.",
     .wrap = true},
    {.kind = Kind::Label,
     .name = "LblID",
     .box = {120, 840, 3975, 615},
     .caption = "IMPORTANT: Be sure to include \"Wav\" or \"Midi\" to the end of the set name for "
                "easy identification.",
     .wrap = true},
    {.kind = Kind::Label,
     .name = "Label1",
     .box = {120, 1470, 3975, 240},
     .caption = "(BlackJackMidi, BlackJackWav, etc.)"},
    {.kind = Kind::ComboBox,
     .name = "CboSetName2",
     .box = {120, 1725, 3975, 315},
     .tip = "Enter a name for your new set. "},
    {.kind = Kind::Button, .name = "CmdOK3", .box = {0, 2055, 4215, 375}, .caption = "OK"},
};

} // namespace

FrmSetName2::FrmSetName2(App& app)
    : NameDialog(app, QStringLiteral("FrmSetName2"),
                 {.title = QStringLiteral("Save Backup Set"),
                  .widthTwips = 4215,
                  .heightTwips = 2430,
                  .icon = "program",
                  .centred = false,
                  .closeBox = false},
                 {backupStaging,
                  {QStringLiteral("Backup Confirmation"), QStringLiteral("Backup"),
                   QStringLiteral("backed up"), Copying::GameFilesIntoProgramFolder}}) {
    const Built built = build(controls);
    setUp(built.get<QComboBox>("CboSetName2"), built.get<QPushButton>("CmdOK3"));
}

Form& FrmSetName2::confirmation() {
    return app().forms().get<FrmBackupConfirm>();
}

} // namespace tunevane
