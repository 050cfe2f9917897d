#include "switching/FrmCopyMidi.h"

#include "app/App.h"
#include "app/Outcome.h"
#include "app/Ui.h"
#include "files/FileOps.h"
#include "help/Tutorial.h"
#include "selection/FrmMidi.h"
#include "switching/ConfirmDialogs.h"

namespace tunevane {

namespace {

const QString favouritesFolder = QStringLiteral("Favorite Midi");

SwitchLayout musicLayout() {
    return {
        .name = QStringLiteral("FrmCopyMidi"),
        .title = QStringLiteral("Tune-Vane/Background Music"),
        .widthTwips = 6990,
        .heightTwips = 2670,
        .icon = "program",
        .slotCount = 3,
        .warningText = QStringLiteral("Please be certain that the \"Selection\" entries are Game "
                                      "Files and not Replacement Midi's."),
        .warning = {465, 60, 6165, 210},
        .rowTops = {300, 940, 1600},
        .frameWidth = 2820,
        .replacementFrameLeft = 4080,
        .labelWidth = 2535,
        .gameFrameName = QStringLiteral("FrmMidiSelect%1"),
        .replacementFrameName = QStringLiteral("FrmWithMidi%1"),
        .gameNameLabel = QStringLiteral("LblFileName%1b"),
        .gamePathLabel = QStringLiteral("LblMidiGamePath%1"),
        .replacementNameLabel = QStringLiteral("LblMidiFileName%1"),
        .replacementPathLabel = QStringLiteral("LblMidiReplacePath%1"),
        .removeName = QStringLiteral("CmdMidiRemove%1"),
        .remove = {3000, 140, 975, 400},
        .buttons = {{
            {QStringLiteral("CmdMidiBackup"), {0, 2280, 3015, 375}},
            {QStringLiteral("CmdSwitch3"), {3000, 2280, 975, 375}},
            {QStringLiteral("CmdFavorites"), {3960, 2280, 1335, 375}},
            {QStringLiteral("CmdExitFrmCopyMidi"), {5280, 2280, 855, 375}},
            {QStringLiteral("CmdMidiHelp2"), {6120, 2280, 855, 375}},
        }},
        .thirdCaption = QStringLiteral("Add to Favorites"),
        .thirdToolTip = QStringLiteral("If you'd like to make a selection more easily accessible, "
                                       "click here to add it to your Favorite Midi directory."),
    };
}

} // namespace

FrmCopyMidi::FrmCopyMidi(App& app) : SwitchWindow(app, musicLayout()) {}

void FrmCopyMidi::switchFiles() {
    if (slot(1).replacementName.isEmpty()) {
        showMessage(this, QStringLiteral("File Selection Error"),
                    QStringLiteral("Please be sure that you have made a valid file selection."));
        return;
    }
    confirmSwitch(replaceGameFiles());
}

void FrmCopyMidi::thirdAction() {
    const files::ProgramFolder& folder = app().programFolder();
    // Made again here so that a folder deleted while the program runs is no failure.
    folder.makeSubfolder(favouritesFolder);
    QList<files::CopyPair> pairs;
    std::vector<SlotChoice> choices;
    for (const SlotPair& pair : sideSlots()) {
        pairs.append(
            {pair.replacementPath, folder.filePath(u"/Favorite Midi/", pair.replacementName)});
        choices.push_back({!pair.replacementPath.isEmpty(),
                           pair.replacementName.isEmpty() ? pair.gameName : pair.replacementName});
    }
    showOutcome(this,
                {QStringLiteral("Add to Favorites"), QStringLiteral("Adding to favorites"),
                 QStringLiteral("added")},
                choices, files::copyRun(pairs),
                [this] { app().forms().get<FrmFavorites>().showModeless(); });
}

// The backup and the tutorial come with their own windows.
void FrmCopyMidi::backup() {}
void FrmCopyMidi::help() {
    showTutorial(*this);
}

SelectionWindow& FrmCopyMidi::selectionWindow() {
    return app().forms().get<FrmMidi>();
}

} // namespace tunevane
