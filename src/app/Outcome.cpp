#include "app/Outcome.h"

#include "app/Ui.h"
#include "files/Path.h"

#include <algorithm>

namespace tunevane {

namespace {

using files::Failure;

QString reasonFor(Failure failure, Copying copying) {
    const bool intoGame = copying == Copying::ReplacementsOverGameFiles;
    const bool fromGame = copying == Copying::GameFilesIntoProgramFolder;
    switch (failure) {
    case Failure::NoSource:
        return fromGame ? QStringLiteral("It has no game file.")
                        : QStringLiteral("It has no replacement file.");
    case Failure::NoDestination:
        return QStringLiteral("It has no game file.");
    case Failure::SourceMissing:
        return QStringLiteral("The file is no longer there.");
    case Failure::SourceUnreadable:
        return fromGame ? QStringLiteral("The game file cannot be read.")
                        : QStringLiteral("The replacement file cannot be read.");
    case Failure::SourceChanged:
        return QStringLiteral("The file changed while it was copied.");
    case Failure::ReadOnly:
        return intoGame ? QStringLiteral("The game file is read-only.")
                        : QStringLiteral("The file it would replace is read-only.");
    case Failure::FolderMissing:
        return intoGame ? QStringLiteral("The game folder is no longer there.")
                        : QStringLiteral("The program folder is no longer there.");
    case Failure::FolderNotWritable:
        return intoGame ? QStringLiteral("The game folder cannot be written.")
                        : QStringLiteral("The program folder cannot be written.");
    case Failure::DiskFull:
        return QStringLiteral("The disk is full.");
    case Failure::None:
    case Failure::Other:
        break;
    }
    return QStringLiteral("The copy failed.");
}

} // namespace

std::optional<int> firstChosenNotDone(std::span<const SlotChoice> slots, qsizetype done) {
    for (qsizetype index = std::max<qsizetype>(done, 0);
         index < static_cast<qsizetype>(slots.size()); ++index) {
        if (slots[static_cast<size_t>(index)].chosen)
            return static_cast<int>(index) + 1;
    }
    return std::nullopt;
}

QString stopReason(const Operation& operation, const files::RunResult& run) {
    return reasonFor(run.failure, operation.copying);
}

void showOutcome(QWidget* over, const Operation& operation, std::span<const SlotChoice> slots,
                 const files::RunResult& run, const std::function<void()>& confirm,
                 std::function<void()> afterMessage) {
    const std::optional<int> slot = firstChosenNotDone(slots, run.copied);
    if (!slot) {
        confirm();
        return;
    }
    // A slot with nothing in it stops the run before the chosen one it names.
    const qsizetype stoppedAt = run.copied + 1;
    const QString reason = stoppedAt == *slot
                               ? stopReason(operation, run)
                               : QStringLiteral("Selection %1 is empty.").arg(stoppedAt);
    showMessage(over, operation.title,
                QStringLiteral("%1 incomplete: Selection %2 (%3) and the selections after it "
                               "were not %4. %5")
                    .arg(operation.noun)
                    .arg(*slot)
                    .arg(files::readableName(slots[static_cast<size_t>(*slot - 1)].fileName),
                         operation.finished, reason),
                std::move(afterMessage));
}

void showNothingDone(QWidget* over, const Operation& operation, files::Failure failure,
                     std::function<void()> afterMessage) {
    showMessage(over, operation.title,
                QStringLiteral("%1 incomplete: nothing was %2. %3")
                    .arg(operation.noun, operation.finished, reasonFor(failure, operation.copying)),
                std::move(afterMessage));
}

} // namespace tunevane
