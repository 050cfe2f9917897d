// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The composition of the program: the one place that knows every window and which comes first.
#include "start/Start.h"

#include "app/App.h"
#include "help/FrmBackupHelpMidi.h"
#include "help/FrmBackupHelpWav.h"
#include "help/FrmGameLinks.h"
#include "help/FrmMidiHelp.h"
#include "help/FrmMidiHelp2.h"
#include "help/FrmSaveSetInfo.h"
#include "help/FrmWavGame.h"
#include "help/FrmWavHelp1.h"
#include "help/FrmWavHelp2.h"
#include "help/frmAbout.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "sets_backups/FrmBackupConfirm.h"
#include "sets_backups/FrmMidiBackup.h"
#include "sets_backups/FrmSetConfirm.h"
#include "sets_backups/FrmSetName.h"
#include "sets_backups/FrmSetName2.h"
#include "sets_backups/FrmWavBackup.h"
#include "start/FrmSplash.h"
#include "switching/FrmCopyMidi.h"
#include "switching/FrmCopyWavs.h"
#include "switching/FrmFavorites.h"
#include "switching/FrmReplaceConfirm.h"

#include <array>

namespace tunevane {

std::span<const Forms::Kind> windowKinds() {
    static const std::array kinds = {
        Forms::kind<FrmSplash>(),         Forms::kind<FrmMidi>(),
        Forms::kind<FrmWavSelect>(),      Forms::kind<FrmCopyMidi>(),
        Forms::kind<FrmCopyWavs>(),       Forms::kind<FrmFavorites>(),
        Forms::kind<FrmReplaceConfirm>(), Forms::kind<FrmMidiBackup>(),
        Forms::kind<FrmWavBackup>(),      Forms::kind<FrmSetName>(),
        Forms::kind<FrmSetName2>(),       Forms::kind<FrmSetConfirm>(),
        Forms::kind<FrmBackupConfirm>(),  Forms::kind<frmAbout>(),
        Forms::kind<FrmGameLinks>(),      Forms::kind<FrmWavGame>(),
        Forms::kind<FrmMidiHelp>(),       Forms::kind<FrmMidiHelp2>(),
        Forms::kind<FrmWavHelp1>(),       Forms::kind<FrmWavHelp2>(),
        Forms::kind<FrmBackupHelpMidi>(), Forms::kind<FrmBackupHelpWav>(),
        Forms::kind<FrmSaveSetInfo>(),
    };
    return kinds;
}

void start(App& app) {
    app.forms().know(windowKinds());
    app.forms().get<FrmSplash>().showModeless();
}

} // namespace tunevane
