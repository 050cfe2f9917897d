// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GamePlaces.h"

#include <QSet>
#include <QString>

namespace tunevane::games {

// What the launchers' readers found, one entry per real folder, labelled "name (kind)".
class Places {
public:
    explicit Places(const QString& home) : m_home(home) {}

    const QString& home() const { return m_home; }
    // The path as a label shows it: the home folder as "~".
    QString homely(const QString& path) const;

    // Lists the folder `real` (links resolved already) unless it is listed. `where` (a
    // library, a launcher) tells it from another entry that would carry the same label.
    bool add(const QString& name, QStringView kind, const QString& where, const QString& real);
    bool has(const QString& real) const { return m_seen.contains(real); }

    // Labelled and sorted as a person reads them.
    QList<GamePlace> take();

private:
    struct Entry {
        QString name;
        QString kind;
        QString where;
        QString path;
    };

    QString m_home;
    QList<Entry> m_entries;
    QSet<QString> m_seen;
};

// One reader per launcher, each reading only what that launcher records; a file it cannot
// read costs only its own entries. The Wine prefixes that no launcher names go last, so that
// a prefix a launcher knows carries that launcher's name for it.
void findSteam(Places& places);
void findHeroic(Places& places);
void findLutris(Places& places);
void findBottles(Places& places);
void findGogGames(Places& places);
void findItch(Places& places);
void findWinePrefixes(Places& places, const QString& winePrefix);

} // namespace tunevane::games
