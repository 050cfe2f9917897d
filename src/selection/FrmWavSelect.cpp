// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/FrmWavSelect.h"

#include "app/App.h"
#include "help/FrmWavGame.h"
#include "help/Tutorial.h"
#include "selection/FrmMidi.h"
#include "switching/FrmCopyWavs.h"

#include <QPushButton>

namespace tunevane {

namespace {

constexpr Font titleFont = {"Times New Roman", 9, true};
// "REPLACEMENT FILES" needs 131 pixels in Liberation Serif; its label has 129, of which 126
// lie inside the window.
constexpr Font narrowTitleFont = {"Times New Roman", 9, true, false, 95};
constexpr Family slots = {.count = 6, .columns = 2, .dx = 2590, .dy = 1320};
// The first two frames are named apart from the other four.
constexpr Family firstRow = {.count = 2, .columns = 2, .dx = 2590};
constexpr Family lowerRows = {.count = 4, .first = 3, .columns = 2, .dx = 2590, .dy = 1320};
constexpr Family inFirstRow = {.count = 2};
constexpr Family inLowerRows = {.count = 4, .first = 3};
constexpr const char* slotTip = "Indicates Selection %1 game and replacement file choices.";

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblGameFilesTitle",
     .box = {0, 0, 1815, 255},
     .caption = "GAME FILES",
     .tip = "Game or program files are displayed in red.",
     .font = titleFont,
     .colour = qRgb(255, 0, 0)},
    {.kind = Kind::External, .name = "DrvWav1", .box = {0, 240, 1815, 315}, .tip = "Select Drive"},
    {.kind = Kind::External,
     .name = "DirWav1",
     .box = {0, 600, 1815, 990},
     .tip = "Display's the directories on your hard drive. Access a game directory or program "
            "directory from this list."},
    {.kind = Kind::External,
     .name = "FleWav1",
     .box = {0, 1620, 1815, 2235},
     .tip = "Choose the game files you wish to replace from this list box."},
    {.kind = Kind::Label,
     .name = "LblSampleWav1",
     .box = {0, 3840, 1815, 255},
     .caption = "Sample"},
    {.kind = Kind::Custom,
     .name = "MMControlWav1",
     .box = {10, 4080, 1780, 375},
     .tip = "Sample game or program wav files. NOTE: To repeat a selection you must click on "
            "it again.",
     .make = makePreviewPlayer},
    {.kind = Kind::Label,
     .name = "LblReplaceTitle",
     .box = {6930, 0, 1935, 255},
     .caption = "REPLACEMENT FILES",
     .tip = "Replacement files are displayed in blue.",
     .font = narrowTitleFont,
     .colour = qRgb(0, 0, 255)},
    {.kind = Kind::External,
     .name = "DrvWav2",
     .box = {7010, 240, 1815, 315},
     .tip = "Select Drive"},
    {.kind = Kind::External,
     .name = "DirWav2",
     .box = {7010, 600, 1815, 990},
     .tip = "Display's the directories on your hard drive. Access a replacement directory or an "
            "Effects Set from this list."},
    {.kind = Kind::External,
     .name = "FleWav2",
     .box = {7010, 1620, 1815, 2235},
     .tip = "Choose the files you wish to use as replacements from this list box."},
    {.kind = Kind::Label,
     .name = "LblSampleWav2",
     .box = {7005, 3840, 1815, 255},
     .caption = "Sample"},
    {.kind = Kind::Custom,
     .name = "MMControlWav2",
     .box = {7030, 4080, 1780, 375},
     .tip = "Sample replacement wav files. NOTE: To repeat a selection you must click on it "
            "again.",
     .make = makePreviewPlayer},
    {.kind = Kind::Frame,
     .name = "FrmSelectionTitle%1",
     .box = {1850, 120, 2535, 855},
     .caption = "Selection %1",
     .tip = slotTip,
     .font = titleFont,
     .family = firstRow},
    {.kind = Kind::Frame,
     .name = "Frame%1",
     .box = {1850, 1440, 2535, 855},
     .caption = "Selection %1",
     .tip = slotTip,
     .font = titleFont,
     .family = lowerRows},
    {.kind = Kind::Label,
     .name = "LblGameWav%1",
     .box = {120, 240, 2295, 255},
     .tip = slotTip,
     .in = "FrmSelectionTitle%1",
     .family = inFirstRow},
    {.kind = Kind::Label,
     .name = "LblGameWav%1",
     .box = {120, 240, 2295, 255},
     .tip = slotTip,
     .in = "Frame%1",
     .family = inLowerRows},
    {.kind = Kind::Label,
     .name = "LblReplaceWav%1",
     .box = {120, 480, 2295, 255},
     .in = "FrmSelectionTitle%1",
     .family = inFirstRow},
    {.kind = Kind::Label,
     .name = "LblReplaceWav%1",
     .box = {120, 480, 2295, 255},
     .in = "Frame%1",
     .family = inLowerRows},
    {.kind = Kind::Button,
     .name = "CmdChooseGame%1",
     .box = {1850, 960, 855, 375},
     .caption = "Game File",
     .tip = "Set Selection %1 game or program file choice.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdRemove%1",
     .box = {2690, 960, 855, 375},
     .caption = "Remove",
     .tip = "Clear Selection %1 choices.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdReplaceWav%1",
     .box = {3530, 960, 855, 375},
     .caption = "Replace",
     .tip = "Set Selection %1 replacement choice.",
     .family = slots},
    {.kind = Kind::Button,
     .name = "CmdSwitch",
     .box = {1850, 4080, 5140, 375},
     .caption = "Next",
     .tip = "When all desired selections have been made, click here to continue."},
    {.kind = Kind::Button,
     .name = "CmdQuit2",
     .box = {0, 4560, 1950, 375},
     .caption = "Close",
     .tip = "Return to Tunevane-Background Music"},
    {.kind = Kind::Button,
     .name = "CmdWavGames",
     .box = {1930, 4560, 2500, 375},
     .caption = "Games",
     .tip = "PC Game Download Sites"},
    {.kind = Kind::Button,
     .name = "CmdExitProgWav",
     .box = {4420, 4560, 2500, 375},
     .caption = "Exit Program"},
    {.kind = Kind::Button,
     .name = "CmdWavHelp1",
     .box = {6910, 4560, 1900, 375},
     .caption = "Help",
     .tip = "The Tune-Vane Step-by-Step Visual Tutorial."},
};

} // namespace

