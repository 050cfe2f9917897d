#include "switching/SwitchWindow.h"

#include "app/App.h"
#include "app/Outcome.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "files/FileOps.h"
#include "files/Path.h"
#include "selection/PreviewPlayer.h"
#include "selection/SelectionWindow.h"
#include "switching/ConfirmDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tunevane {

SwitchWindow::SwitchWindow(App& app, const SwitchLayout& layout)
    : Form(app, layout.name,
           {.title = layout.title,
            .widthTwips = layout.widthTwips,
            .heightTwips = layout.heightTwips,
            .icon = layout.icon,
            .closeBox = false}),
      m_layout(layout) {
    QLabel* warning =
        makeLabel(this, QStringLiteral("LblSelectionRed"), layout.warningText, layout.warning);
    warning->setFont(classicFont(QStringLiteral("Times New Roman"), 8.25));
    setTextColour(warning, gameRed);

    const QFont frameFont = classicFont(QStringLiteral("Times New Roman"), 9, true);
    const QFont labelFont = font();
    auto makeSide = [&](const QString& frameName, const QString& tip, int left, int top,
                        const QString& nameLabel, const QString& pathLabel, const QColor& colour,
                        const QString& caption) {
        QGroupBox* frame = makeFrame(this, frameName, caption, {left, top, layout.frameWidth, 615});
        frame->setFont(frameFont);
        frame->setToolTip(tip);
        QLabel* name = makeLabel(frame, nameLabel, {}, {120, 240, layout.labelWidth, 255});
        name->setFont(labelFont);
        name->setToolTip(tip);
        setTextColour(name, colour);
        // The full path is held, not shown.
        QLabel* path = makeLabel(frame, pathLabel, {}, {120, 240, layout.labelWidth, 255});
        path->hide();
        return std::pair{name, path};
    };

    for (int n = 1; n <= layout.slotCount; ++n) {
        const int top = layout.rowTops[static_cast<size_t>(n - 1)];
        auto [gameName, gamePath] =
            makeSide(layout.gameFrameName.arg(n),
                     QStringLiteral("Indicate's Selection %1 game or program file.").arg(n), 80,
                     top, layout.gameNameLabel.arg(n), layout.gamePathLabel.arg(n), gameRed,
                     QStringLiteral("Selection %1").arg(n));
        auto [replacementName, replacementPath] = makeSide(
            layout.replacementFrameName.arg(n),
            QStringLiteral("Indicate's Selection %1 replacement file.").arg(n),
            layout.replacementFrameLeft, top, layout.replacementNameLabel.arg(n),
            layout.replacementPathLabel.arg(n), replacementBlue, QStringLiteral("Replace with:"));
        m_labels.push_back({gameName, gamePath, replacementName, replacementPath});

        auto* remove = makeButton(this, layout.removeName.arg(n), QStringLiteral("Remove"),
                                  QStringLiteral("Clear Selection %1 choices.").arg(n),
                                  layout.remove.translated(0, top));
        connect(remove, &QPushButton::clicked, this, [this, n] { clearSlot(n); });
    }

    struct Action {
        QString caption, toolTip;
        void (SwitchWindow::*handler)();
    };
    const std::array<Action, 5> actions = {{
        {QStringLiteral("BACKUP ORIGINAL GAME FILES"),
         QStringLiteral("Click here to back up original game files. IMPORTANT: PLEASE SEE "
                        "\"HELP\"/\"ABOUT BACKING UP ORIGINALS\""),
         &SwitchWindow::backup},
        {QStringLiteral("SWITCH"), QStringLiteral("Complete the replacement process."),
         &SwitchWindow::switchFiles},
        {layout.thirdCaption, layout.thirdToolTip, &SwitchWindow::thirdAction},
        {QStringLiteral("Close"), QStringLiteral("Return to previous window."),
         &SwitchWindow::backToSelection},
        {QStringLiteral("Help"), QStringLiteral("The Tune-Vane Step-by-Step Visual Tutorial."),
         &SwitchWindow::help},
    }};
    for (size_t index = 0; index < actions.size(); ++index) {
        const Action& action = actions[index];
        auto* button = makeButton(this, layout.buttons[index].name, action.caption, action.toolTip,
                                  layout.buttons[index].box);
        connect(button, &QPushButton::clicked, this,
                [this, handler = action.handler] { (this->*handler)(); });
    }
}

void SwitchWindow::backToSelection() {
    SelectionWindow& selection = selectionWindow();
    selection.gamePlayer().setProperty("Command", QStringLiteral("open"));
    hideAndUnload();
    selection.showModeless();
}

void SwitchWindow::setGame(int slot, const QString& name, const QString& path) {
    SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    pair.gameName = name;
    pair.gamePath = path;
    showSlot(slot);
}

void SwitchWindow::setReplacement(int slot, const QString& name, const QString& path) {
    SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    pair.replacementName = name;
    pair.replacementPath = path;
    showSlot(slot);
}

void SwitchWindow::clearSlot(int slot) {
    m_slots[static_cast<size_t>(slot - 1)] = {};
    showSlot(slot);
}

void SwitchWindow::showSlot(int slot) {
    const SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    const SlotLabels& labels = m_labels[static_cast<size_t>(slot - 1)];
    labels.gameName->setText(files::readableName(pair.gameName));
    labels.gamePath->setText(pair.gamePath);
    labels.replacementName->setText(files::readableName(pair.replacementName));
    labels.replacementPath->setText(pair.replacementPath);
}

std::vector<SlotPair> SwitchWindow::sideSlots() const {
    return {m_slots.begin(), m_slots.begin() + m_layout.slotCount};
}

qsizetype SwitchWindow::replaceGameFiles() const {
    QList<files::CopyPair> pairs;
    for (const SlotPair& pair : sideSlots())
        pairs.append({pair.replacementPath, pair.gamePath});
    return files::copyRun(pairs);
}

void SwitchWindow::confirmSwitch(qsizetype copied) {
    std::vector<SlotChoice> choices;
    for (const SlotPair& pair : sideSlots()) {
        choices.push_back({!pair.gamePath.isEmpty() || !pair.replacementPath.isEmpty(),
                           pair.gameName.isEmpty() ? pair.replacementName : pair.gameName});
    }
    showOutcome(this,
                {QStringLiteral("Replacement Confirmation"), QStringLiteral("Replacement"),
                 QStringLiteral("replaced")},
                choices, copied, [this] { app().forms().get<FrmReplaceConfirm>().showModeless(); });
}

} // namespace tunevane
