// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steam: every installation's libraries, their games and Proton prefixes, and the games added
// to Steam by hand.
#include "files/Path.h"
#include "games/Disk.h"
#include "games/KeyValues.h"
#include "games/Log.h"
#include "games/Places.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace tunevane::games {

namespace {

// Proton, the Steam Linux Runtimes and the Steamworks Common Redistributables are installed as
// apps but are Steam's own tools.
constexpr quint32 toolIds[] = {228980,  1070560, 1391110, 1628350, 858280,  930400,
                               961940,  1054830, 1113280, 1245040, 1420170, 1493710,
                               1580130, 1887720, 2180100, 2348590, 2805730};
constexpr QLatin1StringView toolFolders[] = {
    QLatin1StringView("Proton "), QLatin1StringView("Proton-"),
    QLatin1StringView("SteamLinuxRuntime"), QLatin1StringView("Steamworks Shared")};

bool isTool(quint32 id, const QString& installDir) {
    return std::find(std::begin(toolIds), std::end(toolIds), id) != std::end(toolIds) ||
           std::any_of(std::begin(toolFolders), std::end(toolFolders),
                       [&](QLatin1StringView start) { return installDir.startsWith(start); });
}

// The id Steam gave a shortcut before it stored one: CRC-32 of its Exe and AppName, top bit
// set.
quint32 legacyShortcutId(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc | 0x80000000;
}

QString unquoted(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"')
               ? trimmed.sliced(1, trimmed.size() - 2)
               : trimmed;
}

class SteamFinder {
public:
    explicit SteamFinder(Places& places) : m_places(places) {}

    void find() {
        static const char* const installs[] = {
            ".local/share/Steam",
            ".steam/steam",
            ".steam/debian-installation",
            ".var/app/com.valvesoftware.Steam/.local/share/Steam",
            ".var/app/com.valvesoftware.Steam/data/Steam",
            "snap/steam/common/.local/share/Steam",
            ".snap/data/steam/common/.local/share/Steam",
        };
        m_sandbox = realFolder(m_places.home() + u"/.var/app/com.valvesoftware.Steam");
        for (const char* install : installs) {
            const QString root = realFolder(m_places.home() + u'/' + QLatin1StringView(install));
            if (root.isEmpty() || m_installs.contains(root) || appsFolder(root).isEmpty())
                continue;
            m_installs.append(root);
            addLibrary(root);
            readLibraryList(root);
        }
        for (const Library& library : std::as_const(m_libraries))
            findGames(library);
        for (const QString& root : std::as_const(m_installs))
            findShortcuts(root);
        for (const Library& library : std::as_const(m_libraries))
            findProtonPrefixes(library);
    }

private:
    struct Library {
        QString root;
        QString apps;
    };

    // Older installations wrote "SteamApps"; where both are there, Steam uses the lowercase.
    static QString appsFolder(const QString& library) {
        const QString lower = realFolder(library + u"/steamapps");
        return lower.isEmpty() ? realFolder(library + u"/SteamApps") : lower;
    }

    // A library counts only with its steamapps folder: the mount point of a disk that is not
    // mounted is an empty folder.
    bool addLibrary(const QString& real) {
        const QString apps = appsFolder(real);
        if (apps.isEmpty())
            return false;
        if (std::none_of(m_libraries.begin(), m_libraries.end(),
                         [&](const Library& known) { return known.apps == apps; }))
            m_libraries.append({real, apps});
        return true;
    }

    void readLibraryList(const QString& root) {
        const QString listPath = appsFolder(root) + u"/libraryfolders.vdf";
        const Result<KeyValue> list = readKeyValuesFile(listPath, "Steam library list");
        const KeyValue* folders = list ? list->find(u"libraryfolders") : nullptr;
        if (!folders) {
            if (list)
                leftOut("Steam library list", listPath,
                        ReadError::damaged("no libraryfolders entry"));
            return;
        }
        for (const KeyValue& folder : folders->children) {
            // Older lists name each library by number, without a block.
            bool numbered = false;
            folder.key.toInt(&numbered);
            const QString path = folder.isBlock ? folder.valueOf(u"path")
                                 : numbered     ? folder.value
                                                : QString();
            if (!path.isEmpty() && !addLibrary(libraryFolder(path, root)))
                qCInfo(lcGames, "Steam library %s listed in %s is missing or not mounted",
                       shown(path).constData(), shown(listPath).constData());
        }
    }

