#include "games/GamePlaces.h"

#include "files/Path.h"
#include "games/KeyValues.h"
#include "games/Log.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace tunevane::games {

using namespace files;

namespace {

// Sub-levels of ~/Games searched for prefixes: Lutris puts one at the first, Heroic at the
// third.
constexpr int gamesDepth = 3;

QByteArray shown(const QString& path) {
    return readableName(path).toUtf8();
}

// The folder with links resolved, or empty when it is not a folder (or not there).
QString realFolder(const QString& path) {
    char* resolved = ::realpath(encodePath(path).constData(), nullptr);
    if (!resolved)
        return {};
    struct stat info {};
    QString real;
    if (::stat(resolved, &info) == 0 && S_ISDIR(info.st_mode))
        real = decodeName(QByteArray(resolved));
    std::free(resolved);
    return real;
}

// realFolder() of a folder's entry, where the folder's path is real already: only the entry
// itself can be a link, so most need one lstat instead of one per level.
QString realEntry(const QString& realParent, const QString& name) {
    const QString path = realParent + u'/' + name;
    struct stat info {};
    if (realParent.isEmpty() || ::lstat(encodePath(path).constData(), &info) != 0)
        return {};
    if (S_ISDIR(info.st_mode))
        return path;
    return S_ISLNK(info.st_mode) ? realFolder(path) : QString();
}

bool isFile(const QString& path) {
    struct stat info {};
    return ::stat(encodePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

enum class Kind { Any, Folder };

// Names in the folder, hidden ones left out, in no order.
QStringList namesIn(const QString& folder, Kind kind) {
    QStringList names;
    DIR* dir = ::opendir(encodePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (kind == Kind::Folder && entry->d_type != DT_DIR) {
            struct stat info {};
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                continue;
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISDIR(info.st_mode))
                continue;
        }
        names.append(decodeName(QByteArray(entry->d_name)));
    }
    ::closedir(dir);
    return names;
}

bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/');
}

class Finder {
public:
    explicit Finder(const QString& home) : m_home(home) {}

    void findSteam() {
        static const char* const installs[] = {
            ".local/share/Steam",
            ".steam/steam",
            ".steam/debian-installation",
            ".var/app/com.valvesoftware.Steam/.local/share/Steam",
            ".var/app/com.valvesoftware.Steam/data/Steam",
            "snap/steam/common/.local/share/Steam",
        };
        for (const char* install : installs) {
            const QString root = realFolder(m_home + u'/' + QLatin1StringView(install));
            if (root.isEmpty() || m_installs.contains(root) ||
                realFolder(root + u"/steamapps").isEmpty())
                continue;
            m_installs.insert(root);
            addLibrary(root, root);
            const QString listPath = root + u"/steamapps/libraryfolders.vdf";
            const std::optional<KeyValue> list = readKeyValuesFile(listPath);
            const KeyValue* folders = list ? list->find(u"libraryfolders") : nullptr;
            if (!folders) {
                if (isFile(listPath))
                    qCWarning(lcGames, "Steam library list %s cannot be read",
                              shown(listPath).constData());
                continue;
            }
            for (const KeyValue& folder : folders->children) {
                // Older lists name each library by number, without a block.
                bool numbered = false;
                folder.key.toInt(&numbered);
                const QString path = folder.isBlock ? folder.valueOf(u"path")
                                     : numbered     ? folder.value
                                                    : QString();
                if (!path.isEmpty())
                    addLibrary(path, listPath);
            }
        }
        for (const QString& library : std::as_const(m_libraries))
            findGames(library);
        for (const QString& library : std::as_const(m_libraries))
            findProtonPrefixes(library);
    }

    void findWine(const QString& winePrefix) {
        if (!winePrefix.isEmpty() && !addWinePrefix(winePrefix))
            qCInfo(lcGames, "WINEPREFIX %s holds no drive_c", shown(winePrefix).constData());
        addWinePrefix(m_home + u"/.wine");
        findWineUnder(m_home + u"/Games", 1);
        const QString bottles = m_home + u"/.local/share/bottles/bottles";
        for (const QString& name : namesIn(bottles, Kind::Folder))
            addWinePrefix(bottles + u'/' + name);
    }