FrmWavSelect::FrmWavSelect(App& app)
    : SelectionWindow(app, QStringLiteral("FrmWavSelect"),
                      {.title = QStringLiteral("Tune-Vane/Sound Effects"),
                       .widthTwips = 8820,
                       .heightTwips = 4935,
                       .icon = "program-effects",
                       .minimisable = true}) {
    const Built built = build(controls);
    bindSelection(built, {.pattern = FilePattern::Wav,
                          .deviceType = "WaveAudio",
                          .errorTitle = "Wav Selection Error",
                          .slotCount = 6,
                          .gamePane = {"DrvWav1", "DirWav1", "FleWav1", "MMControlWav1"},
                          .replacementPane = {"DrvWav2", "DirWav2", "FleWav2", "MMControlWav2"},
                          .gameLabel = "LblGameWav%1",
                          .replacementLabel = "LblReplaceWav%1",
                          .chooseGame = "CmdChooseGame%1",
                          .remove = "CmdRemove%1",
                          .chooseReplacement = "CmdReplaceWav%1",
                          .next = "CmdSwitch"});
    const auto button = [&built](const char* name) { return built.get<QPushButton>(name); };
    connect(button("CmdQuit2"), &QPushButton::clicked, this,
            [this, &app] { app.forms().moveOn<FrmMidi>(*this); });
    connect(button("CmdExitProgWav"), &QPushButton::clicked, &app, &App::endProgram);
    connect(button("CmdWavGames"), &QPushButton::clicked, this,
            [this] { this->app().forms().get<FrmWavGame>().showModal(*this); });
    connect(button("CmdWavHelp1"), &QPushButton::clicked, this, [this] { showTutorial(*this); });
}

SwitchWindow& FrmWavSelect::switchWindow() {
    return app().forms().get<FrmCopyWavs>();
}

} // namespace tunevane
