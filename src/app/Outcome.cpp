#include "app/Outcome.h"

#include "app/Ui.h"
#include "files/Path.h"

#include <algorithm>

namespace tunevane {

std::optional<int> firstChosenNotDone(std::span<const SlotChoice> slots, qsizetype done) {
    for (qsizetype index = std::max<qsizetype>(done, 0);
         index < static_cast<qsizetype>(slots.size()); ++index) {
        if (slots[static_cast<size_t>(index)].chosen)
            return static_cast<int>(index) + 1;
    }
    return std::nullopt;
}

void showOutcome(QWidget* over, const Operation& operation, std::span<const SlotChoice> slots,
                 qsizetype done, const std::function<void()>& confirm,
                 std::function<void()> afterMessage) {
    const std::optional<int> slot = firstChosenNotDone(slots, done);
    if (!slot) {
        confirm();
        return;
    }
    showMessage(over, operation.title,
                QStringLiteral("%1 incomplete: Selection %2 (%3) and the selections after it "
                               "were not %4.")
                    .arg(operation.noun)
                    .arg(*slot)
                    .arg(files::readableName(slots[static_cast<size_t>(*slot - 1)].fileName),
                         operation.finished),
                std::move(afterMessage));
}

} // namespace tunevane
