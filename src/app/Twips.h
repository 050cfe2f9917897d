// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Converts the twips the windows' layouts are given in to pixels.

#include <QRect>
#include <QSize>
#include <cmath>

namespace tunevane {

// The windows were drawn in twips; 15 twips make one pixel at 96 DPI and Qt scales
// pixels for high-DPI screens, so every layout table stays in twips.
constexpr int twipsPerPixel = 15;

constexpr int twips(int value) {
    return static_cast<int>((value + (value >= 0 ? twipsPerPixel / 2 : -twipsPerPixel / 2)) /
                            twipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

inline QSize twipsSize(int width, int height) {
    return {twips(width), twips(height)};
}

} // namespace tunevane
