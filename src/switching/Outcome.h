#pragma once

#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace tunevane {

// What one slot meant to a multi-file operation.
struct SlotOutcome {
    bool chosen = false; // any value the operation reads from the slot is set
    QString fileName;    // the name to tell the user if it was not done
};

// The first chosen slot (1-based) that a copy run which copied `done` slots did not reach.
std::optional<int> firstChosenNotDone(const std::vector<SlotOutcome>& slots, qsizetype done);

bool anyChosen(const std::vector<SlotOutcome>& slots);

// A success confirmation is only ever shown when every chosen slot was done; otherwise this
// message, under the confirmation's title, names the first selection that was not.
void showIncomplete(QWidget* parent, const QString& title, const QString& operation,
                    const QString& pastParticiple, int slot, const QString& fileName);

} // namespace tunevane
