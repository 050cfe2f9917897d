// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/GamePlaces.h"
#include "games/Disk.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace tunevane::games;

class GamePlacesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QString m_root;
    QHash<QString, QList<GamePlace>> m_found;

    bool put(QAnyStringView path, const QByteArray& text) {
        QFile file(m_root + u'/' + path.toString());
        return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
               file.write(text) == text.size();
    }
    bool game(QStringView library, const char* id, const char* name) {
        return QDir(m_root).mkpath(library + u"/steamapps/common/" + QLatin1StringView(name)) &&
               put(library + u"/steamapps/appmanifest_" + QLatin1StringView(id) + u".acf",
                   "\"AppState\" { \"appid\" \"" + QByteArray(id) + "\" \"name\" \"" + name +
                       "\" \"installdir\" \"" + name + "\" }");
    }
    bool folders(std::initializer_list<QAnyStringView> paths) {
        return std::all_of(paths.begin(), paths.end(), [&](QAnyStringView path) {
            return QDir(m_root).mkpath(path.toString());
        });
    }

    // Binary KeyValues entries: a string, an int32, or a map of entries.
    static QByteArray text(const char* key, const QByteArray& value) {
        return '\x01' + QByteArray(key) + '\0' + value + '\0';
    }
    static QByteArray map(const char* key, const QByteArray& entries) {
        return '\0' + QByteArray(key) + '\0' + entries + '\x08';
    }
    bool sql(QAnyStringView path, const char* statements, sqlite3** keep = nullptr) {
        sqlite3* db = nullptr;
        const QString file = m_root + path.toString();
        const bool ok = QDir().mkpath(QFileInfo(file).path()) &&
                        sqlite3_open(qPrintable(file), &db) == SQLITE_OK &&
                        sqlite3_exec(db, statements, nullptr, nullptr, nullptr) == SQLITE_OK;
        keep ? void(*keep = db) : void(sqlite3_close(db));
        return ok;
    }

