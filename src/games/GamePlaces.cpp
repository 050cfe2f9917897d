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
