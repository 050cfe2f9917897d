#pragma once

#include "app/Form.h"
#include "selection/BrowsingPane.h"

#include <QColor>
#include <QRect>
#include <array>
#include <vector>

class QLabel;

namespace tunevane {

class PreviewPlayer;
class SwitchWindow;

// One browsing pane with its title, "Sample" caption and player; rectangles in twips.
struct PaneColumn {
    PaneNames names;
    int left = 0;
    PaneTips tips;
    QString titleName, titleText, titleTip;
    QRect title;
    QColor titleColour;
    QString sampleName;
    QRect sample;
    QString playerName, playerTip;
    QRect player;
};

struct SlotControls {
    QString frameName;
    QRect frame;
    QString chooseGameName, removeName, chooseReplacementName;
    QRect chooseGame, remove, chooseReplacement;
};

enum class NavAction { About, ToEffects, ToMusic, Games, Exit, Help };

struct NavButton {
    QString name, caption, toolTip;
    int left = 0, width = 0;
    NavAction action;
};

// Everything in which the music and effects selection windows differ.
struct SelectionLayout {
    QString name, title;
    int widthTwips = 0;
    const char* icon = nullptr;
    FilePattern pattern = FilePattern::Wav;
    QString deviceType;
    PaneColumn gamePane, replacementPane;
    // Players are prepared and closed in the order of their numbers.
    bool gamePlayerIsFirst = true;
    std::vector<SlotControls> slots;
    QString gameLabelName, replacementLabelName; // "%1" is the slot number
    int slotLabelWidth = 0;
    QString errorTitle;
    QString nextName;
    QRect next;
    QString nextCloseCommand;
    bool nextEmptiesReplacementsFirst = true;
    std::vector<NavButton> nav;
};

// A selection window: two browsing panes with their players, the numbered slots in between,
// "Next" to its switch window and the bottom row of navigation buttons.
class SelectionWindow : public Form {
    Q_OBJECT
public:
    SelectionWindow(App& app, const SelectionLayout& layout);

    void loadSteps() override;
    void unloadSteps() override;

    BrowsingPane& gamePane() const { return *m_gamePane; }
    BrowsingPane& replacementPane() const { return *m_replacementPane; }
    PreviewPlayer& gamePlayer() const { return *m_gamePlayer; }
    PreviewPlayer& replacementPlayer() const { return *m_replacementPlayer; }
    int slotCount() const { return static_cast<int>(m_gameLabels.size()); }

protected:
    virtual SwitchWindow& switchWindow() = 0;
    void titleBarClose() override;

private:
    PreviewPlayer* makePlayer(const PaneColumn& column);
    // Players are prepared and closed in the order of their numbers.
    std::array<PreviewPlayer*, 2> playersByNumber() const;
    void preparePlayer(PreviewPlayer& player);
    void fileClicked(BrowsingPane& pane, PreviewPlayer& player);
    bool inOrder(const std::vector<QLabel*>& side, int slot);
    // "Game File" (game) or "Replace" of a slot.
    void choose(bool game, int slot);
    void remove(int slot);
    void next();
    void navigate(NavAction action);

    const SelectionLayout m_layout;
    BrowsingPane* m_gamePane = nullptr;
    BrowsingPane* m_replacementPane = nullptr;
    PreviewPlayer* m_gamePlayer = nullptr;
    PreviewPlayer* m_replacementPlayer = nullptr;
    std::vector<QLabel*> m_gameLabels;
    std::vector<QLabel*> m_replacementLabels;
};

} // namespace tunevane
