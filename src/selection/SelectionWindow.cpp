#include "selection/SelectionWindow.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "help/Tutorial.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "selection/PreviewPlayer.h"
#include "switching/SwitchWindow.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tunevane {

namespace {

constexpr int navTop = 4560;
constexpr int navHeight = 375;
const QString placeholderFile = QStringLiteral("SelectedFile");

PaneGeometry paneGeometry(int left) {
    return {twipsRect(left, 240, 1815, 315), twipsRect(left, 600, 1815, 990),
            twipsRect(left, 1620, 1815, 2235)};
}

void makePaneTitle(QWidget* window, const PaneColumn& column) {
    QLabel* title = makeLabel(window, column.titleName, column.titleText, column.title);
    title->setFont(classicFont(QStringLiteral("Times New Roman"), 9, true));
    title->setToolTip(column.titleTip);
    setTextColour(title, column.titleColour);
}

QString numbered(const QString& pattern, int slot) {
    return pattern.arg(slot);
}

} // namespace

SelectionWindow::SelectionWindow(App& app, const SelectionLayout& layout)
    : Form(app, layout.name,
           {.title = layout.title,
            .widthTwips = layout.widthTwips,
            .heightTwips = 4935,
            .icon = layout.icon,
            .minimisable = true}),
      m_layout(layout) {
    const QString folder = app.programFolder().path();
    for (const PaneColumn* column : {&layout.gamePane, &layout.replacementPane}) {
        makePaneTitle(this, *column);
        auto* pane = new BrowsingPane(this, layout.pattern, column->names,
                                      paneGeometry(column->left), column->tips, folder);
        makeLabel(this, column->sampleName, QStringLiteral("Sample"), column->sample);
        PreviewPlayer* player = makePlayer(*column);
        connect(pane, &BrowsingPane::fileClicked, this,
                [this, pane, player] { fileClicked(*pane, *player); });
        (column == &layout.gamePane ? m_gamePane : m_replacementPane) = pane;
        (column == &layout.gamePane ? m_gamePlayer : m_replacementPlayer) = player;
    }

    const QFont frameFont = classicFont(QStringLiteral("Times New Roman"), 9, true);
    const QFont labelFont = font();
    for (int index = 0; index < static_cast<int>(layout.slots.size()); ++index) {
        const SlotControls& slot = layout.slots[static_cast<size_t>(index)];
        const int n = index + 1;
        const QString tip =
            QStringLiteral("Indicates Selection %1 game and replacement file choices.").arg(n);
        QGroupBox* frame =
            makeFrame(this, slot.frameName, QStringLiteral("Selection %1").arg(n), slot.frame);
        frame->setFont(frameFont);
        frame->setToolTip(tip);
        QLabel* game = makeLabel(frame, numbered(layout.gameLabelName, n), {},
                                 {120, 240, layout.slotLabelWidth, 255});
        game->setToolTip(tip);
        QLabel* replacement = makeLabel(frame, numbered(layout.replacementLabelName, n), {},
                                        {120, 480, layout.slotLabelWidth, 255});
        for (QLabel* label : {game, replacement})
            label->setFont(labelFont);
        m_gameLabels.push_back(game);
        m_replacementLabels.push_back(replacement);

        auto* gameButton =
            makeButton(this, slot.chooseGameName, QStringLiteral("Game File"),
                       QStringLiteral("Set Selection %1 game or program file choice.").arg(n),
                       slot.chooseGame);
        auto* clear = makeButton(this, slot.removeName, QStringLiteral("Remove"),
                                 QStringLiteral("Clear Selection %1 choices.").arg(n), slot.remove);
        auto* replace = makeButton(this, slot.chooseReplacementName, QStringLiteral("Replace"),
                                   QStringLiteral("Set Selection %1 replacement choice.").arg(n),
                                   slot.chooseReplacement);
        connect(gameButton, &QPushButton::clicked, this, [this, n] { choose(true, n); });
        connect(clear, &QPushButton::clicked, this, [this, n] { remove(n); });
        connect(replace, &QPushButton::clicked, this, [this, n] { choose(false, n); });
    }

    auto* nextButton = makeButton(
        this, layout.nextName, QStringLiteral("Next"),
        QStringLiteral("When all desired selections have been made, click here to continue."),
        layout.next);
    connect(nextButton, &QPushButton::clicked, this, &SelectionWindow::next);

    for (const NavButton& nav : layout.nav) {
        auto* button = makeButton(this, nav.name, nav.caption, nav.toolTip,
                                  {nav.left, navTop, nav.width, navHeight});
        connect(button, &QPushButton::clicked, this,
                [this, action = nav.action] { navigate(action); });
    }
}

