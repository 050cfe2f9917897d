// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bottles: each bottle's C: drive, in the native and Flatpak data folders and the custom
// folder set in data.yml; a moved bottle leaves a placeholder.yml naming where it went.
#include "games/Disk.h"
#include "games/Places.h"

namespace tunevane::games {

namespace {

QString fileValue(const QString& path, const char* key) {
    const Result<QByteArray> text = readBounded(path, launcherFileMaxBytes, "Bottles file");
    return text ? yamlValue(*text, {}, key) : QString();
}

void addBottlesIn(Places& places, const QString& folder) {
    for (const QString& name : namesIn(folder, Kind::Folder)) {
        const QString bottle = folder + u'/' + name;
        const QString moved = fileValue(bottle + u"/placeholder.yml", "Path");
        const QString real = moved.isEmpty() ? bottle : expandHome(moved, places.home());
        const QString title = fileValue(real + u"/bottle.yml", "Name");
        places.add(title.isEmpty() ? name : title, u"Bottles", places.homely(folder),
                   prefixDrive(real));
    }
}

} // namespace

void findBottles(Places& places) {
    for (const char* data :
         {"/.local/share/bottles", "/.var/app/com.usebottles.bottles/data/bottles"}) {
        const QString root = places.home() + QLatin1StringView(data);
        addBottlesIn(places, root + u"/bottles");
        const QString custom = fileValue(root + u"/data.yml", "custom_bottles_path");
        if (!custom.isEmpty())
            addBottlesIn(places, expandHome(custom, places.home()));
    }
}

} // namespace tunevane::games
