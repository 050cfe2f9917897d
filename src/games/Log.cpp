// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/Log.h"

Q_LOGGING_CATEGORY(lcGames, "tunevane.games", QtCriticalMsg)
