// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Heroic: the games of each store it installs from (Epic through legendary, GOG, Amazon
// through nile) and those added by hand, and the Wine prefix each one runs in.
#include "games/Disk.h"
#include "games/Log.h"
#include "games/Places.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

namespace tunevane::games {

namespace {

struct Installed {
    QString app;
    QString title;
    QString folder;
    QString store;
};

class HeroicFinder {
public:
    HeroicFinder(Places& places, const QString& config) : m_places(places), m_config(config) {}

    void find() {
        if (const auto settings = json(u"config.json"))
            m_defaultPrefix = home(settings->object()
                                       .value(u"defaultSettings")
                                       .toObject()
                                       .value(u"winePrefix")
                                       .toString());
        readEpic();
        readGog();
        readAmazon();
        readSideloaded();
        for (const Installed& game : std::as_const(m_games))
            add(game);
    }

private:
    Result<QJsonDocument> json(QStringView file) const {
        return readJson(m_config + u'/' + file, "Heroic file");
    }
    QString home(const QString& path) const { return expandHome(path, m_places.home()); }

    // Titles of a store's library: `key` holds the entries, each with app_name and title.
    QHash<QString, QString> titles(QStringView file, QStringView key) const {
        QHash<QString, QString> found;
        if (const auto library = json(file)) {
            for (const QJsonValue entry : library->object().value(key).toArray()) {
                const QJsonObject game = entry.toObject();
                found.insert(game.value(u"app_name").toString(), game.value(u"title").toString());
            }
        }
        return found;
    }

    void readEpic() {
        const auto installed = json(u"legendaryConfig/legendary/installed.json");
        const QJsonObject games = installed ? installed->object() : QJsonObject();
        for (auto it = games.begin(); it != games.end(); ++it) {
            const QJsonObject game = it->toObject();
            if (!game.value(u"is_dlc").toBool())
                m_games.append({it.key(), game.value(u"title").toString(),
                                home(game.value(u"install_path").toString()),
                                QStringLiteral("Epic")});
        }
    }

    void readGog() {
        const auto installed = json(u"gog_store/installed.json");
        if (!installed)
            return;
        const QHash<QString, QString> names = titles(u"store_cache/gog_library.json", u"games");
        for (const QJsonValue entry : installed->object().value(u"installed").toArray()) {
            const QJsonObject game = entry.toObject();
            const QString app = game.value(u"appName").toString();
            if (!game.value(u"is_dlc").toBool())
                m_games.append({app, names.value(app), home(game.value(u"install_path").toString()),
                                QStringLiteral("GOG")});
        }
    }

    void readAmazon() {
        const auto installed = json(u"nile_config/nile/installed.json");
        if (!installed)
            return;
        const QHash<QString, QString> names = titles(u"store_cache/nile_library.json", u"library");
        for (const QJsonValue entry : installed->array()) {
            const QJsonObject game = entry.toObject();
            const QString app = game.value(u"id").toString();
            m_games.append({app, names.value(app), home(game.value(u"path").toString()),
                            QStringLiteral("Amazon")});
        }
    }

    void readSideloaded() {
        const auto library = json(u"sideload_apps/library.json");
        if (!library)
            return;
        for (const QJsonValue entry : library->object().value(u"games").toArray()) {
            const QJsonObject game = entry.toObject();
            const QString executable =
                home(game.value(u"install").toObject().value(u"executable").toString());
            if (executable.startsWith(u'/'))
                m_games.append({game.value(u"app_name").toString(), game.value(u"title").toString(),
                                executable.section(u'/', 0, -2), QStringLiteral("added by hand")});
        }
    }

    // The game's own prefix setting, else one named after it in the default folder.
    QString prefixOf(const Installed& game, const QString& title) const {
        QStringList candidates;
        if (!game.app.isEmpty() && !game.app.contains(u'/')) {
            if (const auto settings = json(QString(u"GamesConfig/" + game.app + u".json")))
                candidates.append(home(
                    settings->object().value(game.app).toObject().value(u"winePrefix").toString()));
        }
        if (!m_defaultPrefix.isEmpty())
            candidates.append(m_defaultPrefix + u'/' + title);
        candidates.append(m_places.home() + u"/Games/Heroic/Prefixes/" + title);
        for (const QString& prefix : std::as_const(candidates)) {
            const QString drive = prefix.startsWith(u'/') ? prefixDrive(prefix) : QString();
            if (!drive.isEmpty())
                return drive;
        }
        return {};
    }

    void add(const Installed& game) {
        if (!game.folder.startsWith(u'/'))
            return;
        const QString folder = realFolder(game.folder);
        const QString title = !game.title.trimmed().isEmpty() ? game.title.trimmed()
                              : !game.app.isEmpty()           ? game.app
                                                              : game.folder.section(u'/', -1);
        if (folder.isEmpty())
            qCInfo(lcGames, "Heroic game %s at %s is missing or not mounted",
                   shown(title).constData(), shown(game.folder).constData());
        m_places.add(title, u"Heroic", game.store, folder);
        if (!title.contains(u'/'))
            m_places.add(title, u"Wine C:", QStringLiteral("Heroic"), prefixOf(game, title));
    }

    Places& m_places;
    QString m_config;
    QString m_defaultPrefix;
    QList<Installed> m_games;
};

} // namespace

void findHeroic(Places& places) {
    QStringList seen;
    for (const char* config :
         {"/.config/heroic", "/.var/app/com.heroicgameslauncher.hgl/config/heroic"}) {
        const QString real = realFolder(places.home() + QLatin1StringView(config));
        if (!real.isEmpty() && !seen.contains(real)) {
            seen.append(real);
            HeroicFinder(places, real).find();
        }
    }
}

} // namespace tunevane::games
