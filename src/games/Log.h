// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// What the search for games leaves out and why (a file that cannot be read, a library that is
// not mounted); shows with QT_LOGGING_RULES="tunevane.games=true".
Q_DECLARE_LOGGING_CATEGORY(lcGames)
