#include "switching/FrmCopyWavs.h"

#include "app/App.h"
#include "app/Ui.h"
#include "help/Tutorial.h"
#include "selection/FrmWavSelect.h"

namespace tunevane {

namespace {

SwitchLayout effectsLayout() {
    return {
        .name = QStringLiteral("FrmCopyWavs"),
        .title = QStringLiteral("Tune-Vane/Sound Effects"),
        .widthTwips = 6480,
        .heightTwips = 4590,
        .icon = "program-effects",
        .slotCount = 6,
        .warningText = QStringLiteral("Please be certain that the \"Selection\" entries are Game "
                                      "Files and not Replacement Wav's."),
        .warning = {150, 60, 6195, 210},
        .rowTops = {300, 940, 1590, 2240, 2890, 3540},
        .frameWidth = 2580,
        .replacementFrameLeft = 3840,
        .labelWidth = 2295,
        .gameFrameName = QStringLiteral("FrmReplaceGame%1"),
        .replacementFrameName = QStringLiteral("FrmWithWav%1"),
        .gameNameLabel = QStringLiteral("LblFileName%1"),
        .gamePathLabel = QStringLiteral("LblGamePath%1"),
        .replacementNameLabel = QStringLiteral("LblRepFile%1"),
        .replacementPathLabel = QStringLiteral("LblReplacePath%1"),
        .removeName = QStringLiteral("CmdClear%1"),
        .remove = {2760, 150, 970, 400},
        .buttons = {{
            {QStringLiteral("CmdWavBackup"), {0, 4200, 2775, 375}},
            {QStringLiteral("CmdSwitch2"), {2760, 4200, 975, 375}},
            {QStringLiteral("CmdCreateSet"), {3720, 4200, 1095, 375}},
            {QStringLiteral("CmdExitFrmCopyWavs"), {4800, 4200, 855, 375}},
            {QStringLiteral("CmdWavHelp2"), {5640, 4200, 840, 375}},
        }},
        .thirdCaption = QStringLiteral("Save Set"),
        .thirdToolTip = QStringLiteral("Create a set with chosen replacement files for easy "
                                       "accessibility at a later date. REFER TO \"HELP\"/\"ABOUT "
                                       "SAVING SETS\""),
    };
}

} // namespace

FrmCopyWavs::FrmCopyWavs(App& app) : SwitchWindow(app, effectsLayout()) {}

void FrmCopyWavs::switchFiles() {
    if (slot(1).gameName.isEmpty()) {
        showMessage(this, QStringLiteral("File Selection Error"),
                    QStringLiteral("Please be sure that each selection is a valid filename."));
        return;
    }
    const qsizetype copied = replaceGameFiles();
    // A first copy that fails ends the switch without a word; nothing on disk has changed.
    if (copied == 0)
        return;
    confirmSwitch(copied);
}

// Saving sets, the backup and the tutorial come with their own windows.
void FrmCopyWavs::thirdAction() {}
void FrmCopyWavs::backup() {}
void FrmCopyWavs::help() {
    showTutorial(*this);
}

SelectionWindow& FrmCopyWavs::selectionWindow() {
    return app().forms().get<FrmWavSelect>();
}

} // namespace tunevane
