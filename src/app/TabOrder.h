// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Lays each window's Tab chain in reading order, from where its controls lie.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <span>
#include <vector>

namespace tunevane {

// The indices of `boxes` as the controls are read: a box whose top lies below the bottom of a
// row's highest one starts the next row, and each row goes left to right.
std::vector<size_t> readingOrder(std::span<const QRect> boxes);

// Lays the Tab chain of `window`: `leads` first, in that order, each with its parts, then the
// rest of the window; each part in reading order. Read from where the controls lie, not listed
// per window, so that a moved control moves in the chain with it. Starts the window on the
// first stop when nothing has the focus yet.
void orderTabChain(QWidget* window, std::span<const QPointer<QWidget>> leads);

} // namespace tunevane
