// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

namespace tunevane::games {

struct GamePlace {
    // "Name (launcher)", e.g. "Celeste (Heroic)", "Celeste (Wine C:)".
    QString name;
    // Links resolved.
    QString path;

    friend bool operator==(const GamePlace&, const GamePlace&) = default;
};

// The games installed under `home`: the folders of the games of Steam (every installation's
// libraries, and games added to it by hand), Heroic, Lutris, itch and GOG without a launcher,
// and the C: drives of Proton's and Wine's prefixes (`winePrefix` when set, Bottles, Heroic,
// Lutris, winetricks, PlayOnLinux, ~/.wine, ~/Games). Steam's own tools are left out. One
// entry per real folder, sorted as a person reads. A damaged, oversized or missing file costs
// only the entries it describes. Reads the disk and may wait on a slow one: windows call it
// off their thread.
QList<GamePlace> findGamePlaces(const QString& home, const QString& winePrefix);

} // namespace tunevane::games
