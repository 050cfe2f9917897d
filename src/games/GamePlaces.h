#pragma once

#include <QList>
#include <QString>

namespace tunevane::games {

struct GamePlace {
    QString name;
    // Links resolved.
    QString path;

    friend bool operator==(const GamePlace&, const GamePlace&) = default;
};

// The games installed under `home`: each Steam game of every library of every Steam
// installation, each Proton prefix's C: drive, and the C: drives of the Wine prefixes
// (`winePrefix` when set, ~/.wine, Lutris and Heroic under ~/Games, Bottles). One entry per
// real folder, sorted by name. A damaged or missing file costs only what it describes.
// Reads the disk and may wait on a slow one: windows call it off their thread.
QList<GamePlace> findGamePlaces(const QString& home, const QString& winePrefix);

} // namespace tunevane::games
