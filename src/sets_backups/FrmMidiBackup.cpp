// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmMidiBackup.h"

#include "app/App.h"

namespace tunevane {

namespace {

constexpr QRgb red = qRgb(255, 0, 0);

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblWarning2",
     .box = {0, 60, 4815, 315},
     .caption = "Backup original game files only.",
     .font = {"Times New Roman", 12, true},
     .align = Qt::AlignCenter},
    {.kind = Kind::Label,
     .name = "LblMessage",
     .box = {120, 420, 4575, 1200},
     .caption = "IMPORTANT: Backup can be done only one time for each game. Be sure that all  midi "
                "files in chosen game directory have been included for backup. If more than 3 midi "
                "files exist for the chosen game, backup the remainder manually, or back them up "
                "and give the new backup set a different name.",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramSelectedFiles",
     .box = {120, 1650, 4575, 1005},
     .caption = "Selected Files",
     .font = {"Times New Roman", 9.75, true}},
    {.kind = Kind::Label,
     .name = "LblmidBackupPath%1",
     .box = {120, 240, 4335, 255},
     .in = "FramSelectedFiles",
     .colour = red,
     .family = {.count = 3, .dy = 240},
     // The file name stays in sight, and two of one name from two folders differ.
     .elide = Qt::ElideMiddle},
    {.kind = Kind::Label,
     .name = "LblmidFileNameA",
     .box = {120, 240, 4335, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblmidFilenameB",
     .box = {120, 480, 4335, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Label,
     .name = "LblmidFileNameC",
     .box = {120, 720, 4335, 255},
     .in = "FramSelectedFiles",
     .visible = false},
    {.kind = Kind::Button,
     .name = "CmdProceed",
     .box = {120, 2715, 1575, 375},
     .caption = "Backup",
     .tip = "Complete the backup process."},
    {.kind = Kind::Button,
     .name = "CmdCancel",
     .box = {3120, 2715, 1575, 375},
     .caption = "Cancel"},
};

constexpr const char* pathLabels[] = {"LblmidBackupPath1", "LblmidBackupPath2",
                                      "LblmidBackupPath3"};
constexpr const char* nameLabels[] = {"LblmidFileNameA", "LblmidFilenameB", "LblmidFileNameC"};

} // namespace

FrmMidiBackup::FrmMidiBackup(App& app)
    : BackupWindow(app, QStringLiteral("FrmMidiBackup"),
                   {.title = QStringLiteral("Midi Backup"),
                    .widthTwips = 4815,
                    .heightTwips = 3150,
                    .icon = "program",
                    .centred = false,
                    .inTaskBar = false}) {
    setUp(build(controls), {pathLabels, nameLabels, "CmdProceed", "CmdCancel"});
}

void FrmMidiBackup::open(Form& over, std::span<const SlotPair> slots) {
    over.app().forms().get<FrmMidiBackup>().review(over, slots);
}

} // namespace tunevane
