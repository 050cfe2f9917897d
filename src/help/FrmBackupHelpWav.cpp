// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmBackupHelpWav.h"

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Picture, .name = "ImgWavBackup", .box = {0, 20, 5145, 3870}},
    {.kind = Kind::Picture, .name = "ImgSetName2", .box = {5220, 20, 3975, 2130}},
    {.kind = Kind::Frame,
     .name = "FramNote",
     .box = {10, 3960, 5145, 1700},
     .caption = "Note:",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblNote",
     .box = {60, 285, 5025, 1365},
     .caption = "When using backup, it isn't necessary to be in the \"Switch\" process in order "
                "to backup your files. If you like, you can backup your game files ahead of "
                "time. Just go through the steps set forth previously, but do not add "
                "replacement files to the list. Select game files only. Click  \"Next\" and "
                "you'll  be brought to the backup completion mode just as you would if you had "
                "selected replacement files.",
     .in = "FramNote",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramBackup",
     .box = {5220, 2190, 3975, 3060},
     .caption = "Backup",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblBackup",
     .box = {60, 285, 3855, 2730},
     .caption = "It is extremely important that you back up your original game files so you "
                "don't permanently lose them when you make the switch. The Tunevane wav backup "
                "allows for the backup of 6 files at a time and stores them in the Tunevane "
                "program directory into a folder which you name. It is also CRITICAL that when "
                "you choose to use the backup option for a particular game, that you backup all "
                "files at the same time. To protect your originals from ever being overwritten a "
                "backup can only be performed once. If you need to backup more files for the "
                "same game, you will need to give the second backup folder a different name, "
                "similar to the original. (BJackWavbck1 and BJackWavbck2)",
     .in = "FramBackup",
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdBackupHelpWav",
     .box = {5220, 5280, 3975, 360},
     .caption = "OK"},
};

constexpr PagePicture pictures[] = {
    {.control = "ImgWavBackup", .file = "wav-backup", .width = 343, .height = 258},
    {.control = "ImgSetName2", .file = "wav-backup-name", .width = 265, .height = 142},
};

const PageLayout thisPage = {.name = "FrmBackupHelpWav",
                             .title = "The Tune-Vane Step-by-Step Visual Tutorial",
                             .widthTwips = 9210,
                             .heightTwips = 5685,
                             .icon = "program-effects",
                             .controls = controls,
                             .pictures = pictures,
                             .lines = {}};

} // namespace

FrmBackupHelpWav::FrmBackupHelpWav(App& app) : TutorialPage(app, thisPage) {
    closeOn("CmdBackupHelpWav");
}

const PageLayout& FrmBackupHelpWav::page() {
    return thisPage;
}

} // namespace tunevane
