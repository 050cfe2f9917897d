#include "games/GamePlaces.h"
#include "games/KeyValues.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sys/stat.h>

using namespace tunevane::games;
using namespace Qt::StringLiterals;

class GamePlacesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QString m_root;
    QList<GamePlace> m_found;

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

private Q_SLOTS:
    // A home with Steam installed every way, libraries on other disks, and Wine prefixes.
    void initTestCase() {
        m_root = QDir(m_temp.path()).canonicalPath();
        const QString native = u"home/.local/share/Steam"_s;
        const QString debian = u"home/.steam/debian-installation"_s;
        const QString flatpak = u"home/.var/app/com.valvesoftware.Steam/data/Steam"_s;
        const QString other = u"disk/SteamLibrary"_s;
        const QByteArray root = m_root.toUtf8();
        QVERIFY(
            put(native + u"/steamapps/libraryfolders.vdf"_s,
                QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"@/home/.local/share/Steam\" }"
                           "\"1\" { \"path\" \"@/disk/SteamLibrary/\" } \"2\" { \"path\" "
                           "\"@/unmounted\" } \"3\" { \"path\" \"@/gone\" } }")
                    .replace('@', root)));
        QVERIFY(put(debian + u"/steamapps/libraryfolders.vdf"_s,
                    "\"libraryfolders\" { \"1\" \"" + root + "/disk/SteamLibrary\" }"));
        QVERIFY(game(native, "10", "Some Game") && game(debian, "20", "Debian Game") &&
                game(flatpak, "30", "Flatpak Game") && game(other, "50", "Other Disk Game") &&
                game(u"home/snap/steam/common/.local/share/Steam"_s, "40", "Snap Game"));
        QVERIFY(put(native + u"/steamapps/appmanifest_11.acf"_s, "\"AppState\" { \"name\" \"B"));
        QVERIFY(put(native + u"/steamapps/appmanifest_12.acf"_s,
                    "\"AppState\" { \"installdir\" \"../../..\" }"));
        QVERIFY(::mkfifo(qPrintable(m_root + u'/' + native + u"/steamapps/appmanifest_13.acf"_s),
                         0600) == 0);
        QVERIFY(folders({u"unmounted"_s, u"home/.var/app/com.valvesoftware.Steam/.local/share"_s,
                         native + u"/steamapps/compatdata/10/pfx/drive_c"_s,
                         native + u"/steamapps/compatdata/99/pfx/drive_c"_s,
                         other + u"/steamapps/compatdata/10/pfx/drive_c"_s, u"home/.wine/drive_c"_s,
                         u"prefix/drive_c"_s, u"home/.local/share/bottles/bottles/Bottle/drive_c"_s,
                         u"home/Games/lutris-game/drive_c"_s, u"home/Games/no-registry/drive_c"_s,
                         u"home/Games/Heroic/Prefixes/Heroic Game/drive_c"_s,
                         u"home/Games/a/b/c/too-deep/drive_c"_s}));
        QVERIFY(QFile::link(m_root + u'/' + debian, m_root + u"/home/.steam/steam"_s));
        QVERIFY(
            QFile::link(m_root + u'/' + flatpak,
                        m_root + u"/home/.var/app/com.valvesoftware.Steam/.local/share/Steam"_s));
        for (const char* prefix : {"lutris-game", "Heroic/Prefixes/Heroic Game", "a/b/c/too-deep"})
            QVERIFY(put(u"home/Games/"_s + QLatin1StringView(prefix) + u"/system.reg"_s, ""));
        m_found = findGamePlaces(m_root + u"/home"_s, m_root + u"/prefix"_s);
    }

    // In order; the last row says nothing follows.
    void everyPlaceOnce_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        const QString apps = u"/home/.local/share/Steam/steamapps/"_s;
        const QString other = u"/disk/SteamLibrary/steamapps/"_s;
        int index = 0;
        for (
            const auto& [name, path] : std::initializer_list<std::pair<QString, QString>>{
                {u".wine (Wine C:)"_s, u"/home/.wine/drive_c"_s},
                {u"99 (Proton C:)"_s, apps + u"compatdata/99/pfx/drive_c"_s},
                {u"Bottle (Wine C:)"_s, u"/home/.local/share/bottles/bottles/Bottle/drive_c"_s},
                {u"Debian Game (Steam)"_s,
                 u"/home/.steam/debian-installation/steamapps/common/Debian Game"_s},
                {u"Flatpak Game (Steam)"_s,
                 u"/home/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Flatpak Game"_s},
                {u"Heroic Game (Wine C:)"_s, u"/home/Games/Heroic/Prefixes/Heroic Game/drive_c"_s},
                {u"lutris-game (Wine C:)"_s, u"/home/Games/lutris-game/drive_c"_s},
                {u"Other Disk Game (Steam)"_s, other + u"common/Other Disk Game"_s},
                {u"prefix (Wine C:)"_s, u"/prefix/drive_c"_s},
                {u"Snap Game (Steam)"_s,
                 u"/home/snap/steam/common/.local/share/Steam/steamapps/common/Snap Game"_s},
                {u"Some Game (Proton C:)"_s, other + u"compatdata/10/pfx/drive_c"_s},
                {u"Some Game (Proton C:)"_s, apps + u"compatdata/10/pfx/drive_c"_s},
                {u"Some Game (Steam)"_s, apps + u"common/Some Game"_s},
                {QString(), QString()}}) {
            QTest::addRow("%d %s", index, qPrintable(name))
                << index << name << (path.isEmpty() ? path : m_root + path);
            ++index;
        }
    }

    void everyPlaceOnce() {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(m_found.value(index).name, name);
        QCOMPARE(m_found.value(index).path, path);
    }

    // What the reader makes of damaged and hostile text: nothing, or the game's name.
    void readerRefusesBrokenText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("name");
        const auto nested = [](int depth) -> QByteArray {
            return QByteArray("\"a\" {").repeated(depth) + QByteArray("}").repeated(depth);
        };
        QTest::newRow("escapes") << QByteArray(
                                        "\"AppState\" { \"name\" \"say \\\"hi\\\"\\\\\\t\\n\\x\" }")
                                 << true << u"say \"hi\"\\\t\n\\x"_s;
        QTest::newRow("unquoted, comments, any case")
            << QByteArray("\xEF\xBB\xBF// top\nappstate{NAME Portal // note\n}") << true
            << u"Portal"_s;
        QTest::newRow("at the depth limit") << nested(keyValuesMaxDepth) << true << QString();
        QTest::newRow("beyond the depth limit")
            << nested(keyValuesMaxDepth + 1) << false << QString();
        QTest::newRow("truncated string")
            << QByteArray("\"AppState\" { \"name\" \"Ha") << false << QString();
        QTest::newRow("truncated escape") << QByteArray("\"a\\") << false << QString();
        QTest::newRow("key without value")
            << QByteArray("\"AppState\" { \"name\"") << false << QString();
        QTest::newRow("unclosed block")
            << QByteArray("\"AppState\" { \"a\" \"b\"") << false << QString();
        QTest::newRow("stray brace") << QByteArray("\"AppState\" { } }") << false << QString();
        QTest::newRow("block without key") << QByteArray("{ }") << false << QString();
        QTest::newRow("binary") << QByteArray("\"AppState\" { \"n\" \"\0\x01\xff\" }", 22) << false
                                << QString();
        QTest::newRow("too large") << QByteArray(keyValuesMaxBytes + 1, ' ') << false << QString();
        QTest::newRow("too many entries")
            << QByteArray("k v ").repeated(keyValuesMaxEntries + 1) << false << QString();
    }

    void readerRefusesBrokenText() {
        QFETCH(QByteArray, text);
        QFETCH(bool, read);
        QFETCH(QString, name);
        const std::optional<KeyValue> top = parseKeyValues(text);
        QCOMPARE(top.has_value(), read);
        if (!name.isEmpty())
            QCOMPARE(top->find(u"AppState")->valueOf(u"name"), name);
    }
};

QTEST_APPLESS_MAIN(GamePlacesTest)
#include "GamePlacesTest.moc"
