// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmMidiHelp2.h"

#include "help/FrmBackupHelpMidi.h"

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Picture, .name = "ImgCopyMidi", .box = {120, 1320, 6435, 3045}},
    {.kind = Kind::Frame,
     .name = "FramStep1",
     .box = {120, 0, 2775, 855},
     .caption = "Step 1",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep1",
     .box = {60, 285, 2655, 255},
     .caption = "Click here to backup  game files.",
     .in = "FramStep1",
     .wrap = true},
    {.kind = Kind::Label,
     .name = "LblStep1Note",
     .box = {60, 540, 2655, 255},
     .caption = "(USE ONLY WITH ORIGINALS!)",
     .in = "FramStep1",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep2",
     .box = {3000, 0, 2535, 1215},
     .caption = "Step 2",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep2",
     .box = {60, 285, 2415, 885},
     .caption = "Click here to complete the replacement process.",
     .in = "FramStep2",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep3",
     .box = {5640, 0, 3615, 1215},
     .caption = "Step 3",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep3",
     .box = {60, 285, 3495, 885},
     .caption = "When adding files to favorites, click either one of the three  \"Remove\"  "
                "buttons to clear an unwanted selection from the list.",
     .in = "FramStep3",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep4",
     .box = {6720, 1380, 2535, 1515},
     .caption = "Step 4",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep4",
     .box = {60, 285, 2415, 1185},
     .caption = "If desired, click here to add a replacement midi file to the Favorite Midi "
                "directory. (Selections shown in blue)",
     .in = "FramStep4",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramStep5",
     .box = {6720, 3020, 2535, 1080},
     .caption = "Step 5",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblStep5",
     .box = {60, 285, 2415, 750},
     .caption = "Click here to return to previous window. ",
     .in = "FramStep5",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramGameLabel",
     .box = {120, 4360, 3255, 615},
     .caption = "Game Label",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblGameLabel",
     .box = {60, 285, 3135, 285},
     .caption = "Indicates selected game or program files.",
     .in = "FramGameLabel",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramReplacementLabel",
     .box = {3480, 4360, 3135, 615},
     .caption = "Replacement Label",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblReplacementLabel",
     .box = {60, 285, 3015, 285},
     .caption = "Indicates selected replacement files.",
     .in = "FramReplacementLabel",
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdAboutBackup1",
     .box = {120, 840, 2775, 375},
     .caption = "About Backing Up Originals"},
    {.kind = Kind::Button,
     .name = "CmdMidiHelpOK2",
     .box = {6720, 4440, 2535, 540},
     .caption = "OK"},
};

constexpr PagePicture pictures[] = {
    {.control = "ImgCopyMidi", .file = "midi-switch", .width = 429, .height = 203},
};

constexpr PointerLine lines[] = {
    {"Step 1", "CmdMidiBackup"},
    {"Step 2", "CmdSwitch3"},
    {"Step 3", "CmdMidiRemove1"},
    {"Step 4", "CmdFavorites"},
    {"Step 5", "CmdExitFrmCopyMidi"},
    {"Game Label", "LblFileName3b"},
    {"Replacement Label", "LblMidiFileName3"},
};

const PageLayout thisPage = {.name = "FrmMidiHelp2",
                             .title = "Tune-Vane Step-by-Step Visual Tutorial",
                             .widthTwips = 9360,
                             .heightTwips = 5100,
                             .icon = "help",
                             .controls = controls,
                             .pictures = pictures,
                             .lines = lines};

} // namespace

FrmMidiHelp2::FrmMidiHelp2(App& app) : TutorialPage(app, thisPage) {
    openOn<FrmBackupHelpMidi>("CmdAboutBackup1");
    closeOn("CmdMidiHelpOK2");
}

const PageLayout& FrmMidiHelp2::page() {
    return thisPage;
}

} // namespace tunevane