private Q_SLOTS:
    // A home per launcher, each with its traps; "steam" has Steam installed every way,
    // libraries on other disks, and Wine prefixes.
    void initTestCase() {
        m_root = QDir(m_temp.path()).canonicalPath();
        const QString native = QStringLiteral("steam/.local/share/Steam");
        const QString debian = QStringLiteral("steam/.steam/debian-installation");
        const QString flatpak = QStringLiteral("steam/.var/app/com.valvesoftware.Steam/data/Steam");
        const QString other = QStringLiteral("disk/SteamLibrary");
        const QByteArray root = m_root.toUtf8();
        QVERIFY(
            put(native + u"/steamapps/libraryfolders.vdf",
                QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"@/steam/.local/share/Steam\" }"
                           "\"1\" { \"path\" \"@/disk/SteamLibrary/\" } \"2\" { \"path\" "
                           "\"@/unmounted\" } \"3\" { \"path\" \"@/gone\" } \"4\" { \"path\" "
                           "\"@/DISK/oldlibrary\" } }")
                    .replace('@', root)));
        QVERIFY(put(debian + u"/steamapps/libraryfolders.vdf",
                    "\"libraryfolders\" { \"1\" \"" + root + "/disk/SteamLibrary\" }"));
        QVERIFY(put(flatpak + u"/steamapps/libraryfolders.vdf",
                    "\"libraryfolders\" { \"1\" \"/home/u/Sandboxed\" }"));
        QVERIFY(game(native, "10", "Some Game") && game(debian, "20", "Debian Game") &&
                game(flatpak, "30", "Flatpak Game") && game(other, "50", "Other Disk Game") &&
                game(u"steam/snap/steam/common/.local/share/Steam", "40", "Snap Game") &&
                game(u"steam/.snap/data/steam/common/.local/share/Steam", "41", "Hidden Snap") &&
                game(u"steam/.var/app/com.valvesoftware.Steam/Sandboxed", "60", "Sandbox Game") &&
                game(native, "1493710", "Proton Experimental") &&
                game(native, "70", "SteamLinuxRuntime_sniper") && game(other, "80", "Okami"));
        QVERIFY(QDir(m_root).rename(other + u"/steamapps/common/Okami",
                                    other + u"/steamapps/common/Ōkami HD"));
        QVERIFY(put(other + u"/steamapps/appmanifest_80.acf",
                    "AppState { appid 80 name \"Ōkami HD\" installdir \"Ōkami HD\" }"));
        QVERIFY(folders({u"disk/oldLibrary/SteamApps/common/x"}));
        QVERIFY(put(u"disk/oldLibrary/SteamApps/appmanifest_90.acf",
                    "AppState { appid 90 name \"Old Case\" installdir x }"));
        QVERIFY(put(native + u"/steamapps/appmanifest_11.acf", "\"AppState\" { \"name\" \"B"));
        QVERIFY(put(native + u"/steamapps/appmanifest_12.acf",
                    "\"AppState\" { \"installdir\" \"../../..\" }"));
        QVERIFY(::mkfifo(qPrintable(m_root + u'/' + native + u"/steamapps/appmanifest_13.acf"),
                         0600) == 0);
        QVERIFY(put(
            native + u"/userdata/7/config/shortcuts.vdf",
            map("shortcuts", map("0", text("AppName", "Old Shortcut") + text("Exe", "\"foo.exe\"") +
                                          text("StartDir", "\"" + root + "/shortcut\"")) +
                                 map("1", QByteArrayLiteral("\x02"
                                                            "appid\0\xfb\xff\xff\xff") +
                                              text("appname", "New Shortcut"))) +
                '\x08'));
        for (const char* id : {"0", "4009162612", "4294967291", "99", "10", "1493710"})
            QVERIFY(folders(
                {native + u"/steamapps/compatdata/" + QLatin1StringView(id) + u"/pfx/drive_c"}));
        QVERIFY(folders({u"unmounted", u"steam/.var/app/com.valvesoftware.Steam/.local/share",
                         u"shortcut", other + u"/steamapps/compatdata/10/pfx/drive_c",
                         u"steam/.wine/drive_c", u"prefix/drive_c",
                         u"steam/.local/share/bottles/bottles/Bottle/drive_c",
                         u"steam/Games/lutris-game/drive_c", u"steam/Games/no-registry/drive_c",
                         u"steam/Games/Heroic/Prefixes/default/Heroic Game/drive_c",
                         u"steam/Games/a/b/c/d/too-deep/drive_c"}));
        QVERIFY(QFile::link(m_root + u'/' + debian, m_root + u"/steam/.steam/steam"));
        QVERIFY(
            QFile::link(m_root + u'/' + flatpak,
                        m_root + u"/steam/.var/app/com.valvesoftware.Steam/.local/share/Steam"));
        for (const char* prefix :
             {"lutris-game", "Heroic/Prefixes/default/Heroic Game", "a/b/c/d/too-deep"})
            QVERIFY(put(u"steam/Games/" + QLatin1StringView(prefix) + u"/system.reg", ""));

        // Heroic: Epic with a DLC and a "~" path, GOG, an unmounted Amazon game, one added by
        // hand; in the Flatpak folder a damaged and an oversized file.
        const QString heroic = QStringLiteral("heroic/.config/heroic/");
        QVERIFY(put(heroic + u"legendaryConfig/legendary/installed.json",
                    R"({"C": {"title": "Celeste", "install_path": "~/Games/Celeste"},
                        "D": {"title": "Celeste DLC", "install_path": "~/Games", "is_dlc": true}})"));
        QVERIFY(put(heroic + u"gog_store/installed.json",
                    R"({"installed": [{"appName": "1", "install_path": "~/GOG/Owl"}]})") &&
                put(heroic + u"store_cache/gog_library.json",
                    R"({"games": [{"app_name": "1", "title": "Owlboy"}]})"));
        QVERIFY(put(heroic + u"nile_config/nile/installed.json",
                    "[{\"id\": \"A\", \"path\": \"" + root + "/run/media/u/Disk/Amz\"}]"));
        QVERIFY(
            put(heroic + u"sideload_apps/library.json",
                R"({"games": [{"title": "Mine", "install": {"executable": "~/mine/run.sh"}}]})"));
        QVERIFY(put(heroic + u"config.json",
                    R"({"defaultSettings": {"winePrefix": "~/Games/Heroic/Prefixes/default"}})"));
        QVERIFY(put(heroic + u"GamesConfig/1.json", R"({"1": {"winePrefix": "~/owl"}})"));
        const QString sandbox =
            QStringLiteral("heroic/.var/app/com.heroicgameslauncher.hgl/config/heroic/");
        QVERIFY(put(sandbox + u"gog_store/installed.json", "{\"installed\": [{"));
        QVERIFY(put(sandbox + u"legendaryConfig/legendary/installed.json", "{}") &&
                QFile::resize(m_root + u'/' + sandbox + u"legendaryConfig/legendary/installed.json",
                              launcherFileMaxBytes + 1));
        QVERIFY(folders({u"heroic/Games/Celeste", u"heroic/GOG/Owl", u"heroic/mine",
                         u"heroic/Games/Heroic/Prefixes/default/Celeste/drive_c",
                         u"heroic/owl/pfx/drive_c"}));

        // Lutris, its database held by another connection's exclusive lock.
        QVERIFY(folders({u"lutris/Games/wine/drive_c", u"lutris/Games/wine/drive_c/Game",
                         u"lutris/Games/native", u"lutris/elsewhere/drive_c"}));
        QVERIFY(put(u"lutris/.config/lutris/games/n-1.yml",
                    "game:\n  exe: x\n  prefix: '~/elsewhere'\nsystem: {}\n"));
        const QByteArray lutris =
            "CREATE TABLE games (id INTEGER, name TEXT, slug TEXT, runner TEXT, directory TEXT, "
            "installed INTEGER, configpath TEXT); INSERT INTO games VALUES "
            "(1, 'Native', 'n', 'linux', '@/lutris/Games/native', 1, 'n-1'),"
            "(2, 'Windows', 'w', 'wine', '@/lutris/Games/wine/drive_c/Game', 1, 'w-2'),"
            "(3, 'Gone', 'g', 'wine', '@/lutris/Games/native', 0, ''),"
            "(4, 'Via Steam', 's', 'steam', '@/lutris/Games/wine', 1, '');";
        sqlite3* holder = nullptr;
        QVERIFY(sql(u"/lutris/.local/share/lutris/pga.db",
                    QByteArray(lutris).replace('@', root).constData()) &&
                sql(u"/lutris/.local/share/lutris/pga.db", "BEGIN EXCLUSIVE", &holder));

        // Bottles: one moved by Bottles, one in the Flatpak folder, one in a custom folder.
        const QString bottles = QStringLiteral("bottles/.local/share/bottles/");
        QVERIFY(put(bottles + u"bottles/Moved/placeholder.yml", "Path: ~/moved/Moved\n") &&
                put(bottles + u"data.yml", "custom_bottles_path: ~/mine\n") &&
                put(u"bottles/mine/Custom/bottle.yml", "Name: My Custom\nRunner: x\n"));
        QVERIFY(folders(
            {u"bottles/moved/Moved/drive_c", u"bottles/mine/Custom/drive_c",
             u"bottles/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat/drive_c"}));
        // A settings file that names itself, which no open gets past.
        QVERIFY(QFile::link(QStringLiteral("data.yml"),
                            m_root +
                                u"/bottles/.var/app/com.usebottles.bottles/data/bottles/data.yml"));

        // Other prefixes, umu's `pfx` that links back to its own prefix; minigalaxy; itch.
        QVERIFY(folders({u"wine/.local/share/wineprefixes/tricks/drive_c",
                         u"wine/.PlayOnLinux/wineprefix/pol/drive_c", u"wine/Games/umu/drive_c",
                         u"gog/My GOG/Game/prefix/drive_c", u"itch/apps/cave", u"itch/custom"}));
        QVERIFY(put(u"wine/Games/umu/system.reg", "") &&
                QFile::link(QStringLiteral("."), m_root + u"/wine/Games/umu/pfx"));
        QVERIFY(put(u"gog/.config/minigalaxy/config.json", R"({"install_dir": "~/My GOG"})") &&
                put(u"gog/My GOG/Game/gameinfo", "Broken Age\n1.0\n"));
        QVERIFY(
            sql(u"/itch/.config/itch/db/butler.db",
                QByteArray("CREATE TABLE games (id, title); CREATE TABLE install_locations (id, "
                           "path); CREATE TABLE caves (id, game_id, install_location_id, "
                           "install_folder_name, custom_install_folder); INSERT INTO games "
                           "VALUES (1, 'Itchy'), (2, 'Custom'); INSERT INTO install_locations "
                           "VALUES (1, '@/itch/apps'); INSERT INTO caves VALUES (1, 1, 1, "
                           "'cave', NULL), (2, 2, 1, 'x', '@/itch/custom');")
                    .replace('@', root)
                    .constData()));
        QVERIFY(put(u"itch/.var/app/io.itch.itch/config/itch/db/butler.db", QByteArray(1024, 'x')));

        // Each file left out is logged once, with the system's reason or the file's fault;
        // one that is not there, as most launchers' files are not, never.
        QLoggingCategory::setFilterRules(QStringLiteral("tunevane.games.warning=true"));
        const QString manifest = m_root + u'/' + native + u"/steamapps/appmanifest_";
        const QString heroicFile = u"Heroic file " + m_root + u'/' + sandbox;
        for (const QString& line : std::initializer_list<QString>{
                 u"Steam manifest " + manifest + u"11.acf left out: broken at byte 22",
                 u"Steam manifest " + manifest +
                     u"12.acf left out: no AppState block with a bare installdir",
                 u"Steam manifest " + manifest + u"13.acf left out: not a regular file",
                 heroicFile +
                     u"legendaryConfig/legendary/installed.json left out: over 16777216 bytes",
                 heroicFile +
                     u"gog_store/installed.json left out: damaged at byte 16: unterminated object",
                 u"Bottles file " + m_root +
                     u"/bottles/.var/app/com.usebottles.bottles/data/bottles/data.yml left out: " +
                     QString::fromLocal8Bit(std::strerror(ELOOP)),
                 u"itch database " + m_root +
                     u"/itch/.var/app/io.itch.itch/config/itch/db/butler.db left out: file is not "
                     u"a database"})
            QTest::ignoreMessage(QtWarningMsg, qPrintable(line));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(" left out: ")));
        for (const char* home : {"steam", "heroic", "lutris", "bottles", "wine", "gog", "itch"})
            m_found[QLatin1StringView(home)] =
                findGamePlaces(m_root + u'/' + QLatin1StringView(home), m_root + u"/prefix");
        sqlite3_close(holder);
    }

    void everyPlaceOnce_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        // In order for each home; a row without a path names the next home, "@" the root.
        static const std::pair<QStringView, QStringView> rows[] = {
            {u"steam", u""},
            {u"Bottle (Bottles)", u"/steam/.local/share/bottles/bottles/Bottle/drive_c"},
            {u"Debian Game (Steam)",
             u"/steam/.steam/debian-installation/steamapps/common/Debian Game"},
            {u"Flatpak Game (Steam)",
             u"/steam/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Flatpak Game"},
            {u"Heroic Game (Wine C:)", u"/steam/Games/Heroic/Prefixes/default/Heroic Game/drive_c"},
            {u"Hidden Snap (Steam)",
             u"/steam/.snap/data/steam/common/.local/share/Steam/steamapps/common/Hidden Snap"},
            {u"lutris-game (Wine C:)", u"/steam/Games/lutris-game/drive_c"},
            {u"New Shortcut (Proton C:)",
             u"/steam/.local/share/Steam/steamapps/compatdata/4294967291/pfx/drive_c"},
            {u"Ōkami HD (Steam)", u"/disk/SteamLibrary/steamapps/common/Ōkami HD"},
            {u"Old Case (Steam)", u"/disk/oldLibrary/SteamApps/common/x"},
            {u"Old Shortcut (Proton C:)",
             u"/steam/.local/share/Steam/steamapps/compatdata/4009162612/pfx/drive_c"},
            {u"Old Shortcut (Steam)", u"/shortcut"},
            {u"Other Disk Game (Steam)", u"/disk/SteamLibrary/steamapps/common/Other Disk Game"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"Sandbox Game (Steam)",
             u"/steam/.var/app/com.valvesoftware.Steam/Sandboxed/steamapps/common/Sandbox Game"},
            {u"Snap Game (Steam)",
             u"/steam/snap/steam/common/.local/share/Steam/steamapps/common/Snap Game"},
            {u"Some Game (Proton C:, @/disk/SteamLibrary)",
             u"/disk/SteamLibrary/steamapps/compatdata/10/pfx/drive_c"},
            {u"Some Game (Proton C:, ~/.local/share/Steam)",
             u"/steam/.local/share/Steam/steamapps/compatdata/10/pfx/drive_c"},
            {u"Some Game (Steam)", u"/steam/.local/share/Steam/steamapps/common/Some Game"},
            {u"Unnamed game 99 (Proton C:)",
             u"/steam/.local/share/Steam/steamapps/compatdata/99/pfx/drive_c"},
            {u"Wine (Wine C:)", u"/steam/.wine/drive_c"},
            {u"", u""},
            {u"heroic", u""},
            {u"Celeste (Heroic)", u"/heroic/Games/Celeste"},
            {u"Celeste (Wine C:)", u"/heroic/Games/Heroic/Prefixes/default/Celeste/drive_c"},
            {u"Mine (Heroic)", u"/heroic/mine"},
            {u"Owlboy (Heroic)", u"/heroic/GOG/Owl"},
            {u"Owlboy (Wine C:)", u"/heroic/owl/pfx/drive_c"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"", u""},
            {u"lutris", u""},
            {u"Native (Lutris)", u"/lutris/Games/native"},
            {u"Native (Wine C:)", u"/lutris/elsewhere/drive_c"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"Windows (Lutris)", u"/lutris/Games/wine/drive_c/Game"},
            {u"Windows (Wine C:)", u"/lutris/Games/wine/drive_c"},
            {u"", u""},
            {u"bottles", u""},
            {u"Flat (Bottles)",
             u"/bottles/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat/drive_c"},
            {u"Moved (Bottles)", u"/bottles/moved/Moved/drive_c"},
            {u"My Custom (Bottles)", u"/bottles/mine/Custom/drive_c"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"", u""},
            {u"wine", u""},
            {u"pol (Wine C:)", u"/wine/.PlayOnLinux/wineprefix/pol/drive_c"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"tricks (Wine C:)", u"/wine/.local/share/wineprefixes/tricks/drive_c"},
            {u"umu (Wine C:)", u"/wine/Games/umu/drive_c"},
            {u"", u""},
            {u"gog", u""},
            {u"Broken Age (GOG)", u"/gog/My GOG/Game"},
            {u"Broken Age (Wine C:)", u"/gog/My GOG/Game/prefix/drive_c"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"", u""},
            {u"itch", u""},
            {u"Custom (itch)", u"/itch/custom"},
            {u"Itchy (itch)", u"/itch/apps/cave"},
            {u"prefix (Wine C:)", u"/prefix/drive_c"},
            {u"", u""},
        };
        QString home;
        int index = 0;
        for (const auto& [row, path] : rows) {
            const QString name = row.toString().replace(u'@', m_root);
            if (!name.isEmpty() && path.isEmpty()) {
                home = name;
                index = 0;
                continue;
            }
            QTest::addRow("%s %d %s", qPrintable(home), index, qPrintable(name))
                << home << index << name << (path.isEmpty() ? QString() : m_root + path);
            ++index;
        }
    }

    void everyPlaceOnce() {
        QFETCH(QString, home);
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(m_found.value(home).value(index).name, name);
        QCOMPARE(m_found.value(home).value(index).path, path);
    }
};

QTEST_APPLESS_MAIN(GamePlacesTest)
#include "GamePlacesTest.moc"
