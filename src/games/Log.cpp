#include "games/Log.h"

Q_LOGGING_CATEGORY(lcGames, "tunevane.games", QtCriticalMsg)
