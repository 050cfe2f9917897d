// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "switching/FrmCopyWavs.h"

#include "app/Ui.h"
#include "help/Tutorial.h"
#include "sets_backups/FrmSetName.h"
#include "sets_backups/FrmWavBackup.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr int rowTops[] = {300, 940, 1590, 2240, 2890, 3540};
constexpr Family slots = {.count = 6, .tops = rowTops};
constexpr Family slotLabels = {.count = 6};
constexpr Font frameFont = {"Times New Roman", 9, true};

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblSelectionRed",
     .box = {150, 60, 6195, 210},
     .caption = "Please be certain that the \"Selection\" entries are Game Files and not "
                "Replacement Wav's.",
     .font = {"Times New Roman", 8.25},
     .colour = qRgb(255, 0, 0)},
    {.kind = Kind::Frame,
     .name = "FrmReplaceGame%1",
     .box = {80, 0, 2580, 615},
     .caption = "Selection %1",
     .tip = "Indicate's Selection %1 game or program file.",
     .font = frameFont,
     .family = slots},
    {.kind = Kind::Label,
     .name = "LblFileName%1",
     .box = {120, 240, 2295, 255},
     .tip = "Indicate's Selection %1 game or program file.",
     .in = "FrmReplaceGame%1",
     .colour = qRgb(255, 0, 0),
     .family = slotLabels},
    {.kind = Kind::Label,
     .name = "LblGamePath%1",
     .box = {120, 240, 2295, 255},
     .in = "FrmReplaceGame%1",
     .visible = false,
     .family = slotLabels},
    {.kind = Kind::Frame,
     .name = "FrmWithWav%1",
     .box = {3840, 0, 2580, 615},
     .caption = "Replace with:",
     .tip = "Indicate's Selection %1 replacement file.",
     .font = frameFont,
     .family = slots},
    {.kind = Kind::Label,
     .name = "LblRepFile%1",
     .box = {120, 240, 2295, 255},
     .tip = "Indicate's Selection %1 replacement file.",
     .in = "FrmWithWav%1",
     .colour = qRgb(0, 0, 255),
     .family = slotLabels},
    {.kind = Kind::Label,
     .name = "LblReplacePath%1",
     .box = {120, 240, 2295, 255},
     .in = "FrmWithWav%1",
     .visible = false,
     .family = slotLabels},
    {.kind = Kind::Button,
     .name = "CmdClear%1",
     .box = {2760, 150, 970, 400},
     .caption = "Remove",
     .tip = "Clear Selection %1 choices.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdWavBackup",
     .box = {0, 4200, 2775, 375},
     .caption = "BACKUP ORIGINAL GAME FILES",
     .tip = "Click here to back up original game files. IMPORTANT: PLEASE SEE "
            "\"HELP\"/\"ABOUT BACKING UP ORIGINALS\""},
    {.kind = Kind::Button,
     .name = "CmdSwitch2",
     .box = {2760, 4200, 975, 375},
     .caption = "SWITCH",
     .tip = "Complete the replacement process."},
    {.kind = Kind::Button,
     .name = "CmdCreateSet",
     .box = {3720, 4200, 1095, 375},
     .caption = "Save Set",
     .tip = "Create a set with chosen replacement files for easy accessibility at a later "
            "date. REFER TO \"HELP\"/\"ABOUT SAVING SETS\""},
    {.kind = Kind::Button,
     .name = "CmdExitFrmCopyWavs",
     .box = {4800, 4200, 855, 375},
     .caption = "Close",
     .tip = "Return to previous window."},
    {.kind = Kind::Button,
     .name = "CmdWavHelp2",
     .box = {5640, 4200, 840, 375},
     .caption = "Help",
     .tip = "The Tune-Vane Step-by-Step Visual Tutorial."},
};

} // namespace

FrmCopyWavs::FrmCopyWavs(App& app)
    : SwitchWindow(app, QStringLiteral("FrmCopyWavs"),
                   {.title = QStringLiteral("Tune-Vane/Sound Effects"),
                    .widthTwips = 6480,
                    .heightTwips = 4590,
                    .icon = "program-effects",
                    .closeBox = false}) {
    const Built built = build(controls);
    bindSlots(built, {.slotCount = 6,
                      .gameName = "LblFileName%1",
                      .gamePath = "LblGamePath%1",
                      .replacementName = "LblRepFile%1",
                      .replacementPath = "LblReplacePath%1",
                      .remove = "CmdClear%1"});
    const auto button = [&built](const char* name) { return built.get<QPushButton>(name); };
    connect(button("CmdSwitch2"), &QPushButton::clicked, this, &FrmCopyWavs::switchFiles);
    connect(button("CmdExitFrmCopyWavs"), &QPushButton::clicked, this,
            &FrmCopyWavs::backToSelection);
    connect(button("CmdWavBackup"), &QPushButton::clicked, this,
            [this] { FrmWavBackup::open(*this, sideSlots()); });
    connect(button("CmdCreateSet"), &QPushButton::clicked, this,
            [this] { FrmSetName::saveSet(*this, sideSlots()); });
    connect(button("CmdWavHelp2"), &QPushButton::clicked, this, [this] { showTutorial(*this); });
    // Elsewhere a stray Space could clear a slot, copy files or leave the window.
    opensOn(button("CmdWavHelp2"));
}

void FrmCopyWavs::switchFiles() {
    if (slot(1).gameName.isEmpty()) {
        showMessage(this, QStringLiteral("File Selection Error"),
                    QStringLiteral("Please be sure that each selection is a valid filename."));
        return;
    }
    const files::RunResult run = replaceGameFiles();
    // A first copy that fails ends the switch without a word; nothing on disk has changed.
    if (run.copied == 0)
        return;
    confirmSwitch(run);
}

} // namespace tunevane