    // Where a listed library lies: as written; inside Flatpak's sandbox, where Steam sees the
    // sandbox's home as the home; or in another case than Steam wrote it.
    QString libraryFolder(const QString& path, const QString& root) const {
        QString real = realFolder(path);
        if (!real.isEmpty() && !appsFolder(real).isEmpty())
            return real;
        if (!m_sandbox.isEmpty() && root.startsWith(m_sandbox + u'/')) {
            static const QRegularExpression anyHome(QStringLiteral("^/home/[^/]+(/.+)$"));
            const QString& home = m_places.home();
            const QRegularExpressionMatch match = anyHome.match(path);
            const QString inside = path.startsWith(home + u'/') ? path.sliced(home.size())
                                   : match.hasMatch()           ? match.captured(1)
                                                                : QString();
            real = inside.isEmpty() ? QString() : realFolder(m_sandbox + inside);
            if (!real.isEmpty() && !appsFolder(real).isEmpty())
                return real;
        }
        return caselessFolder(path);
    }

    void findGames(const Library& library) {
        const QString common = realFolder(library.apps + u"/common");
        for (const QString& file : namesIn(library.apps, Kind::Any)) {
            if (!file.startsWith(u"appmanifest_") || !file.endsWith(u".acf"))
                continue;
            const QString manifestPath = library.apps + u'/' + file;
            const Result<KeyValue> manifest = readKeyValuesFile(manifestPath, "Steam manifest");
            if (!manifest)
                continue;
            const KeyValue* state = manifest->find(u"AppState");
            const QString installDir = state ? state->valueOf(u"installdir") : QString();
            if (!state || !state->isBlock || !files::isBareName(installDir)) {
                leftOut("Steam manifest", manifestPath,
                        ReadError::damaged("no AppState block with a bare installdir"));
                continue;
            }
            bool numbered = false;
            quint32 id = state->valueOf(u"appid").toUInt(&numbered);
            if (!numbered)
                id = file.sliced(12, file.size() - 16).toUInt();
            if (isTool(id, installDir))
                continue;
            QString name = state->valueOf(u"name").trimmed();
            if (name.isEmpty())
                name = installDir;
            m_names.insert(id, name);
            const QString real = realEntry(common, installDir);
            if (real.isEmpty())
                qCInfo(lcGames, "Steam game folder %s/common/%s is missing",
                       shown(library.apps).constData(), shown(installDir).constData());
            m_places.add(name, u"Steam", m_places.homely(library.root), real);
        }
    }

    // Games added to Steam by hand: their folders, and the names of their Proton prefixes.
    void findShortcuts(const QString& root) {
        const QString users = root + u"/userdata";
        for (const QString& user : namesIn(users, Kind::Folder)) {
            const QString path = users + u'/' + user + u"/config/shortcuts.vdf";
            const Result<KeyValue> file = readBinaryKeyValuesFile(path, "Steam shortcuts");
            const KeyValue* shortcuts = file ? file->find(u"shortcuts") : nullptr;
            if (!shortcuts) {
                if (file)
                    leftOut("Steam shortcuts", path, ReadError::damaged("no shortcuts entry"));
                continue;
            }
            for (const KeyValue& shortcut : shortcuts->children) {
                const QString name = shortcut.valueOf(u"AppName").trimmed();
                const QString appId = shortcut.valueOf(u"appid");
                if (!shortcut.isBlock || name.isEmpty())
                    continue;
                // Written as a signed 32-bit number; the prefix's folder reads it unsigned.
                const quint32 id =
                    !appId.isEmpty()
                        ? quint32(appId.toLongLong())
                        : legacyShortcutId(files::encodePath(shortcut.valueOf(u"Exe") + name));
                m_names.insert(id, name);
                const QString start = unquoted(shortcut.valueOf(u"StartDir"));
                if (start.startsWith(u'/'))
                    m_places.add(name, u"Steam", m_places.homely(root), realFolder(start));
            }
        }
    }

    void findProtonPrefixes(const Library& library) {
        const QString compat = library.apps + u"/compatdata";
        for (const QString& folder : namesIn(compat, Kind::Folder)) {
            bool numbered = false;
            const quint32 id = folder.toUInt(&numbered);
            // 0 is Steam's own scratch prefix.
            if (!numbered || id == 0 || isTool(id, {}))
                continue;
            const QString name = m_names.value(id, QStringLiteral("Unnamed game ") + folder);
            m_places.add(name, u"Proton C:", m_places.homely(library.root),
                         realFolder(compat + u'/' + folder + u"/pfx/drive_c"));
        }
    }

    Places& m_places;
    QString m_sandbox;
    QStringList m_installs;
    QList<Library> m_libraries;
    QHash<quint32, QString> m_names;
};

} // namespace

void findSteam(Places& places) {
    SteamFinder(places).find();
}

} // namespace tunevane::games
