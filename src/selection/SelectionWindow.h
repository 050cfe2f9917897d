// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"
#include "selection/BrowsingPane.h"

#include <array>
#include <vector>

class QLabel;

namespace tunevane {

class PreviewPlayer;
class SwitchWindow;

// For a table row of kind Custom: the preview player under a pane.
QWidget* makePreviewPlayer(QWidget* parent);

// The objectNames of one pane's rows in the window's table.
struct PaneControls {
    const char* drive = nullptr;
    const char* folder = nullptr;
    const char* file = nullptr;
    const char* player = nullptr;
};

// What the music and effects selection windows do differently, besides their tables; the
// control names are those of the table, "%1" being the slot number.
struct SelectionSide {
    FilePattern pattern = FilePattern::Wav;
    const char* deviceType = nullptr;
    const char* errorTitle = nullptr;
    int slotCount = 0;
    PaneControls gamePane, replacementPane;
    const char* gameLabel = nullptr;
    const char* replacementLabel = nullptr;
    const char* chooseGame = nullptr;
    const char* remove = nullptr;
    const char* chooseReplacement = nullptr;
    const char* next = nullptr;
};

// A selection window: two browsing panes with their players, the numbered slots in between,
// and "Next" to its switch window.
class SelectionWindow : public Form {
    Q_OBJECT
public:
    SelectionWindow(App& app, const QString& name, const FormLook& look);

    void loadSteps() override;
    void unloadSteps() override;

    BrowsingPane& gamePane() const { return *m_gamePane; }
    BrowsingPane& replacementPane() const { return *m_replacementPane; }
    PreviewPlayer& gamePlayer() const { return *m_gamePlayer; }
    PreviewPlayer& replacementPlayer() const { return *m_replacementPlayer; }
    int slotCount() const { return static_cast<int>(m_gameLabels.size()); }

protected:
    // Makes the panes where the table places them and wires the slot buttons and "Next".
    void bindSelection(const Built& built, const SelectionSide& side);
    virtual SwitchWindow& switchWindow() = 0;
    void titleBarClose() override;

private:
    BrowsingPane* makePane(const Built& built, const PaneControls& controls);
    // Players are prepared and closed in the order of their numbers, which their names end in.
    std::array<PreviewPlayer*, 2> playersByNumber() const;
    void preparePlayer(PreviewPlayer& player);
    void fileClicked(BrowsingPane& pane, PreviewPlayer& player);
    bool inOrder(const std::vector<QLabel*>& side, int slot);
    // "Game File" (game) or "Replace" of a slot.
    void choose(bool game, int slot);
    void remove(int slot);
    void next();

    SelectionSide m_side;
    BrowsingPane* m_gamePane = nullptr;
    BrowsingPane* m_replacementPane = nullptr;
    PreviewPlayer* m_gamePlayer = nullptr;
    PreviewPlayer* m_replacementPlayer = nullptr;
    std::vector<QLabel*> m_gameLabels;
    std::vector<QLabel*> m_replacementLabels;
};

} // namespace tunevane
