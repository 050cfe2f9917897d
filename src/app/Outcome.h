// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Tells the user how a copy of several files ended: done, or which file stopped it and why.

#include "files/FileOps.h"

#include <QString>
#include <functional>
#include <optional>
#include <span>

class QWidget;

namespace tunevane {

// Which files an operation copies where; it decides how a failure is put to the user.
enum class Copying {
    ReplacementsOverGameFiles,
    ReplacementsIntoProgramFolder,
    ReplacementsIntoFavorites,
    GameFilesIntoProgramFolder,
};

// A multi-file operation as the user is told about it.
struct Operation {
    QString title;    // the confirmation's title, e.g. "Replacement Confirmation"
    QString noun;     // "Replacement"
    QString finished; // "replaced"
    Copying copying = Copying::ReplacementsOverGameFiles;
};

// What one slot meant to the operation.
struct SlotChoice {
    bool chosen = false; // any value the operation reads from the slot is set
    QString fileName;    // the name to tell the user if it was not done
    QString sourceName;  // the name of the file its copy reads, for the reason it failed
};

// The first chosen slot (1-based) that a copy run which copied `done` slots did not reach.
std::optional<int> firstChosenNotDone(std::span<const SlotChoice> slots, qsizetype done);

// Why a run stopped, in one short sentence of our own: never the platform's text.
// `sourceName` names the file the failed copy read.
QString stopReason(const Operation& operation, const files::RunResult& run,
                   const QString& sourceName);

// A success confirmation is shown only when every chosen slot was done: then `confirm` runs.
// Otherwise a message under the confirmation's title names the first selection that was not
// and why, and `afterMessage` runs once it is dismissed.
void showOutcome(QWidget* over, const Operation& operation, std::span<const SlotChoice> slots,
                 const files::RunResult& run, const std::function<void()>& confirm,
                 std::function<void()> afterMessage = {});

// For an operation that could not start at all.
void showNothingDone(QWidget* over, const Operation& operation, files::Failure failure,
                     std::function<void()> afterMessage);

} // namespace tunevane