PreviewPlayer* SelectionWindow::makePlayer(const PaneColumn& column) {
    auto* player = new PreviewPlayer(this);
    player->setObjectName(column.playerName);
    player->setToolTip(column.playerTip);
    player->setGeometry(twipsRectOf(column.player));
    return player;
}

std::array<PreviewPlayer*, 2> SelectionWindow::playersByNumber() const {
    if (m_layout.gamePlayerIsFirst)
        return {m_gamePlayer, m_replacementPlayer};
    return {m_replacementPlayer, m_gamePlayer};
}

void SelectionWindow::loadSteps() {
    for (PreviewPlayer* player : playersByNumber())
        preparePlayer(*player);
}

void SelectionWindow::preparePlayer(PreviewPlayer& player) {
    player.setProperty("Notify", false);
    player.setProperty("Wait", true);
    player.setProperty("Shareable", false);
    player.setProperty("DeviceType", m_layout.deviceType);
    // A placeholder: the open finds nothing and the player stays without media.
    player.setProperty("FileName", placeholderFile);
    player.setProperty("Command", QStringLiteral("Open"));
}

void SelectionWindow::unloadSteps() {
    for (PreviewPlayer* player : playersByNumber())
        player->setProperty("Command", QStringLiteral("Close"));
}

void SelectionWindow::fileClicked(BrowsingPane& pane, PreviewPlayer& player) {
    if (pane.selectedFileName().isEmpty())
        return;
    player.setProperty("Command", QStringLiteral("close"));
    player.setProperty("DeviceType", m_layout.deviceType);
    player.setProperty("FileName", pane.fullPath());
    player.setProperty("Command", QStringLiteral("open"));
}

bool SelectionWindow::inOrder(const std::vector<QLabel*>& side, int slot) {
    for (int earlier = 0; earlier < slot - 1; ++earlier) {
        if (side[static_cast<size_t>(earlier)]->text().isEmpty()) {
            showMessage(this, m_layout.errorTitle,
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
    label->setText(name);
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
    m_gamePlayer->setProperty("Command", m_layout.nextCloseCommand);
    if (m_layout.nextEmptiesReplacementsFirst) {
        for (QLabel* label : m_replacementLabels)
            label->clear();
        for (QLabel* label : m_gameLabels)
            label->clear();
    } else {
        for (size_t index = 0; index < m_gameLabels.size(); ++index) {
            m_replacementLabels[index]->clear();
            m_gameLabels[index]->clear();
        }
    }
    hide();
    switchWindow().showModeless();
}

void SelectionWindow::titleBarClose() {
    App& application = app();
    hideAndUnload();
    application.endProgram();
}

void SelectionWindow::navigate(NavAction action) {
    App& application = app();
    switch (action) {
    case NavAction::ToEffects:
        hideAndUnload();
        application.forms().get<FrmWavSelect>().showModeless();
        break;
    case NavAction::ToMusic:
        hideAndUnload();
        application.forms().get<FrmMidi>().showModeless();
        break;
    case NavAction::Exit:
        application.endProgram();
        break;
    case NavAction::Help:
        showTutorial(*this);
        break;
    case NavAction::About:
    case NavAction::Games:
        // The tutorial, download-site and about windows come with their own work.
        break;
    }
}

} // namespace tunevane
