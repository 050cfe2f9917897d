#include "games/GamePlaces.h"
#include "games/Disk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace tunevane::games;
using namespace Qt::StringLiterals;

class GamePlacesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QString m_root;
    QHash<QString, QList<GamePlace>> m_found;

    bool put(const QString& path, const QByteArray& text) {
        QFile file(m_root + u'/' + path);
        return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
               file.write(text) == text.size();
    }
    bool game(const QString& library, const char* id, const char* name) {
        return QDir(m_root).mkpath(library + u"/steamapps/common/"_s + QLatin1StringView(name)) &&
               put(library + u"/steamapps/appmanifest_"_s + QLatin1StringView(id) + u".acf"_s,
                   "\"AppState\" { \"appid\" \"" + QByteArray(id) + "\" \"name\" \"" + name +
                       "\" \"installdir\" \"" + name + "\" }");
    }
    bool folders(const QStringList& paths) {
        return std::all_of(paths.begin(), paths.end(),
                           [&](const QString& path) { return QDir(m_root).mkpath(path); });
    }

    // Binary KeyValues entries: a string, an int32, or a map of entries.
    static QByteArray text(const char* key, const QByteArray& value) {
        return '\x01' + QByteArray(key) + '\0' + value + '\0';
    }
    static QByteArray map(const char* key, const QByteArray& entries) {
        return '\0' + QByteArray(key) + '\0' + entries + '\x08';
    }
    bool sql(const QString& path, const char* statements, sqlite3** keep = nullptr) {
        sqlite3* db = nullptr;
        const bool ok = QDir().mkpath(QFileInfo(m_root + path).path()) &&
                        sqlite3_open(qPrintable(m_root + path), &db) == SQLITE_OK &&
                        sqlite3_exec(db, statements, nullptr, nullptr, nullptr) == SQLITE_OK;
        keep ? void(*keep = db) : void(sqlite3_close(db));
        return ok;
    }

