// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The program's version number and the way the windows write it.

#include <QString>

namespace tunevane::version {

inline constexpr int major = 1;
inline constexpr int minor = 3;
inline constexpr int revision = 0;

} // namespace tunevane::version

namespace tunevane {

// "Version 1.3.0": the revision is written even when it is 0.
inline QString versionText(int major = version::major, int minor = version::minor,
                           int revision = version::revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

} // namespace tunevane
