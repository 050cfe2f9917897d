// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include "files/Path.h"
#include "files/Result.h"

// What every launcher's reader needs from the disk. Nothing here follows a path it was not
// given, and nothing reads more than its bound.
namespace tunevane::games {

// JSON files and databases of the launchers: bigger than this is a broken or hostile file.
constexpr qint64 launcherFileMaxBytes = 16 << 20;

using files::ReadError;
using files::Result;
using files::shown;

// Logs that a launcher's file is left out and why, under its role `what` ("Heroic file"):
// nothing for a file that is simply not there, as most launchers' files are not, nor without a
// role. Hands the reason on.
files::Unexpected<ReadError> leftOut(const char* what, const QString& path, ReadError why);

// The result as it is; when there is none, its reason is logged by leftOut().
template <typename T> Result<T> logged(Result<T> result, const char* what, const QString& path) {
    if (!result)
        return leftOut(what, path, result.error());
    return result;
}

// The folder with links resolved, or empty when it is not a folder (or not there).
QString realFolder(const QString& path);
// realFolder() of an entry of a folder whose path is real already: one lstat for most.
QString realEntry(const QString& realParent, const QString& name);
bool isFile(const QString& path);

enum class Kind { Any, Folder };
// Names in the folder, hidden ones left out unless asked for, in no order.
enum class Hidden { Skip, Keep };
QStringList namesIn(const QString& folder, Kind kind, Hidden hidden = Hidden::Skip);

// `path` as it lies on the disk when a launcher wrote it in another case: each missing
// component is matched without case, an exact match first. Empty when nothing matches.
QString caselessFolder(const QString& path);

// A leading "~" or "~/" as the home folder; other paths as they are.
QString expandHome(const QString& path, const QString& home);

// The file's bytes; refused when it is missing, not a regular file or over `maxBytes`, and
// logged as leftOut() does.
Result<QByteArray> readBounded(const QString& path, qint64 maxBytes, const char* what);

// A launcher's JSON file; refused, and logged, as readBounded() does, or when it is damaged.
Result<QJsonDocument> readJson(const QString& path, const char* what);

// The real C: drive of a Wine prefix: `<prefix>/drive_c`, or Proton's `<prefix>/pfx/drive_c`;
// empty when neither is there.
QString prefixDrive(const QString& prefix);

// A value of a YAML file as launchers write it: `key: value` at the top, or indented under
// `section:` when one is given. Quotes are taken off; empty when it is not there.
QString yamlValue(QByteArrayView text, QByteArrayView section, QByteArrayView key);

} // namespace tunevane::games
