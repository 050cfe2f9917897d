#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <span>

class QWidget;

namespace tunevane {

// A multi-file operation as the user is told about it.
struct Operation {
    QString title;    // the confirmation's title, e.g. "Replacement Confirmation"
    QString noun;     // "Replacement"
    QString finished; // "replaced"
};

// What one slot meant to the operation.
struct SlotChoice {
    bool chosen = false; // any value the operation reads from the slot is set
    QString fileName;    // the name to tell the user if it was not done
};

// The first chosen slot (1-based) that a copy run which copied `done` slots did not reach.
std::optional<int> firstChosenNotDone(std::span<const SlotChoice> slots, qsizetype done);

// A success confirmation is shown only when every chosen slot was done: then `confirm` runs.
// Otherwise a message under the confirmation's title names the first selection that was not,
// and `afterMessage` runs once it is dismissed.
void showOutcome(QWidget* over, const Operation& operation, std::span<const SlotChoice> slots,
                 qsizetype done, const std::function<void()>& confirm,
                 std::function<void()> afterMessage = {});

} // namespace tunevane
