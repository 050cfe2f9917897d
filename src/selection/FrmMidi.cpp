#include "selection/FrmMidi.h"

#include "app/App.h"
#include "app/Ui.h"
#include "switching/FrmCopyMidi.h"

namespace tunevane {

namespace {

SelectionLayout musicLayout() {
    SelectionLayout layout;
    layout.name = QStringLiteral("FrmMidi");
    layout.title = QStringLiteral("Tune-Vane/Background Music");
    layout.widthTwips = 6990;
    layout.icon = "program";
    layout.pattern = FilePattern::Mid;
    layout.deviceType = QStringLiteral("Sequencer");
    // Here the game-file pane carries the number 2 and the replacement pane the number 1.
    layout.gamePane = {
        .names = {QStringLiteral("DrvMidi2"), QStringLiteral("DirMidi2"),
                  QStringLiteral("FleMidi2")},
        .left = 120,
        .tips = {QStringLiteral("Display's the directories on your hard drive. Access a game "
                                "directory or program directory from this list."),
                 QStringLiteral("Choose the game files you wish to replace from this list box.")},
        .titleName = QStringLiteral("LblGameMidiFilesTitle"),
        .titleText = QStringLiteral("GAME FILES"),
        .titleTip = {},
        .title = {120, 0, 1815, 255},
        .titleColour = gameRed,
        .sampleName = QStringLiteral("LblMidiSample1"),
        .sample = {480, 3840, 1095, 255},
        .playerName = QStringLiteral("MMControlMidi2"),
        .playerTip = QStringLiteral("Sample game or program midi files. NOTE: To repeat a "
                                    "selection you must click on it again."),
        .player = {120, 4080, 1815, 330}};
    layout.replacementPane = {
        .names = {QStringLiteral("DrvMidi1"), QStringLiteral("DirMidi1"),
                  QStringLiteral("FleMidi1")},
        .left = 5040,
        .tips = {QStringLiteral("Display's the directories on your hard drive. Access a "
                                "replacement directory or your Favorite Midi Folder from this "
                                "list."),
                 QStringLiteral(
                     "Choose the files you wish to use as replacements from this list box.")},
        .titleName = QStringLiteral("LblReplaceMidiTitle"),
        .titleText = QStringLiteral("REPLACEMENT FILES"),
        .titleTip = {},
        .title = {4920, 0, 2055, 255},
        .titleColour = replacementBlue,
        .sampleName = QStringLiteral("LblMidiSample2"),
        .sample = {5040, 3840, 1815, 255},
        .playerName = QStringLiteral("MMControlMidi1"),
        .playerTip = QStringLiteral("Sample replacement midi files. NOTE: To repeat a selection "
                                    "you must click on it again."),
        .player = {5040, 4080, 1815, 330}};
    layout.gamePlayerIsFirst = false;

    // One column of three slots between the panes.
    for (int n = 1; n <= 3; ++n) {
        const int top = 120 + 1320 * (n - 1);
        const int buttonsTop = top + 840;
        layout.slots.push_back({.frameName = QStringLiteral("FramMidiSel%1").arg(n),
                                .frame = {2040, top, 2895, 855},
                                .chooseGameName = QStringLiteral("CmdChooseGame%1mid").arg(n),
                                .removeName = QStringLiteral("CmdRemoveMidi%1").arg(n),
                                .chooseReplacementName = QStringLiteral("CmdReplaceMidi%1").arg(n),
                                .chooseGame = {2040, buttonsTop, 975, 375},
                                .remove = {3000, buttonsTop, 975, 375},
                                .chooseReplacement = {3960, buttonsTop, 975, 375}});
    }
    layout.gameLabelName = QStringLiteral("LblGameMidi%1");
    layout.replacementLabelName = QStringLiteral("LblReplaceMidi%1");
    layout.slotLabelWidth = 2655;
    layout.errorTitle = QStringLiteral("Midi Selection Error");
    layout.nextName = QStringLiteral("CmdTunevane");
    layout.next = {2040, 4080, 2895, 375};
    layout.nextCloseCommand = QStringLiteral("close");
    layout.nextEmptiesReplacementsFirst = false;
    layout.nav = {
        {QStringLiteral("CmdAbout"), QStringLiteral("About"), QStringLiteral("About Tune-Vane"), 0,
         1095, NavAction::About},
        {QStringLiteral("CmdGotoWavSelect1"), QStringLiteral("Sound Effects"),
         QStringLiteral("Go to Tunevane-Sound Effects."), 1080, 1215, NavAction::ToEffects},
        {QStringLiteral("CmdMidiGames"), QStringLiteral("Games"),
         QStringLiteral("PC Game Download Sites"), 2280, 1215, NavAction::Games},
        {QStringLiteral("CmdExit1"),
         QStringLiteral("Exit Program"),
         {},
         3480,
         1215,
         NavAction::Exit},
        {QStringLiteral("CmdHelpMidi"), QStringLiteral("Help"),
         QStringLiteral("The Tune-Vane Step-by-Step Visual Tutorial."), 4680, 1215,
         NavAction::Help},
    };
    return layout;
}

} // namespace

FrmMidi::FrmMidi(App& app) : SelectionWindow(app, musicLayout()) {}

void FrmMidi::loadSteps() {
    SelectionWindow::loadSteps();
    // Last load step; it exists already on every load but the first, which is fine.
    app().programFolder().makeSubfolder(QStringLiteral("Favorite Midi"));
}

SwitchWindow& FrmMidi::switchWindow() {
    return app().forms().get<FrmCopyMidi>();
}

} // namespace tunevane
