// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/Log.h"

#include "files/Path.h"

#include <cstring>

Q_LOGGING_CATEGORY(lcFiles, "tunevane.files", QtCriticalMsg)

namespace tunevane::files {

void logError(const char* step, const QString& path, int error) {
    qCWarning(lcFiles, "%s %s: %s", step, shown(path).constData(), std::strerror(error));
}

void logError(const char* step, const QByteArray& path, int error) {
    logError(step, decodeName(path), error);
}

} // namespace tunevane::files
