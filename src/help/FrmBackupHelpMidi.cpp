// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/FrmBackupHelpMidi.h"

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Picture, .name = "ImgMidiBackup", .box = {75, 40, 4740, 3015}},
    {.kind = Kind::Picture, .name = "ImgSetName2", .box = {4920, 40, 3975, 2460}},
    {.kind = Kind::Frame,
     .name = "FramNote",
     .box = {80, 3100, 4740, 1935},
     .caption = "Note:",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblNote",
     .box = {60, 285, 4620, 1605},
     .caption = "When using backup, it is not necessary to be in the \"Switch\" process in order "
                "to backup your files. If you like, you can backup all of your game files ahead "
                "of time. Just go through the steps set forth previously but do not add "
                "replacement files to the list. Select only game files. Click on \"Next\" and "
                "you'll  be brought to the backup completion mode just as you would if you had "
                "selected replacement files.",
     .in = "FramNote",
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "FramBackup",
     .box = {4920, 2540, 3975, 3135},
     .caption = "Backup",
     .font = boxCaptionFont},
    {.kind = Kind::Label,
     .name = "LblBackup",
     .box = {60, 285, 3855, 2805},
     .caption = "It is extremely important that you back up your original game files so you "
                "don't permanently lose them when you make the switch. The Tunevane midi backup "
                "allows for the backup of 3 files at a time and stores them in the Tunevane "
                "program directory into a folder which you name.  It is also CRITICAL that when "
                "you choose to use the backup option for a particular game, that you backup all "
                "files at the same time. To protect your originals from ever being overwritten a "
                "backup can only be performed one time. If you need to backup more files for the "
                "same game, you will need to give the second backup folder a different name, "
                "similar to the original. (BJackMidibck1 and BJackMidibck2)",
     .in = "FramBackup",
     .wrap = true},
    {.kind = Kind::Button,
     .name = "CmdBackupHelpMidi",
     .box = {80, 5160, 4740, 495},
     .caption = "OK"},
};

constexpr PagePicture pictures[] = {
    {.control = "ImgMidiBackup", .file = "midi-backup", .width = 316, .height = 201},
    {.control = "ImgSetName2", .file = "midi-backup-name", .width = 265, .height = 164},
};

const PageLayout thisPage = {.name = "FrmBackupHelpMidi",
                             .title = "The Tune-Vane Step-by-Step Visual Tutorial",
                             .widthTwips = 8955,
                             .heightTwips = 5700,
                             .icon = "program",
                             .inTaskBar = false,
                             .controls = controls,
                             .pictures = pictures,
                             .lines = {}};

} // namespace

FrmBackupHelpMidi::FrmBackupHelpMidi(App& app) : TutorialPage(app, thisPage) {
    closeOn("CmdBackupHelpMidi");
}

const PageLayout& FrmBackupHelpMidi::page() {
    return thisPage;
}

} // namespace tunevane
