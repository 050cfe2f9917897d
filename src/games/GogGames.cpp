// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// GOG games installed without a launcher, by minigalaxy: each game's folder, and the Wine
// prefix it keeps for a Windows game.
#include "games/Disk.h"
#include "games/Places.h"

#include <QJsonObject>

namespace tunevane::games {

void findGogGames(Places& places) {
    const QString& home = places.home();
    const QString configPath = home + u"/.config/minigalaxy/config.json";
    QString folder = home + u"/GOG Games";
    if (const Result<QJsonDocument> config = readJson(configPath, "minigalaxy settings")) {
        const QString chosen = config->object().value(u"install_dir").toString();
        if (!chosen.isEmpty())
            folder = expandHome(chosen, home);
    }
    const QString real = realFolder(folder);
    for (const QString& name : namesIn(real, Kind::Folder)) {
        const QString game = real + u'/' + name;
        // The installer's own record: the title on its first line.
        const Result<QByteArray> info = readBounded(game + u"/gameinfo", 1 << 16, nullptr);
        QString title =
            info ? QString::fromUtf8(info->left(info->indexOf('\n'))).trimmed() : QString();
        if (title.isEmpty())
            title = name;
        places.add(title, u"GOG", places.homely(real), realEntry(real, name));
        places.add(title, u"Wine C:", QStringLiteral("GOG"), prefixDrive(game + u"/prefix"));
    }
}

} // namespace tunevane::games
