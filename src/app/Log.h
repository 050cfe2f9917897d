// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The windows' log category, so that failures kept from the user can be looked into.

#include <QLoggingCategory>

// Failures the user is not told about are logged here, at warning level; they show with
// QT_LOGGING_RULES="tunevane.ui=true".
Q_DECLARE_LOGGING_CATEGORY(lcUi)
