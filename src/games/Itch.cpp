// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// itch: each installed game ("cave") in the app's database, in its install location or the
// folder chosen for it.
#include "files/Path.h"
#include "games/Database.h"
#include "games/Disk.h"
#include "games/Places.h"

namespace tunevane::games {

void findItch(Places& places) {
    for (const char* config : {"/.config/itch", "/.var/app/io.itch.itch/config/itch"}) {
        const Result<Database> database = Database::open(
            places.home() + QLatin1StringView(config) + u"/db/butler.db", "itch database");
        if (!database)
            continue;
        const auto caves = database->rows(
            "SELECT coalesce(g.title, ''), c.install_folder_name, c.custom_install_folder, l.path "
            "FROM caves c LEFT JOIN install_locations l ON l.id = c.install_location_id "
            "LEFT JOIN games g ON g.id = c.game_id",
            4);
        for (const QStringList& cave : caves ? *caves : QList<QStringList>()) {
            const QString folder = !cave[2].isEmpty() ? cave[2]
                                   : files::isBareName(cave[1]) && !cave[3].isEmpty()
                                       ? cave[3] + u'/' + cave[1]
                                       : QString();
            const QString real = folder.startsWith(u'/') ? realFolder(folder) : QString();
            places.add(cave[0].isEmpty() ? cave[1] : cave[0], u"itch", places.homely(cave[3]),
                       real);
        }
    }
}

} // namespace tunevane::games
