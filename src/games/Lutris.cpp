// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lutris: the folder of each installed game in its database, and the Wine prefix it runs in.
// Games Lutris starts through Steam are Steam's.
#include "files/Path.h"
#include "games/Database.h"
#include "games/Disk.h"
#include "games/Log.h"
#include "games/Places.h"

#include <QStringView>

namespace tunevane::games {

namespace {

// `pga_path` of lutris.conf, an INI file: the database or the folder that holds it.
QString databaseSetting(const QString& config) {
    const auto text = readBounded(config + u"/lutris.conf", 1 << 20, "Lutris settings");
    for (const QByteArray& line : text ? text->split('\n') : QList<QByteArray>()) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.startsWith("pga_path"))
            continue;
        const QByteArray rest = trimmed.sliced(8).trimmed();
        if (rest.startsWith('=') || rest.startsWith(':'))
            return QString::fromUtf8(rest.sliced(1).trimmed());
    }
    return {};
}

// The folder above the game's, or the game's own, that is a prefix; the home folder ends the
// climb.
QString prefixAbove(QString folder, const QString& home) {
    while (folder.startsWith(u'/') && folder != home && folder.count(u'/') > 1) {
        const QString drive = prefixDrive(folder);
        if (!drive.isEmpty())
            return drive;
        folder = folder.section(u'/', 0, -2);
    }
    return {};
}

void findIn(Places& places, const QString& data, const QString& config) {
    const QString& home = places.home();
    QString path = expandHome(databaseSetting(config), home);
    if (path.isEmpty())
        path = data + u"/pga.db";
    else if (!realFolder(path).isEmpty())
        path += u"/pga.db";
    const Result<Database> database = Database::open(path, "Lutris database");
    if (!database)
        return;
    const auto games = database->rows(
        "SELECT name, runner, directory, configpath FROM games WHERE installed = 1", 4);
    if (!games)
        return;
    const QString configs = (realFolder(config).isEmpty() ? data : config) + u"/games/";
    for (const QStringList& game : *games) {
        const QString& name = game[0];
        const QString directory = expandHome(game[2], home);
        if (game[1] == u"steam" || !directory.startsWith(u'/'))
            continue;
        const QString folder = realFolder(directory);
        if (folder.isEmpty())
            qCInfo(lcGames, "Lutris game %s at %s is missing or not mounted",
                   shown(name).constData(), shown(directory).constData());
        places.add(name, u"Lutris", places.homely(data), folder);
        QString drive;
        if (files::isBareName(game[3])) {
            const auto yml = readBounded(configs + game[3] + u".yml", 1 << 20, "Lutris game");
            const QString prefix =
                yml ? expandHome(yamlValue(*yml, "game", "prefix"), home) : QString();
            drive = prefix.startsWith(u'/') ? prefixDrive(prefix) : QString();
        }
        if (drive.isEmpty() && !folder.isEmpty())
            drive = prefixAbove(folder, home);
        places.add(name, u"Wine C:", QStringLiteral("Lutris"), drive);
    }
}

} // namespace

void findLutris(Places& places) {
    const QString& home = places.home();
    findIn(places, home + u"/.local/share/lutris", home + u"/.config/lutris");
    findIn(places, home + u"/.var/app/net.lutris.Lutris/data/lutris",
           home + u"/.var/app/net.lutris.Lutris/config/lutris");
}

} // namespace tunevane::games
