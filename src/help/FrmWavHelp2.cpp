// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmWavHelp2.h"

#include "help/FrmBackupHelpWav.h"
#include "help/FrmSaveSetInfo.h"

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Picture, .name = "ImgCopyWavs", .box = {0, 1200, 5205, 4215}},
    {.kind = Kind::Frame,
     .name = "FramStep1",
     .box = {120, 0, 2775, 700},
     .caption = "Step 1",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep1",
     .box = {60, 285, 2655, 195},
     .caption = "Click here to backup  game files.",
     .in = "FramStep1",
     .wrap = true},
    {.kind = Kind::Label,
     .name = "LblStep1Note",
     .box = {60, 480, 2655, 195},
     .caption = "(USE ONLY WITH ORIGINALS!)",
     .in = "FramStep1",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep2",
     .box = {3000, 0, 2175, 1095},
     .caption = "Step 2",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep2",
     .box = {60, 285, 2055, 765},
     .caption = "Click here to complete the replacement process.",
     .in = "FramStep2",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep3",
     .box = {5280, 0, 2775, 1095},
     .caption = "Step 3",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep3",
     .box = {60, 285, 2655, 765},
     .caption = "Click either one of the six  \"Remove\"  buttons to clear any unwanted "
                "selections from the list.",
     .in = "FramStep3",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep4",
     .box = {5280, 1160, 2775, 1080},
     .caption = "Step 4",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep4",
     .box = {60, 270, 2655, 780},
     .caption = "If you're happy with the current chosen set and would like to use it again "
                "later for the same game, click here to save the set.",
     .in = "FramStep4",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep5",
     .box = {5280, 2660, 2775, 700},
     .caption = "Step 5",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep5",
     .box = {60, 270, 2655, 390},
     .caption = "Click here to return to previous window. ",
     .in = "FramStep5",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramGameLabel",
     .box = {5280, 3440, 2775, 600},
     .caption = "Game Label",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblGameLabel",
     .box = {60, 285, 2655, 270},
     .caption = "Identifies selected game  file.",
     .in = "FramGameLabel",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramReplacementLabel",
     .box = {5280, 4140, 2775, 600},
     .caption = "Replacement Label",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblReplacementLabel",
     .box = {60, 285, 2655, 270},
     .caption = "Indicates selected replacement file.",
     .in = "FramReplacementLabel",
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdAboutBackup2",
     .box = {120, 690, 2775, 370},
     .caption = "About Backing Up Originals"},
    {.kind = Kind::Button,
     .name = "CmdSaveSetsInfo",
     .box = {5280, 2220, 2775, 380},
     .caption = "About Saving Sets"},
    {.kind = Kind::Button,
     .name = "CmdWavHelp2OK",
     .box = {5280, 4920, 2775, 495},
     .caption = "OK"},
};

constexpr PagePicture pictures[] = {
    {.control = "ImgCopyWavs", .file = "wav-switch", .width = 347, .height = 281},
};

constexpr PointerLine lines[] = {
    {"Step 1", "CmdWavBackup"},
    {"Step 2", "CmdSwitch2"},
    {"Step 3", "CmdClear1"},
    {"Step 4", "CmdCreateSet"},
    {"Step 5", "CmdExitFrmCopyWavs"},
    {"Game Label", "LblFileName6"},
    {"Replacement Label", "LblRepFile6"},
};

const PageLayout thisPage = {.name = "FrmWavHelp2",
                             .title = "The Tune-Vane Step-by-Step Visual Tutorial",
                             .widthTwips = 8115,
                             .heightTwips = 5475,
                             .icon = "help",
                             .controls = controls,
                             .pictures = pictures,
                             .lines = lines};

} // namespace

FrmWavHelp2::FrmWavHelp2(App& app) : TutorialPage(app, thisPage) {
    openOn<FrmBackupHelpWav>("CmdAboutBackup2");
    openOn<FrmSaveSetInfo>("CmdSaveSetsInfo");
    closeOn("CmdWavHelp2OK");
}

const PageLayout& FrmWavHelp2::page() {
    return thisPage;
}

} // namespace tunevane
