#include "selection/FrmWavSelect.h"

#include "app/App.h"
#include "app/Ui.h"
#include "switching/FrmCopyWavs.h"

namespace tunevane {

namespace {

SelectionLayout effectsLayout() {
    SelectionLayout layout;
    layout.name = QStringLiteral("FrmWavSelect");
    layout.title = QStringLiteral("Tune-Vane/Sound Effects");
    layout.widthTwips = 8820;
    layout.icon = "program-effects";
    layout.pattern = FilePattern::Wav;
    layout.deviceType = QStringLiteral("WaveAudio");
    layout.gamePane = {
        .names = {QStringLiteral("DrvWav1"), QStringLiteral("DirWav1"), QStringLiteral("FleWav1")},
        .left = 0,
        .tips = {QStringLiteral("Display's the directories on your hard drive. Access a game "
                                "directory or program directory from this list."),
                 QStringLiteral("Choose the game files you wish to replace from this list box.")},
        .titleName = QStringLiteral("LblGameFilesTitle"),
        .titleText = QStringLiteral("GAME FILES"),
        .titleTip = QStringLiteral("Game or program files are displayed in red."),
        .title = {0, 0, 1815, 255},
        .titleColour = gameRed,
        .sampleName = QStringLiteral("LblSampleWav1"),
        .sample = {0, 3840, 1815, 255},
        .playerName = QStringLiteral("MMControlWav1"),
        .playerTip = QStringLiteral("Sample game or program wav files. NOTE: To repeat a "
                                    "selection you must click on it again."),
        .player = {10, 4080, 1780, 375}};
    layout.replacementPane = {
        .names = {QStringLiteral("DrvWav2"), QStringLiteral("DirWav2"), QStringLiteral("FleWav2")},
        .left = 7010,
        .tips = {QStringLiteral("Display's the directories on your hard drive. Access a "
                                "replacement directory or an Effects Set from this list."),
                 QStringLiteral(
                     "Choose the files you wish to use as replacements from this list box.")},
        .titleName = QStringLiteral("LblReplaceTitle"),
        .titleText = QStringLiteral("REPLACEMENT FILES"),
        .titleTip = QStringLiteral("Replacement files are displayed in blue."),
        .title = {6930, 0, 1935, 255},
        .titleColour = replacementBlue,
        .sampleName = QStringLiteral("LblSampleWav2"),
        .sample = {7005, 3840, 1815, 255},
        .playerName = QStringLiteral("MMControlWav2"),
        .playerTip = QStringLiteral("Sample replacement wav files. NOTE: To repeat a selection "
                                    "you must click on it again."),
        .player = {7030, 4080, 1780, 375}};
    layout.gamePlayerIsFirst = true;

    // Three rows of two: slots 1, 3, 5 on the left, 2, 4, 6 on the right.
    const QString frameNames[] = {QStringLiteral("FrmSelectionTitle1"),
                                  QStringLiteral("FrmSelectionTitle2"),
                                  QStringLiteral("Frame3"),
                                  QStringLiteral("Frame4"),
                                  QStringLiteral("Frame5"),
                                  QStringLiteral("Frame6")};
    for (int n = 1; n <= 6; ++n) {
        const int left = n % 2 == 1 ? 1850 : 4440;
        const int top = 120 + 1320 * ((n - 1) / 2);
        const int buttonsTop = top + 840;
        layout.slots.push_back({.frameName = frameNames[n - 1],
                                .frame = {left, top, 2535, 855},
                                .chooseGameName = QStringLiteral("CmdChooseGame%1").arg(n),
                                .removeName = QStringLiteral("CmdRemove%1").arg(n),
                                .chooseReplacementName = QStringLiteral("CmdReplaceWav%1").arg(n),
                                .chooseGame = {left, buttonsTop, 855, 375},
                                .remove = {left + 840, buttonsTop, 855, 375},
                                .chooseReplacement = {left + 1680, buttonsTop, 855, 375}});
    }
    layout.gameLabelName = QStringLiteral("LblGameWav%1");
    layout.replacementLabelName = QStringLiteral("LblReplaceWav%1");
    layout.slotLabelWidth = 2295;
    layout.errorTitle = QStringLiteral("Wav Selection Error");
    layout.nextName = QStringLiteral("CmdSwitch");
    layout.next = {1850, 4080, 5140, 375};
    layout.nextCloseCommand = QStringLiteral("Close");
    layout.nextEmptiesReplacementsFirst = true;
    layout.nav = {
        {QStringLiteral("CmdQuit2"), QStringLiteral("Close"),
         QStringLiteral("Return to Tunevane-Background Music"), 0, 1950, NavAction::ToMusic},
        {QStringLiteral("CmdWavGames"), QStringLiteral("Games"),
         QStringLiteral("PC Game Download Sites"), 1930, 2500, NavAction::Games},
        {QStringLiteral("CmdExitProgWav"),
         QStringLiteral("Exit Program"),
         {},
         4420,
         2500,
         NavAction::Exit},
        {QStringLiteral("CmdWavHelp1"), QStringLiteral("Help"),
         QStringLiteral("The Tune-Vane Step-by-Step Visual Tutorial."), 6910, 1900,
         NavAction::Help},
    };
    return layout;
}

} // namespace

FrmWavSelect::FrmWavSelect(App& app) : SelectionWindow(app, effectsLayout()) {}

SwitchWindow& FrmWavSelect::switchWindow() {
    return app().forms().get<FrmCopyWavs>();
}

} // namespace tunevane