    QList<GamePlace> takePlaces() {
        std::sort(m_places.begin(), m_places.end(), [](const GamePlace& a, const GamePlace& b) {
            const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
            if (folded != 0)
                return folded < 0;
            return a.name != b.name ? a.name < b.name : a.path < b.path;
        });
        return std::move(m_places);
    }

private:
    bool add(const QString& name, const QString& real) {
        if (m_seen.contains(real))
            return false;
        m_seen.insert(real);
        m_places.append({name, real});
        return true;
    }

    // A library counts only with its steamapps folder: the mount point of a disk that is
    // not mounted is an empty folder.
    bool addLibrary(const QString& path, const QString& listedIn) {
        const QString real = realFolder(path);
        if (real.isEmpty() || realFolder(real + u"/steamapps").isEmpty()) {
            qCInfo(lcGames, "Steam library %s listed in %s is missing or not mounted",
                   shown(path).constData(), shown(listedIn).constData());
            return false;
        }
        if (!m_libraries.contains(real))
            m_libraries.append(real);
        return true;
    }

    void findGames(const QString& library) {
        const QString apps = library + u"/steamapps";
        const QString common = realFolder(apps + u"/common");
        for (const QString& file : namesIn(apps, Kind::Any)) {
            if (!file.startsWith(u"appmanifest_") || !file.endsWith(u".acf"))
                continue;
            const QString manifestPath = apps + u'/' + file;
            const std::optional<KeyValue> manifest = readKeyValuesFile(manifestPath);
            const KeyValue* state = manifest ? manifest->find(u"AppState") : nullptr;
            const QString installDir = state ? state->valueOf(u"installdir") : QString();
            if (!state || !state->isBlock || !isPlainName(installDir)) {
                qCWarning(lcGames, "Steam manifest %s cannot be read",
                          shown(manifestPath).constData());
                continue;
            }
            const QString folder = apps + u"/common/" + installDir;
            const QString real = realEntry(common, installDir);
            if (real.isEmpty()) {
                qCInfo(lcGames, "Steam game folder %s is missing", shown(folder).constData());
                continue;
            }
            QString name = state->valueOf(u"name").trimmed();
            if (name.isEmpty())
                name = installDir;
            QString id = state->valueOf(u"appid");
            if (id.isEmpty())
                id = file.sliced(12, file.size() - 16);
            m_gameNames.insert(id, name);
            add(name + u" (Steam)", real);
        }
    }

    void findProtonPrefixes(const QString& library) {
        const QString compat = library + u"/steamapps/compatdata";
        for (const QString& id : namesIn(compat, Kind::Folder)) {
            const QString drive = realFolder(compat + u'/' + id + u"/pfx/drive_c");
            if (!drive.isEmpty())
                add(m_gameNames.value(id, id) + u" (Proton C:)", drive);
        }
    }

    bool addWinePrefix(const QString& prefix) {
        const QString drive = realFolder(prefix + u"/drive_c");
        if (drive.isEmpty())
            return false;
        add(QDir::cleanPath(prefix).section(u'/', -1) + u" (Wine C:)", drive);
        return true;
    }

    // A prefix is a folder with a drive_c beside a system.reg; nothing below one is searched.
    void findWineUnder(const QString& folder, int level) {
        for (const QString& name : namesIn(folder, Kind::Folder)) {
            const QString path = folder + u'/' + name;
            if (isFile(path + u"/system.reg") && addWinePrefix(path))
                continue;
            if (level < gamesDepth)
                findWineUnder(path, level + 1);
        }
    }

    QString m_home;
    QList<GamePlace> m_places;
    QSet<QString> m_seen;
    QSet<QString> m_installs;
    QStringList m_libraries;
    QHash<QString, QString> m_gameNames;
};

} // namespace

QList<GamePlace> findGamePlaces(const QString& home, const QString& winePrefix) {
    Finder finder(home);
    finder.findSteam();
    finder.findWine(winePrefix);
    return finder.takePlaces();
}

} // namespace tunevane::games
