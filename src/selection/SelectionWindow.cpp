// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/SelectionWindow.h"

#include "app/App.h"
#include "app/Ui.h"
#include "files/Path.h"
#include "selection/PreviewPlayer.h"
#include "switching/SwitchWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace tunevane {

namespace {

const QString placeholderFile = QStringLiteral("SelectedFile");

QString numbered(const char* pattern, int slot) {
    return QString::fromUtf8(pattern).arg(slot);
}

} // namespace

QWidget* makePreviewPlayer(QWidget* parent) {
    return new PreviewPlayer(parent);
}

SelectionWindow::SelectionWindow(App& app, const QString& name, const FormLook& look)
    : Form(app, name, look) {}

BrowsingPane* SelectionWindow::makePane(const Built& built, const PaneControls& controls) {
    const auto tip = [&built](const char* name) {
        return built.placed(QString::fromUtf8(name)).tip;
    };
    auto* pane =
        new BrowsingPane(this, m_side.pattern,
                         {QString::fromUtf8(controls.drive), QString::fromUtf8(controls.folder),
                          QString::fromUtf8(controls.file)},
                         {built.pixelBox(controls.drive), built.pixelBox(controls.folder),
                          built.pixelBox(controls.file)},
                         {tip(controls.folder), tip(controls.file)}, app().programFolder().path());
    auto* player = built.get<PreviewPlayer>(controls.player);
    connect(pane, &BrowsingPane::fileClicked, this,
            [this, pane, player] { fileClicked(*pane, *player); });
    return pane;
}

void SelectionWindow::bindSelection(const Built& built, const SelectionSide& side) {
    m_side = side;
    m_gamePane = makePane(built, side.gamePane);
    m_replacementPane = makePane(built, side.replacementPane);
    m_gamePlayer = built.get<PreviewPlayer>(side.gamePane.player);
    m_replacementPlayer = built.get<PreviewPlayer>(side.replacementPane.player);
    // Each pane is read down to its player before the next; the game pane comes first.
    leadTabChainWith({m_gamePane->driveList(), m_gamePane->folderList(), m_gamePane->fileList(),
                      m_gamePlayer, m_replacementPane->driveList(), m_replacementPane->folderList(),
                      m_replacementPane->fileList(), m_replacementPlayer});

    for (int n = 1; n <= side.slotCount; ++n) {
        m_gameLabels.push_back(built.get<QLabel>(numbered(side.gameLabel, n)));
        m_replacementLabels.push_back(built.get<QLabel>(numbered(side.replacementLabel, n)));
        const auto clicked = [&](const char* pattern, auto handler) {
            connect(built.get<QPushButton>(numbered(pattern, n)), &QPushButton::clicked, this,
                    handler);
        };
        clicked(side.chooseGame, [this, n] { choose(true, n); });
        clicked(side.remove, [this, n] { remove(n); });
        clicked(side.chooseReplacement, [this, n] { choose(false, n); });
    }
    connect(built.get<QPushButton>(side.next), &QPushButton::clicked, this, &SelectionWindow::next);
}

std::array<PreviewPlayer*, 2> SelectionWindow::playersByNumber() const {
    if (m_gamePlayer->objectName() < m_replacementPlayer->objectName())
        return {m_gamePlayer, m_replacementPlayer};
    return {m_replacementPlayer, m_gamePlayer};
}

void SelectionWindow::loadSteps() {
    for (PreviewPlayer* player : playersByNumber())
        preparePlayer(*player);
}

void SelectionWindow::preparePlayer(PreviewPlayer& player) {
    player.setNotify(false);
    player.setWait(true);
    player.setShareable(false);
    player.setDeviceType(QString::fromUtf8(m_side.deviceType));
    // A placeholder: the open finds nothing and the player stays without media.
    player.setFileName(placeholderFile);
    player.run(PlayerCommand::Open);
}

void SelectionWindow::unloadSteps() {
    for (PreviewPlayer* player : playersByNumber())
        player->run(PlayerCommand::Close);
}

void SelectionWindow::fileClicked(BrowsingPane& pane, PreviewPlayer& player) {
    if (pane.selectedFileName().isEmpty())
        return;
    player.run(PlayerCommand::Close);
    player.setDeviceType(QString::fromUtf8(m_side.deviceType));
    player.setFileName(pane.fullPath());
    player.run(PlayerCommand::Open);
}

bool SelectionWindow::inOrder(const std::vector<QLabel*>& side, int slot) {
    for (int earlier = 0; earlier < slot - 1; ++earlier) {
        if (side[static_cast<size_t>(earlier)]->text().isEmpty()) {
            showMessage(this, QString::fromUtf8(m_side.errorTitle),
                        QStringLiteral("Please make selections in correct order"));
            return false;
        }
    }
    return true;
}

void SelectionWindow::choose(bool game, int slot) {
    std::vector<QLabel*>& labels = game ? m_gameLabels : m_replacementLabels;
    if (!inOrder(labels, slot))
        return;
    const BrowsingPane& pane = game ? *m_gamePane : *m_replacementPane;
    const QString name = pane.selectedFileName();
    QLabel* label = labels[static_cast<size_t>(slot - 1)];
    label->setText(files::readableName(name));
    label->setVisible(true);
    setTextColour(label, game ? gameRed : replacementBlue);
    if (game)
        switchWindow().setGame(slot, name, pane.fullPath());
    else
        switchWindow().setReplacement(slot, name, pane.fullPath());
}

void SelectionWindow::remove(int slot) {
    m_gameLabels[static_cast<size_t>(slot - 1)]->clear();
    m_replacementLabels[static_cast<size_t>(slot - 1)]->clear();
    switchWindow().clearSlot(slot);
}

void SelectionWindow::next() {
    m_gamePlayer->run(PlayerCommand::Close);
    for (size_t index = 0; index < m_gameLabels.size(); ++index) {
        m_replacementLabels[index]->clear();
        m_gameLabels[index]->clear();
    }
    hide();
    // The switch window's "Close" comes back here: the game player reopens on its file.
    switchWindow().showReturningTo([self = QPointer<SelectionWindow>(this)]() -> QWidget* {
        if (!self)
            return nullptr;
        self->gamePlayer().run(PlayerCommand::Open);
        self->showModeless();
        return self;
    });
}

void SelectionWindow::titleBarClose() {
    App& application = app();
    hideAndUnload();
    application.endProgram();
}

} // namespace tunevane
