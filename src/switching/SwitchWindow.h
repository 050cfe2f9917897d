// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/App.h"
#include "app/Form.h"
#include "app/Outcome.h"
#include "app/SlotPair.h"

#include <array>
#include <functional>
#include <vector>

class QLabel;

namespace tunevane {

// The names of a switch window's slot families; "%1" is the slot number.
struct SwitchSlotNames {
    int slotCount = 0;
    const char* gameName = nullptr;
    const char* gamePath = nullptr;
    const char* replacementName = nullptr;
    const char* replacementPath = nullptr;
    const char* remove = nullptr;
};

// A switch window: it owns the pairs chosen in its selection window and replaces the game
// files with them.
class SwitchWindow : public Form {
    Q_OBJECT
public:
    SwitchWindow(App& app, const QString& name, const FormLook& look);

    void setGame(int slot, const QString& name, const QString& path);
    void setReplacement(int slot, const QString& name, const QString& path);
    void clearSlot(int slot);
    const SlotPair& slot(int slot) const { return m_slots[static_cast<size_t>(slot - 1)]; }
    int slotCount() const { return static_cast<int>(m_labels.size()); }

    // Shows the window; its "Close" unloads it and then runs `back`, which the selection
    // window hands over since only it knows how to take the user back; `back` returns the
    // window it showed.
    void showReturningTo(std::function<QWidget*()> back);

protected:
    // No close box is asked for, but some window managers draw one anyway: it does what
    // "Close" does, so the hidden selection window is never stranded.
    void titleBarClose() override { backToSelection(); }

    // Finds the slot labels the table made and wires each slot's "Remove".
    void bindSlots(const Built& built, const SwitchSlotNames& names);
    // "Close"
    void backToSelection();

    // Copies each chosen replacement over its game file, in slot order, until a copy fails.
    files::RunResult replaceGameFiles() const;
    // The confirmation, or the first chosen slot that was not done.
    void confirmSwitch(const files::RunResult& run);
    // An earlier notice of the same operation goes first, so two never disagree on screen;
    // the new one stays above this window.
    template <class Confirmation>
    void showConfirmation(const Operation& operation, std::span<const SlotChoice> choices,
                          const files::RunResult& run) {
        app().forms().unload<Confirmation>();
        showOutcome(this, operation, choices, run,
                    [this] { app().forms().get<Confirmation>().showModelessOver(*this); });
    }

    // This side's slots, 1 to slotCount(), filled or not.
    std::vector<SlotPair> sideSlots() const;

private:
    void showSlot(int slot);

    std::array<SlotPair, maxSlots> m_slots;
    struct SlotLabels {
        QLabel *gameName, *gamePath, *replacementName, *replacementPath;
    };
    std::vector<SlotLabels> m_labels;
    std::function<QWidget*()> m_back;
};

} // namespace tunevane
