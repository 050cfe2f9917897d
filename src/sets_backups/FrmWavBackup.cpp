// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmWavBackup.h"

#include "app/App.h"

namespace tunevane {

namespace {

constexpr QRgb red = qRgb(255, 0, 0);

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblBackupOrig1",
     .box = {0, 60, 5295, 375},
     .caption = "Backup Original Game Files Only",
     .font = {"Times New Roman", 12, true},
     .align = Qt::AlignCenter},
    {.kind = Kind::Label,
     .name = "LblMessage",
     .box = {120, 480, 5055, 1095},
     .caption = "IMPORTANT: Backup can be done only one time for each game. Be sure that all  wav "
                "files in chosen game directory have been included for backup. If more than 6 "
                "effects files exist for the chosen game, backup the remainder manually, or back "
                "them up and give the new backup set a different name.",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramSelectedFiles",
     .box = {120, 1620, 5055, 1920},
     .caption = "Selected Files",
     .font = {"Times New Roman", 9.75, true}},
    {.kind = Kind::Label,
     .name = "LblBackupPath%1",
     .box = {120, 240, 4815, 255},
     .in = "FramSelectedFiles",
     .colour = red,
     .family = {.count = 6, .dy = 270},
     // The file name stays in sight, and two of one name from two folders differ.
     .elide = Qt::ElideMiddle},
    {.kind = Kind::Label,
     .name = "LblFileNameA",
     .box = {120, 240, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblFilenameB",
     .box = {120, 510, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblFileNameC",
     .box = {120, 780, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblFileNameD",
     .box = {120, 1050, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblFileNameE",
     .box = {120, 1320, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblFileNameF",
     .box = {120, 1590, 4815, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Button,
     .name = "CmdBackup1",
     .box = {120, 3630, 1575, 375},
     .caption = "Backup",
     .tip = "Complete the backup process."},
    {.kind = Kind::Button,
     .name = "CmdClose1",
     .box = {3600, 3630, 1575, 375},
     .caption = "Cancel"},
};

constexpr const char* pathLabels[] = {"LblBackupPath1", "LblBackupPath2", "LblBackupPath3",
                                      "LblBackupPath4", "LblBackupPath5", "LblBackupPath6"};
constexpr const char* nameLabels[] = {"LblFileNameA", "LblFilenameB", "LblFileNameC",
                                      "LblFileNameD", "LblFileNameE", "LblFileNameF"};

} // namespace

FrmWavBackup::FrmWavBackup(App& app)
    : BackupWindow(app, QStringLiteral("FrmWavBackup"),
                   {.title = QStringLiteral("Wav Backup"),
                    .widthTwips = 5295,
                    .heightTwips = 4110,
                    .icon = "sound-document-2",
                    .centred = false}) {
    setUp(build(controls), {pathLabels, nameLabels, "CmdBackup1", "CmdClose1"});
}

void FrmWavBackup::open(Form& over, std::span<const SlotPair> slots) {
    over.app().forms().get<FrmWavBackup>().review(over, slots);
}

} // namespace tunevane
