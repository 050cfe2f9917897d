// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief One of the six selection slots: a game file and the replacement chosen for it.

#include <QString>

namespace tunevane {

// One selection slot: each side held as its file name and its full path; empty = not chosen.
struct SlotPair {
    QString gameName, gamePath, replacementName, replacementPath;
};

inline constexpr int maxSlots = 6;

} // namespace tunevane