private Q_SLOTS:
    // A home per launcher, each with its traps; "steam" has Steam installed every way,
    // libraries on other disks, and Wine prefixes.
    void initTestCase() {
        m_root = QDir(m_temp.path()).canonicalPath();
        const QString native = u"steam/.local/share/Steam"_s;
        const QString debian = u"steam/.steam/debian-installation"_s;
        const QString flatpak = u"steam/.var/app/com.valvesoftware.Steam/data/Steam"_s;
        const QString other = u"disk/SteamLibrary"_s;
        const QByteArray root = m_root.toUtf8();
        QVERIFY(
            put(native + u"/steamapps/libraryfolders.vdf"_s,
                QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"@/steam/.local/share/Steam\" }"
                           "\"1\" { \"path\" \"@/disk/SteamLibrary/\" } \"2\" { \"path\" "
                           "\"@/unmounted\" } \"3\" { \"path\" \"@/gone\" } \"4\" { \"path\" "
                           "\"@/DISK/oldlibrary\" } }")
                    .replace('@', root)));
        QVERIFY(put(debian + u"/steamapps/libraryfolders.vdf"_s,
                    "\"libraryfolders\" { \"1\" \"" + root + "/disk/SteamLibrary\" }"));
        QVERIFY(put(flatpak + u"/steamapps/libraryfolders.vdf"_s,
                    "\"libraryfolders\" { \"1\" \"/home/u/Sandboxed\" }"));
        QVERIFY(game(native, "10", "Some Game") && game(debian, "20", "Debian Game") &&
                game(flatpak, "30", "Flatpak Game") && game(other, "50", "Other Disk Game") &&
                game(u"steam/snap/steam/common/.local/share/Steam"_s, "40", "Snap Game") &&
                game(u"steam/.snap/data/steam/common/.local/share/Steam"_s, "41", "Hidden Snap") &&
                game(u"steam/.var/app/com.valvesoftware.Steam/Sandboxed"_s, "60", "Sandbox Game") &&
                game(native, "1493710", "Proton Experimental") &&
                game(native, "70", "SteamLinuxRuntime_sniper") && game(other, "80", "Okami"));
        QVERIFY(QDir(m_root).rename(other + u"/steamapps/common/Okami"_s,
                                    other + u"/steamapps/common/Ōkami HD"_s));
        QVERIFY(put(other + u"/steamapps/appmanifest_80.acf"_s,
                    "AppState { appid 80 name \"Ōkami HD\" installdir \"Ōkami HD\" }"));
        QVERIFY(folders({u"disk/oldLibrary/SteamApps/common/x"_s}));
        QVERIFY(put(u"disk/oldLibrary/SteamApps/appmanifest_90.acf"_s,
                    "AppState { appid 90 name \"Old Case\" installdir x }"));
        QVERIFY(put(native + u"/steamapps/appmanifest_11.acf"_s, "\"AppState\" { \"name\" \"B"));
        QVERIFY(put(native + u"/steamapps/appmanifest_12.acf"_s,
                    "\"AppState\" { \"installdir\" \"../../..\" }"));
        QVERIFY(::mkfifo(qPrintable(m_root + u'/' + native + u"/steamapps/appmanifest_13.acf"_s),
                         0600) == 0);
        QVERIFY(put(
            native + u"/userdata/7/config/shortcuts.vdf"_s,
            map("shortcuts", map("0", text("AppName", "Old Shortcut") + text("Exe", "\"foo.exe\"") +
                                          text("StartDir", "\"" + root + "/shortcut\"")) +
                                 map("1", "\x02"
                                          "appid\0\xfb\xff\xff\xff"_ba +
                                              text("appname", "New Shortcut"))) +
                '\x08'));
        for (const char* id : {"0", "4009162612", "4294967291", "99", "10", "1493710"})
            QVERIFY(folders({native + u"/steamapps/compatdata/"_s + QLatin1StringView(id) +
                             u"/pfx/drive_c"_s}));
        QVERIFY(folders({u"unmounted"_s, u"steam/.var/app/com.valvesoftware.Steam/.local/share"_s,
                         u"shortcut"_s, other + u"/steamapps/compatdata/10/pfx/drive_c"_s,
                         u"steam/.wine/drive_c"_s, u"prefix/drive_c"_s,
                         u"steam/.local/share/bottles/bottles/Bottle/drive_c"_s,
                         u"steam/Games/lutris-game/drive_c"_s, u"steam/Games/no-registry/drive_c"_s,
                         u"steam/Games/Heroic/Prefixes/default/Heroic Game/drive_c"_s,
                         u"steam/Games/a/b/c/d/too-deep/drive_c"_s}));
        QVERIFY(QFile::link(m_root + u'/' + debian, m_root + u"/steam/.steam/steam"_s));
        QVERIFY(
            QFile::link(m_root + u'/' + flatpak,
                        m_root + u"/steam/.var/app/com.valvesoftware.Steam/.local/share/Steam"_s));
        for (const char* prefix :
             {"lutris-game", "Heroic/Prefixes/default/Heroic Game", "a/b/c/d/too-deep"})
            QVERIFY(put(u"steam/Games/"_s + QLatin1StringView(prefix) + u"/system.reg"_s, ""));

        // Heroic: Epic with a DLC and a "~" path, GOG, an unmounted Amazon game, one added by
        // hand; in the Flatpak folder a damaged and an oversized file.
        const QString heroic = u"heroic/.config/heroic/"_s;
        QVERIFY(put(heroic + u"legendaryConfig/legendary/installed.json"_s,
                    R"({"C": {"title": "Celeste", "install_path": "~/Games/Celeste"},
                        "D": {"title": "Celeste DLC", "install_path": "~/Games", "is_dlc": true}})"));
        QVERIFY(put(heroic + u"gog_store/installed.json"_s,
                    R"({"installed": [{"appName": "1", "install_path": "~/GOG/Owl"}]})") &&
                put(heroic + u"store_cache/gog_library.json"_s,
                    R"({"games": [{"app_name": "1", "title": "Owlboy"}]})"));
        QVERIFY(put(heroic + u"nile_config/nile/installed.json"_s,
                    "[{\"id\": \"A\", \"path\": \"" + root + "/run/media/u/Disk/Amz\"}]"));
        QVERIFY(
            put(heroic + u"sideload_apps/library.json"_s,
                R"({"games": [{"title": "Mine", "install": {"executable": "~/mine/run.sh"}}]})"));
        QVERIFY(put(heroic + u"config.json"_s,
                    R"({"defaultSettings": {"winePrefix": "~/Games/Heroic/Prefixes/default"}})"));
        QVERIFY(put(heroic + u"GamesConfig/1.json"_s, R"({"1": {"winePrefix": "~/owl"}})"));
        const QString sandbox = u"heroic/.var/app/com.heroicgameslauncher.hgl/config/heroic/"_s;
        QVERIFY(put(sandbox + u"gog_store/installed.json"_s, "{\"installed\": [{"));
        QVERIFY(
            put(sandbox + u"legendaryConfig/legendary/installed.json"_s, "{}") &&
            QFile::resize(m_root + u'/' + sandbox + u"legendaryConfig/legendary/installed.json"_s,
                          launcherFileMaxBytes + 1));
        QVERIFY(folders({u"heroic/Games/Celeste"_s, u"heroic/GOG/Owl"_s, u"heroic/mine"_s,
                         u"heroic/Games/Heroic/Prefixes/default/Celeste/drive_c"_s,
                         u"heroic/owl/pfx/drive_c"_s}));

        // Lutris, its database held by another connection's exclusive lock.
        QVERIFY(folders({u"lutris/Games/wine/drive_c"_s, u"lutris/Games/wine/drive_c/Game"_s,
                         u"lutris/Games/native"_s, u"lutris/elsewhere/drive_c"_s}));
        QVERIFY(put(u"lutris/.config/lutris/games/n-1.yml"_s,
                    "game:\n  exe: x\n  prefix: '~/elsewhere'\nsystem: {}\n"));
        const QByteArray lutris =
            "CREATE TABLE games (id INTEGER, name TEXT, slug TEXT, runner TEXT, directory TEXT, "
            "installed INTEGER, configpath TEXT); INSERT INTO games VALUES "
            "(1, 'Native', 'n', 'linux', '@/lutris/Games/native', 1, 'n-1'),"
            "(2, 'Windows', 'w', 'wine', '@/lutris/Games/wine/drive_c/Game', 1, 'w-2'),"
            "(3, 'Gone', 'g', 'wine', '@/lutris/Games/native', 0, ''),"
            "(4, 'Via Steam', 's', 'steam', '@/lutris/Games/wine', 1, '');";
        sqlite3* holder = nullptr;
        QVERIFY(sql(u"/lutris/.local/share/lutris/pga.db"_s,
                    QByteArray(lutris).replace('@', root).constData()) &&
                sql(u"/lutris/.local/share/lutris/pga.db"_s, "BEGIN EXCLUSIVE", &holder));

        // Bottles: one moved by Bottles, one in the Flatpak folder, one in a custom folder.
        const QString bottles = u"bottles/.local/share/bottles/"_s;
        QVERIFY(put(bottles + u"bottles/Moved/placeholder.yml"_s, "Path: ~/moved/Moved\n") &&
                put(bottles + u"data.yml"_s, "custom_bottles_path: ~/mine\n") &&
                put(u"bottles/mine/Custom/bottle.yml"_s, "Name: My Custom\nRunner: x\n"));
        QVERIFY(folders(
            {u"bottles/moved/Moved/drive_c"_s, u"bottles/mine/Custom/drive_c"_s,
             u"bottles/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat/drive_c"_s}));

        // Other prefixes, umu's `pfx` that links back to its own prefix; minigalaxy; itch.
        QVERIFY(
            folders({u"wine/.local/share/wineprefixes/tricks/drive_c"_s,
                     u"wine/.PlayOnLinux/wineprefix/pol/drive_c"_s, u"wine/Games/umu/drive_c"_s,
                     u"gog/My GOG/Game/prefix/drive_c"_s, u"itch/apps/cave"_s, u"itch/custom"_s}));
        QVERIFY(put(u"wine/Games/umu/system.reg"_s, "") &&
                QFile::link(u"."_s, m_root + u"/wine/Games/umu/pfx"_s));
        QVERIFY(put(u"gog/.config/minigalaxy/config.json"_s, R"({"install_dir": "~/My GOG"})") &&
                put(u"gog/My GOG/Game/gameinfo"_s, "Broken Age\n1.0\n"));
        QVERIFY(
            sql(u"/itch/.config/itch/db/butler.db"_s,
                QByteArray("CREATE TABLE games (id, title); CREATE TABLE install_locations (id, "
                           "path); CREATE TABLE caves (id, game_id, install_location_id, "
                           "install_folder_name, custom_install_folder); INSERT INTO games "
                           "VALUES (1, 'Itchy'), (2, 'Custom'); INSERT INTO install_locations "
                           "VALUES (1, '@/itch/apps'); INSERT INTO caves VALUES (1, 1, 1, "
                           "'cave', NULL), (2, 2, 1, 'x', '@/itch/custom');")
                    .replace('@', root)
                    .constData()));

        for (const char* home : {"steam", "heroic", "lutris", "bottles", "wine", "gog", "itch"})
            m_found[QLatin1StringView(home)] =
                findGamePlaces(m_root + u'/' + QLatin1StringView(home), m_root + u"/prefix"_s);
        sqlite3_close(holder);
    }

    // In order for each home; a row without a name says nothing follows.
    void everyPlaceOnce_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        const QString apps = u"/steam/.local/share/Steam/steamapps/"_s;
        const QString other = u"/disk/SteamLibrary/steamapps/"_s;
        QString home;
        int index = 0;
        for (
            const auto& [name, path] : std::initializer_list<std::pair<QString, QString>>{
                {u"steam"_s, QString()},
                {u"Bottle (Bottles)"_s, u"/steam/.local/share/bottles/bottles/Bottle/drive_c"_s},
                {u"Debian Game (Steam)"_s,
                 u"/steam/.steam/debian-installation/steamapps/common/Debian Game"_s},
                {u"Flatpak Game (Steam)"_s,
                 u"/steam/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Flatpak Game"_s},
                {u"Heroic Game (Wine C:)"_s,
                 u"/steam/Games/Heroic/Prefixes/default/Heroic Game/drive_c"_s},
                {u"Hidden Snap (Steam)"_s,
                 u"/steam/.snap/data/steam/common/.local/share/Steam/steamapps/common/Hidden Snap"_s},
                {u"lutris-game (Wine C:)"_s, u"/steam/Games/lutris-game/drive_c"_s},
                {u"New Shortcut (Proton C:)"_s, apps + u"compatdata/4294967291/pfx/drive_c"_s},
                {u"Ōkami HD (Steam)"_s, other + u"common/Ōkami HD"_s},
                {u"Old Case (Steam)"_s, u"/disk/oldLibrary/SteamApps/common/x"_s},
                {u"Old Shortcut (Proton C:)"_s, apps + u"compatdata/4009162612/pfx/drive_c"_s},
                {u"Old Shortcut (Steam)"_s, u"/shortcut"_s},
                {u"Other Disk Game (Steam)"_s, other + u"common/Other Disk Game"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {u"Sandbox Game (Steam)"_s,
                 u"/steam/.var/app/com.valvesoftware.Steam/Sandboxed/steamapps/common/Sandbox Game"_s},
                {u"Snap Game (Steam)"_s,
                 u"/steam/snap/steam/common/.local/share/Steam/steamapps/common/Snap Game"_s},
                {u"Some Game (Proton C:, "_s + m_root + u"/disk/SteamLibrary)"_s,
                 other + u"compatdata/10/pfx/drive_c"_s},
                {u"Some Game (Proton C:, ~/.local/share/Steam)"_s,
                 apps + u"compatdata/10/pfx/drive_c"_s},
                {u"Some Game (Steam)"_s, apps + u"common/Some Game"_s},
                {u"Unnamed game 99 (Proton C:)"_s, apps + u"compatdata/99/pfx/drive_c"_s},
                {u"Wine (Wine C:)"_s, u"/steam/.wine/drive_c"_s},
                {QString(), QString()},
                {u"heroic"_s, QString()},
                {u"Celeste (Heroic)"_s, u"/heroic/Games/Celeste"_s},
                {u"Celeste (Wine C:)"_s,
                 u"/heroic/Games/Heroic/Prefixes/default/Celeste/drive_c"_s},
                {u"Mine (Heroic)"_s, u"/heroic/mine"_s},
                {u"Owlboy (Heroic)"_s, u"/heroic/GOG/Owl"_s},
                {u"Owlboy (Wine C:)"_s, u"/heroic/owl/pfx/drive_c"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {QString(), QString()},
                {u"lutris"_s, QString()},
                {u"Native (Lutris)"_s, u"/lutris/Games/native"_s},
                {u"Native (Wine C:)"_s, u"/lutris/elsewhere/drive_c"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {u"Windows (Lutris)"_s, u"/lutris/Games/wine/drive_c/Game"_s},
                {u"Windows (Wine C:)"_s, u"/lutris/Games/wine/drive_c"_s},
                {QString(), QString()},
                {u"bottles"_s, QString()},
                {u"Flat (Bottles)"_s,
                 u"/bottles/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat/drive_c"_s},
                {u"Moved (Bottles)"_s, u"/bottles/moved/Moved/drive_c"_s},
                {u"My Custom (Bottles)"_s, u"/bottles/mine/Custom/drive_c"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {QString(), QString()},
                {u"wine"_s, QString()},
                {u"pol (Wine C:)"_s, u"/wine/.PlayOnLinux/wineprefix/pol/drive_c"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {u"tricks (Wine C:)"_s, u"/wine/.local/share/wineprefixes/tricks/drive_c"_s},
                {u"umu (Wine C:)"_s, u"/wine/Games/umu/drive_c"_s},
                {QString(), QString()},
                {u"gog"_s, QString()},
                {u"Broken Age (GOG)"_s, u"/gog/My GOG/Game"_s},
                {u"Broken Age (Wine C:)"_s, u"/gog/My GOG/Game/prefix/drive_c"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {QString(), QString()},
                {u"itch"_s, QString()},
                {u"Custom (itch)"_s, u"/itch/custom"_s},
                {u"Itchy (itch)"_s, u"/itch/apps/cave"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {QString(), QString()}}) {
            if (!name.isEmpty() && path.isEmpty()) {
                home = name;
                index = 0;
                continue;
            }
            QTest::addRow("%s %d %s", qPrintable(home), index, qPrintable(name))
                << home << index << name << (path.isEmpty() ? path : m_root + path);
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
