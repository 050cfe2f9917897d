// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/FrmSetName.h"

#include "app/App.h"
#include "files/Path.h"
#include "sets_backups/FrmSetConfirm.h"

#include <QComboBox>
#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Label,
     .name = "LblSaveSet",
     .box = {120, 120, 3975, 375},
     .caption = "Enter Set Name",
     .font = {"Times New Roman", 12, true},
     .align = Qt::AlignCenter},
    {.kind = Kind::Label,
     .name = "LblSetInfo",
     .box = {120, 540, 3975, 600},
     .caption = "NOTE: Always include the game name in the name of your set.   (Ex. BlackJack1,  "
                "BJackcosmoset, BlkJckArnold, etc.)",
     .wrap = true},
    {.kind = Kind::ComboBox,
     .name = "CboSetName",
     .box = {120, 1185, 3975, 315},
     .tip = "Enter a name for your new set. "},
    {.kind = Kind::Button, .name = "CmdOk3", .box = {0, 1560, 4215, 375}, .caption = "OK"},
};

} // namespace

FrmSetName::FrmSetName(App& app)
    : NameDialog(app, QStringLiteral("FrmSetName"),
                 {.title = QStringLiteral("Save Set"),
                  .widthTwips = 4215,
                  .heightTwips = 1950,
                  .icon = "sound-document",
                  .centred = false,
                  .closeBox = false},
                 {setStaging,
                  {QStringLiteral("Set Confirmation"), QStringLiteral("Set"),
                   QStringLiteral("saved"), Copying::ReplacementsIntoProgramFolder}}) {
    const Built built = build(controls);
    setUp(built.get<QComboBox>("CboSetName"), built.get<QPushButton>("CmdOk3"));
}

void FrmSetName::saveSet(Form& over, std::span<const SlotPair> slots) {
    std::vector<StagedCopy> copies;
    for (const SlotPair& slot : slots) {
        const QString& told = slot.replacementName.isEmpty() ? slot.gameName : slot.replacementName;
        copies.push_back({slot.replacementPath,
                          slot.gameName,
                          {!slot.replacementPath.isEmpty() || !slot.gameName.isEmpty(),
                           files::readableName(told), slot.replacementName}});
    }
    App& app = over.app();
    // A set holds the user's own files: of two slots with one game file name, the later wins.
    Staged staged = stage(app.programFolder(), setStaging, copies, files::Existing::Replace);
    app.forms().get<FrmSetName>().ask(over, std::move(staged));
}

Form& FrmSetName::confirmation() {
    return app().forms().get<FrmSetConfirm>();
}

} // namespace tunevane
