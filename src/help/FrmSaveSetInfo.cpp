// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmSaveSetInfo.h"

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label, .name = "LblFigure1", .box = {120, 0, 3735, 225}, .caption = "Figure 1"},
    {.kind = Kind::Picture, .name = "ImgFigure1", .box = {0, 240, 3795, 2460}},
    {.kind = Kind::Label,
     .name = "LblFigure2",
     .box = {120, 2720, 3735, 225},
     .caption = "Figure 2"},
    {.kind = Kind::Picture, .name = "ImgFigure2", .box = {0, 2960, 3795, 2460}},
    {.kind = Kind::Frame,
     .name = "FramUsingSets",
     .box = {3840, 0, 5655, 2715},
     .caption = "Using Sets",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblUsingSets",
     .box = {60, 285, 5535, 2385},
     .caption = "You'll notice by looking at Figures 1 and 2, that the set that was saved "
                "(Figure 2) and the actual game directory,  (Figure 1) both contain the same file "
                "names. This makes it easy to switch the files when you'd like to use the set "
                "again. Sets are created using the original file names and added to a directory "
                "which you name. The set directory is kept in the Tunevane program directory for "
                "easy access at a later date. When you'd like to use the set again, just select "
                "the 1st file in the replacement list and click on \"Selection 1/ Replace\", then "
                "select the corresponding file in the game list and click on \"Selection 1/Game "
                "File\". Continue the process with the remaining files in your set until all "
                "desired selections have been made. Then move on with the \"Next\" button to "
                "complete the replacement process.",
     .in = "FramUsingSets",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramNamingSets",
     .box = {3840, 2760, 5655, 2055},
     .caption = "Naming Sets",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblNamingSets1",
     .box = {60, 285, 5535, 1035},
     .caption = "Be sure to add the name of the game you're saving the set for to the set name.  "
                "Otherwise when you decide to use the set at a later date, you most likely won't "
                "remember which game you saved it for.  Figure 2 gives you one example of how you "
                "can reference the game in the set name making it easy to select the set when you "
                "would like to use it later.",
     .in = "FramNamingSets",
     .wrap = true},
    {.kind = Kind::Label,
     .name = "LblNamingSets2",
     .box = {60, 1335, 5535, 690},
     .caption = "\"MrPatt\" identifies the game to which the set belongs, and \"TZone\" uses a key "
                "word to describe one key characteristic about the set. Such as one specific "
                "sound effect that stands out above the others.",
     .in = "FramNamingSets",
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdSetSaveInfoOK",
     .box = {3840, 4920, 5655, 495},
     .caption = "OK"},
};

constexpr PagePicture pictures[] = {
    {.control = "ImgFigure1", .file = "set-game-folder", .width = 249, .height = 160},
    {.control = "ImgFigure2", .file = "set-saved-set", .width = 249, .height = 160},
};

const PageLayout thisPage = {.name = "FrmSaveSetInfo",
                             .title = "The Tune-Vane Step-by-Step Visual Tutorial",
                             .widthTwips = 9510,
                             .heightTwips = 5490,
                             .icon = "help",
                             .controls = controls,
                             .pictures = pictures,
                             .lines = {}};

} // namespace

FrmSaveSetInfo::FrmSaveSetInfo(App& app) : TutorialPage(app, thisPage) {
    closeOn("CmdSetSaveInfoOK");
}

const PageLayout& FrmSaveSetInfo::page() {
    return thisPage;
}

} // namespace tunevane
