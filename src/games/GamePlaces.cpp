// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/GamePlaces.h"

#include "games/Places.h"

namespace tunevane::games {

QList<GamePlace> findGamePlaces(const QString& home, const QString& winePrefix) {
    Places places(home);
    findSteam(places);
    findHeroic(places);
    findLutris(places);
    findBottles(places);
    findGogGames(places);
    findItch(places);
    findWinePrefixes(places, winePrefix);
    return places.take();
}

} // namespace tunevane::games
