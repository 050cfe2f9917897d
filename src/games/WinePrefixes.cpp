// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Wine prefixes that no launcher names: WINEPREFIX, ~/.wine, winetricks, PlayOnLinux, and
// the prefixes under ~/Games.
#include "games/Disk.h"
#include "games/Log.h"
#include "games/Places.h"

#include <QDir>
#include <QSet>

namespace tunevane::games {

namespace {

// Sub-levels of ~/Games searched for prefixes: Lutris puts one at the first, Heroic at the
// third or, in its default folder, the fourth.
constexpr int gamesDepth = 4;

// "~/.wine" reads "Wine".
QString prefixName(const QString& prefix) {
    QString name = QDir::cleanPath(prefix).section(u'/', -1);
    if (name.startsWith(u'.')) {
        name.remove(0, 1);
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
    }
    return name;
}

bool addPrefix(Places& places, const QString& prefix, const QString& where) {
    const QString drive = prefixDrive(prefix);
    if (!drive.isEmpty())
        places.add(prefixName(prefix), u"Wine C:", where, drive);
    return !drive.isEmpty();
}

void addPrefixesIn(Places& places, const QString& folder, const QString& where) {
    for (const QString& name : namesIn(folder, Kind::Folder))
        addPrefix(places, folder + u'/' + name, where);
}

// A prefix is a folder with a system.reg (or Proton's pfx/ holding one); nothing below one
// is searched, and no folder twice: umu's `pfx` links back to its own prefix.
void findUnder(Places& places, const QString& folder, int level, QSet<QString>& visited) {
    for (const QString& name : namesIn(folder, Kind::Folder)) {
        const QString path = folder + u'/' + name;
        const QString real = realFolder(path);
        if (real.isEmpty() || visited.contains(real))
            continue;
        visited.insert(real);
        if ((isFile(path + u"/system.reg") || isFile(path + u"/pfx/system.reg")) &&
            addPrefix(places, path, places.homely(folder)))
            continue;
        if (level < gamesDepth)
            findUnder(places, path, level + 1, visited);
    }
}

} // namespace

void findWinePrefixes(Places& places, const QString& winePrefix) {
    const QString& home = places.home();
    if (!winePrefix.isEmpty() && !addPrefix(places, winePrefix, QStringLiteral("WINEPREFIX")))
        qCInfo(lcGames, "WINEPREFIX %s holds no drive_c", shown(winePrefix).constData());
    addPrefix(places, home + u"/.wine", QStringLiteral("~"));
    addPrefixesIn(places, home + u"/.local/share/wineprefixes", QStringLiteral("winetricks"));
    addPrefixesIn(places, home + u"/.PlayOnLinux/wineprefix", QStringLiteral("PlayOnLinux"));
    QSet<QString> visited;
    findUnder(places, home + u"/Games", 1, visited);
}

} // namespace tunevane::games
