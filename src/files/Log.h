// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The file layer's log category, and the one line it writes for a failed step.

#include <QLoggingCategory>

// Failures the user is not told about are logged here, at warning level; they show with
// QT_LOGGING_RULES="tunevane.files=true".
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

namespace tunevane::files {

// That `step` failed on `path`. The error number is an argument so that it is read before
// anything else can change it.
void logError(const char* step, const QString& path, int error);
void logError(const char* step, const QByteArray& path, int error);

} // namespace tunevane::files
