// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "switching/FrmCopyMidi.h"

#include "app/App.h"
#include "app/Outcome.h"
#include "app/Ui.h"
#include "files/FileOps.h"
#include "help/Tutorial.h"
#include "sets_backups/FrmMidiBackup.h"
#include "switching/FrmFavorites.h"

#include <QPushButton>

namespace tunevane {

namespace {

const QString favouritesFolder = QStringLiteral("Favorite Midi");

constexpr int rowTops[] = {300, 940, 1600};
constexpr Family slots = {.count = 3, .tops = rowTops};
constexpr Family slotLabels = {.count = 3};
constexpr Font frameFont = {"Times New Roman", 9, true};

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblSelectionRed",
     .box = {465, 60, 6165, 210},
     .caption = "Please be certain that the \"Selection\" entries are Game Files and not "
                "Replacement Midi's.",
     .font = {"Times New Roman", 8.25},
     .colour = qRgb(255, 0, 0)},
    {.kind = Kind::Frame,
     .name = "FrmMidiSelect%1",
     .box = {80, 0, 2820, 615},
     .caption = "Selection %1",
     .tip = "Indicate's Selection %1 game or program file.",
     .font = frameFont,
     .family = slots},
    {.kind = Kind::Label,
     .name = "LblFileName%1b",
     .box = {120, 240, 2535, 255},
     .tip = "Indicate's Selection %1 game or program file.",
     .in = "FrmMidiSelect%1",
     .colour = qRgb(255, 0, 0),
     .family = slotLabels},
    {.kind = Kind::Label,
     .name = "LblMidiGamePath%1",
     .box = {120, 240, 2535, 255},
     .in = "FrmMidiSelect%1",
     .visible = false,
     .family = slotLabels},
    {.kind = Kind::Frame,
     .name = "FrmWithMidi%1",
     .box = {4080, 0, 2820, 615},
     .caption = "Replace with:",
     .tip = "Indicate's Selection %1 replacement file.",
     .font = frameFont,
     .family = slots},
    {.kind = Kind::Label,
     .name = "LblMidiFileName%1",
     .box = {120, 240, 2535, 255},
     .tip = "Indicate's Selection %1 replacement file.",
     .in = "FrmWithMidi%1",
     .colour = qRgb(0, 0, 255),
     .family = slotLabels},
    {.kind = Kind::Label,
     .name = "LblMidiReplacePath%1",
     .box = {120, 240, 2535, 255},
     .in = "FrmWithMidi%1",
     .visible = false,
     .family = slotLabels},
    {.kind = Kind::Button,
     .name = "CmdMidiRemove%1",
     .box = {3000, 140, 975, 400},
     .caption = "Remove",
     .tip = "Clear Selection %1 choices.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdMidiBackup",
     .box = {0, 2280, 3015, 375},
     .caption = "BACKUP ORIGINAL GAME FILES",
     .tip = "Click here to back up original game files. IMPORTANT: PLEASE SEE "
            "\"HELP\"/\"ABOUT BACKING UP ORIGINALS\""},
    {.kind = Kind::Button,
     .name = "CmdSwitch3",
     .box = {3000, 2280, 975, 375},
     .caption = "SWITCH",
     .tip = "Complete the replacement process."},
    {.kind = Kind::Button,
     .name = "CmdFavorites",
     .box = {3960, 2280, 1335, 375},
     .caption = "Add to Favorites",
     .tip = "If you'd like to make a selection more easily accessible, click here to add it to "
            "your Favorite Midi directory."},
    {.kind = Kind::Button,
     .name = "CmdExitFrmCopyMidi",
     .box = {5280, 2280, 855, 375},
     .caption = "Close",
     .tip = "Return to previous window."},
    {.kind = Kind::Button,
     .name = "CmdMidiHelp2",
     .box = {6120, 2280, 855, 375},
     .caption = "Help",
     .tip = "The Tune-Vane Step-by-Step Visual Tutorial."},
};

} // namespace

FrmCopyMidi::FrmCopyMidi(App& app)
    : SwitchWindow(app, QStringLiteral("FrmCopyMidi"),
                   {.title = QStringLiteral("Tune-Vane/Background Music"),
                    .widthTwips = 6990,
                    .heightTwips = 2670,
                    .icon = "program",
                    .closeBox = false}) {
    const Built built = build(controls);
    bindSlots(built, {.slotCount = 3,
                      .gameName = "LblFileName%1b",
                      .gamePath = "LblMidiGamePath%1",
                      .replacementName = "LblMidiFileName%1",
                      .replacementPath = "LblMidiReplacePath%1",
                      .remove = "CmdMidiRemove%1"});
    const auto button = [&built](const char* name) { return built.get<QPushButton>(name); };
    connect(button("CmdSwitch3"), &QPushButton::clicked, this, &FrmCopyMidi::switchFiles);
    connect(button("CmdFavorites"), &QPushButton::clicked, this, &FrmCopyMidi::addToFavorites);
    connect(button("CmdExitFrmCopyMidi"), &QPushButton::clicked, this,
            &FrmCopyMidi::backToSelection);
    connect(button("CmdMidiBackup"), &QPushButton::clicked, this,
            [this] { FrmMidiBackup::open(*this, sideSlots()); });
    connect(button("CmdMidiHelp2"), &QPushButton::clicked, this, [this] { showTutorial(*this); });
    // Elsewhere a stray Space could clear a slot, copy files or leave the window.
    opensOn(button("CmdMidiHelp2"));
}

void FrmCopyMidi::switchFiles() {
    if (slot(1).replacementName.isEmpty()) {
        showMessage(this, QStringLiteral("File Selection Error"),
                    QStringLiteral("Please be sure that you have made a valid file selection."));
        return;
    }
    confirmSwitch(replaceGameFiles());
}

void FrmCopyMidi::addToFavorites() {
    const files::ProgramFolder& folder = app().programFolder();
    // Made again here so that a folder deleted while the program runs is no failure.
    folder.makeSubfolder(favouritesFolder);
    QList<files::CopyPair> pairs;
    std::vector<SlotChoice> choices;
    for (const SlotPair& pair : sideSlots()) {
        pairs.append(
            {pair.replacementPath, folder.filePath(u"/Favorite Midi/", pair.replacementName)});
        choices.push_back({!pair.replacementPath.isEmpty(),
                           pair.replacementName.isEmpty() ? pair.gameName : pair.replacementName,
                           pair.replacementName});
    }
    showConfirmation<FrmFavorites>({QStringLiteral("Add to Favorites"),
                                    QStringLiteral("Adding to favorites"), QStringLiteral("added"),
                                    Copying::ReplacementsIntoFavorites},
                                   choices, files::copyRun(pairs));
}

} // namespace tunevane
