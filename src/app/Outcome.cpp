// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Outcome.h"

#include "app/Ui.h"
#include "files/Path.h"

#include <algorithm>

namespace tunevane {

namespace {

using files::Failure;

QString reasonFor(Failure failure, Copying copying, const QString& sourceName) {
    const bool intoGame = copying == Copying::ReplacementsOverGameFiles;
    const bool fromGame = copying == Copying::GameFilesIntoProgramFolder;
    const QString source =
        fromGame ? QStringLiteral("The game file") : QStringLiteral("The replacement file");
    const QString named =
        sourceName.isEmpty() ? source : source + u' ' + files::readableName(sourceName);
    const QString folder = intoGame ? QStringLiteral("The game folder")
                           : copying == Copying::ReplacementsIntoFavorites
                               ? QStringLiteral("The Favorite Midi folder")
                               : QStringLiteral("The program folder");
    switch (failure) {
    case Failure::NoSource:
        return fromGame ? QStringLiteral("It has no game file.")
                        : QStringLiteral("It has no replacement file.");
    case Failure::NoDestination:
        return QStringLiteral("It has no game file.");
    case Failure::SourceMissing:
        return named + QStringLiteral(" is no longer there.");
    case Failure::SourceUnreadable:
        return named + QStringLiteral(" cannot be read.");
    case Failure::SourceChanged:
        return QStringLiteral("The file changed while it was copied.");
    case Failure::ReadOnly:
        return intoGame ? QStringLiteral("The game file is read-only.")
                        : QStringLiteral("The file it would replace is read-only.");
    case Failure::FolderMissing:
        return folder + QStringLiteral(" is no longer there.");
    case Failure::FolderNotWritable:
        return folder + QStringLiteral(" cannot be written.");
    case Failure::DiskFull:
        return QStringLiteral("The disk is full.");
    case Failure::AlreadyThere:
        return QStringLiteral("A file of that name is already there.");
    case Failure::Busy:
        return QStringLiteral("Another running copy of Tunevane is saving a set or a backup.");
    case Failure::None:
    case Failure::Other:
        break;
    }
    return QStringLiteral("The copy failed.");
}

// The reason a copy into a staging folder that already holds a file of that name stopped:
// the earlier selection of that name, and what the user can do about it.
QString sameNameReason(std::span<const SlotChoice> slots, int stopped) {
    const QString& name = slots[static_cast<size_t>(stopped - 1)].fileName;
    // Exactly the same name first; a file system that ignores letter case also takes another.
    int earlier = 0;
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int slot = 1; slot < stopped && !earlier; ++slot) {
            if (slots[static_cast<size_t>(slot - 1)].fileName.compare(name, sensitivity) == 0)
                earlier = slot;
        }
    }
    if (!earlier)
        return reasonFor(Failure::AlreadyThere, Copying::GameFilesIntoProgramFolder, {});
    return QStringLiteral("Selections %1 and %2 share that file name: back up Selection %2 and "
                          "the rest under a second backup name.")
        .arg(earlier)
        .arg(stopped);
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

QString stopReason(const Operation& operation, const files::RunResult& run,
                   const QString& sourceName) {
    return reasonFor(run.failure, operation.copying, sourceName);
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
    const SlotChoice& choice = slots[static_cast<size_t>(*slot - 1)];
    const QString reason = stoppedAt != *slot
                               ? QStringLiteral("Selection %1 is empty.").arg(stoppedAt)
                           : run.failure == files::Failure::AlreadyThere
                               ? sameNameReason(slots, *slot)
                               : stopReason(operation, run, choice.sourceName);
    showMessage(over, operation.title,
                QStringLiteral("%1 incomplete: Selection %2 (%3) and the selections after it "
                               "were not %4. %5")
                    .arg(operation.noun)
                    .arg(*slot)
                    .arg(files::readableName(choice.fileName), operation.finished, reason),
                std::move(afterMessage));
}

void showNothingDone(QWidget* over, const Operation& operation, files::Failure failure,
                     std::function<void()> afterMessage) {
    showMessage(
        over, operation.title,
        QStringLiteral("%1 incomplete: nothing was %2. %3")
            .arg(operation.noun, operation.finished, reasonFor(failure, operation.copying, {})),
        std::move(afterMessage));
}

} // namespace tunevane
