#include "switching/Outcome.h"

#include "app/Ui.h"

#include <algorithm>

namespace tunevane {

std::optional<int> firstChosenNotDone(const std::vector<SlotOutcome>& slots, qsizetype done) {
    for (qsizetype index = std::max<qsizetype>(done, 0);
         index < static_cast<qsizetype>(slots.size()); ++index) {
        if (slots[static_cast<size_t>(index)].chosen)
            return static_cast<int>(index) + 1;
    }
    return std::nullopt;
}

bool anyChosen(const std::vector<SlotOutcome>& slots) {
    return std::any_of(slots.begin(), slots.end(), [](const SlotOutcome& s) { return s.chosen; });
}

void showIncomplete(QWidget* parent, const QString& title, const QString& operation,
                    const QString& pastParticiple, int slot, const QString& fileName) {
    showMessage(parent, title,
                QStringLiteral("%1 incomplete: Selection %2 (%3) and the selections after it "
                               "were not %4.")
                    .arg(operation)
                    .arg(slot)
                    .arg(fileName, pastParticiple));
}

} // namespace tunevane
