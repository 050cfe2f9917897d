// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/FrmMidi.h"

#include "app/App.h"
#include "help/FrmGameLinks.h"
#include "help/Tutorial.h"
#include "help/frmAbout.h"
#include "selection/FrmWavSelect.h"
#include "switching/FrmCopyMidi.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr Font titleFont = {"Times New Roman", 9, true};
constexpr Family slots = {.count = 3, .dy = 1320};
constexpr Family inSlots = {.count = 3};

// Here the game-file pane carries the number 2 and the replacement pane the number 1.
constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblGameMidiFilesTitle",
     .box = {120, 0, 1815, 255},
     .caption = "GAME FILES",
     .font = titleFont,
     .colour = qRgb(255, 0, 0)},
    {.kind = Kind::External,
     .name = "DrvMidi2",
     .box = {120, 240, 1815, 315},
     .tip = "Select Drive"},
    {.kind = Kind::External,
     .name = "DirMidi2",
     .box = {120, 600, 1815, 990},
     .tip = "Display's the directories on your hard drive. Access a game directory or program "
            "directory from this list."},
    {.kind = Kind::External,
     .name = "FleMidi2",
     .box = {120, 1620, 1815, 2235},
     .tip = "Choose the game files you wish to replace from this list box."},
    {.kind = Kind::Label,
     .name = "LblMidiSample1",
     .box = {480, 3840, 1095, 255},
     .caption = "Sample"},
    {.kind = Kind::Custom,
     .name = "MMControlMidi2",
     .box = {120, 4080, 1815, 330},
     .tip = "Sample game or program midi files. NOTE: To repeat a selection you must click on "
            "it again.",
     .make = makePreviewPlayer},
    {.kind = Kind::Label,
     .name = "LblReplaceMidiTitle",
     .box = {4920, 0, 2055, 255},
     .caption = "REPLACEMENT FILES",
     .font = titleFont,
     .colour = qRgb(0, 0, 255)},
    {.kind = Kind::External,
     .name = "DrvMidi1",
     .box = {5040, 240, 1815, 315},
     .tip = "Select Drive"},
    {.kind = Kind::External,
     .name = "DirMidi1",
     .box = {5040, 600, 1815, 990},
     .tip = "Display's the directories on your hard drive. Access a replacement directory or "
            "your Favorite Midi Folder from this list."},
    {.kind = Kind::External,
     .name = "FleMidi1",
     .box = {5040, 1620, 1815, 2235},
     .tip = "Choose the files you wish to use as replacements from this list box."},
    {.kind = Kind::Label,
     .name = "LblMidiSample2",
     .box = {5040, 3840, 1815, 255},
     .caption = "Sample"},
    {.kind = Kind::Custom,
     .name = "MMControlMidi1",
     .box = {5040, 4080, 1815, 330},
     .tip = "Sample replacement midi files. NOTE: To repeat a selection you must click on it "
            "again.",
     .make = makePreviewPlayer},
    {.kind = Kind::Frame,
     .name = "FramMidiSel%1",
     .box = {2040, 120, 2895, 855},
     .caption = "Selection %1",
     .tip = "Indicates Selection %1 game and replacement file choices.",
     .font = titleFont,
     .family = slots},
    {.kind = Kind::Label,
     .name = "LblGameMidi%1",
     .box = {120, 240, 2655, 255},
     .tip = "Indicates Selection %1 game and replacement file choices.",
     .in = "FramMidiSel%1",
     .family = inSlots},
    {.kind = Kind::Label,
     .name = "LblReplaceMidi%1",
     .box = {120, 480, 2655, 255},
     .in = "FramMidiSel%1",
     .family = inSlots},
    {.kind = Kind::Button,
     .name = "CmdChooseGame%1mid",
     .box = {2040, 960, 975, 375},
     .caption = "Game File",
     .tip = "Set Selection %1 game or program file choice.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdRemoveMidi%1",
     .box = {3000, 960, 975, 375},
     .caption = "Remove",
     .tip = "Clear Selection %1 choices.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdReplaceMidi%1",
     .box = {3960, 960, 975, 375},
     .caption = "Replace",
     .tip = "Set Selection %1 replacement choice.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdTunevane",
     .box = {2040, 4080, 2895, 375},
     .caption = "Next",
     .tip = "When all desired selections have been made, click here to continue."},
    {.kind = Kind::Button,
     .name = "CmdAbout",
     .box = {0, 4560, 1095, 375},
     .caption = "About",
     .tip = "About Tune-Vane"},
    {.kind = Kind::Button,
     .name = "CmdGotoWavSelect1",
     .box = {1080, 4560, 1215, 375},
     .caption = "Sound Effects",
     .tip = "Go to Tunevane-Sound Effects."},
    {.kind = Kind::Button,
     .name = "CmdMidiGames",
     .box = {2280, 4560, 1215, 375},
     .caption = "Games",
     .tip = "PC Game Download Sites"},
    {.kind = Kind::Button,
     .name = "CmdExit1",
     .box = {3480, 4560, 1215, 375},
     .caption = "Exit Program"},
    {.kind = Kind::Button,
     .name = "CmdHelpMidi",
     .box = {4680, 4560, 1215, 375},
     .caption = "Help",
     .tip = "The Tune-Vane Step-by-Step Visual Tutorial."},
};

} // namespace

FrmMidi::FrmMidi(App& app)
    : SelectionWindow(app, QStringLiteral("FrmMidi"),
                      {.title = QStringLiteral("Tune-Vane/Background Music"),
                       .widthTwips = 6990,
                       .heightTwips = 4935,
                       .icon = "program",
                       .minimisable = true}) {
    const Built built = build(controls);
    bindSelection(built, {.pattern = FilePattern::Mid,
                          .deviceType = "Sequencer",
                          .errorTitle = "Midi Selection Error",
                          .slotCount = 3,
                          .gamePane = {"DrvMidi2", "DirMidi2", "FleMidi2", "MMControlMidi2"},
                          .replacementPane = {"DrvMidi1", "DirMidi1", "FleMidi1", "MMControlMidi1"},
                          .gameLabel = "LblGameMidi%1",
                          .replacementLabel = "LblReplaceMidi%1",
                          .chooseGame = "CmdChooseGame%1mid",
                          .remove = "CmdRemoveMidi%1",
                          .chooseReplacement = "CmdReplaceMidi%1",
                          .next = "CmdTunevane"});
    const auto button = [&built](const char* name) { return built.get<QPushButton>(name); };
    connect(button("CmdGotoWavSelect1"), &QPushButton::clicked, this,
            [this, &app] { app.forms().moveOn<FrmWavSelect>(*this); });
    connect(button("CmdExit1"), &QPushButton::clicked, &app, &App::endProgram);
    connect(button("CmdAbout"), &QPushButton::clicked, this,
            [this] { this->app().forms().get<frmAbout>().showModal(*this); });
    connect(button("CmdMidiGames"), &QPushButton::clicked, this,
            [this] { this->app().forms().get<FrmGameLinks>().showModal(*this); });
    connect(button("CmdHelpMidi"), &QPushButton::clicked, this, [this] { showTutorial(*this); });
}

void FrmMidi::loadSteps() {
    SelectionWindow::loadSteps();
    // Last load step; it exists already on every load but the first, which is fine.
    app().programFolder().makeSubfolder(QStringLiteral("Favorite Midi"));
}

SwitchWindow& FrmMidi::switchWindow() {
    return app().forms().get<FrmCopyMidi>();
}

} // namespace tunevane
