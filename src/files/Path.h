// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief File names as bytes: paths that round-trip any name, readable forms for labels and logs.

#include <QByteArray>
#include <QString>

namespace tunevane::files {

// File names are bytes. A name that is not valid UTF-8 (common in archives of old Windows
// games) keeps each stray byte as a lone surrogate U+DC80…U+DCFF, so that a path read from a
// folder and handed back to the file system names the same file, byte for byte.
QString decodeName(const QByteArray& bytes);
QByteArray encodePath(const QString& path);

// A name that stays directly inside a folder: not empty, ".", "..", and without "/" or NUL.
bool isBareName(const QString& name);

// What a label shows for a name: stray bytes read as Windows-1252, the code page such names
// were written in. Never handed back to the file system.
QString readableName(const QString& name);

// A path as a log line shows it: readable, as a label would show it.
QByteArray shown(const QString& path);
QByteArray shown(const QByteArray& path);

} // namespace tunevane::files
