#pragma once

#include "app/Form.h"
#include "app/SlotPair.h"

#include <QRect>
#include <array>
#include <vector>

class QLabel;

namespace tunevane {

class SelectionWindow;

struct SwitchButton {
    QString name;
    QRect box;
};

// Everything in which the music and effects switch windows differ.
struct SwitchLayout {
    QString name, title;
    int widthTwips = 0, heightTwips = 0;
    const char* icon = nullptr;
    int slotCount = 0;
    QString warningText;
    QRect warning;
    std::vector<int> rowTops;
    int frameWidth = 0, replacementFrameLeft = 0, labelWidth = 0;
    QString gameFrameName, replacementFrameName; // "%1" is the slot number
    QString gameNameLabel, gamePathLabel, replacementNameLabel, replacementPathLabel;
    QString removeName;
    QRect remove; // top is relative to the row's top
    // Bottom row, left to right: backup, switch, third action, close, help.
    std::array<SwitchButton, 5> buttons;
    QString thirdCaption, thirdToolTip;
};

// A switch window: it owns the pairs chosen in its selection window and replaces the game
// files with them.
class SwitchWindow : public Form {
    Q_OBJECT
public:
    SwitchWindow(App& app, const SwitchLayout& layout);

    void setGame(int slot, const QString& name, const QString& path);
    void setReplacement(int slot, const QString& name, const QString& path);
    void clearSlot(int slot);
    const SlotPair& slot(int slot) const { return m_slots[static_cast<size_t>(slot - 1)]; }
    int slotCount() const { return m_layout.slotCount; }

protected:
    // The switch itself: its check, its copy run and its outcome differ per side.
    virtual void switchFiles() = 0;
    virtual void thirdAction() = 0;
    virtual void backup() = 0;
    virtual void help() = 0;
    virtual SelectionWindow& selectionWindow() = 0;
    // No close box: a close from the window system (Alt+F4) must not strand the hidden
    // selection window, so only the window's own "Close" leaves it.
    void titleBarClose() override {}

    // Copies each chosen replacement over its game file, in slot order, and returns how many
    // slots were copied before the run stopped.
    qsizetype replaceGameFiles() const;
    // The confirmation, or the first chosen slot that was not done.
    void confirmSwitch(qsizetype copied);

    // This side's slots, 1 to slotCount(), filled or not.
    std::vector<SlotPair> sideSlots() const;

private:
    void showSlot(int slot);
    // "Close": reopen the selection window's game player and go back to it; the pairs go.
    void backToSelection();

    const SwitchLayout m_layout;
    std::array<SlotPair, maxSlots> m_slots;
    struct SlotLabels {
        QLabel *gameName, *gamePath, *replacementName, *replacementPath;
    };
    std::vector<SlotLabels> m_labels;
};

} // namespace tunevane
