// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "selection/BrowsingPane.h"

// The searches for games read the home folder: a build must never read the builder's own
// Steam and Wine folders, nor show them in a picture.
inline void usePrivateHome(const QString& folder) {
    // Nor may a disk busy with the build show a folder empty in a picture.
    tunevane::BrowsingPane::setListingBound(std::chrono::minutes(1));
    const QByteArray home = QFile::encodeName(folder);
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("WINEPREFIX", home + "/.wine");
}
