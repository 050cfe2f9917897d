// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/Result.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace tunevane::games {

// One entry of Valve's KeyValues, text or binary: a "key" "value" pair, or a "key" { ... } block.
struct KeyValue {
    QString key;
    QString value;
    std::vector<KeyValue> children;
    bool isBlock = false;

    // The first entry named `name`; Steam writes the same key in varying case.
    const KeyValue* find(QStringView name) const;
    // The value of the pair named `name`, empty when there is none.
    QString valueOf(QStringView name) const;
};

// Steam's files are written by another program and may be truncated, damaged or hostile:
// anything beyond these is refused rather than read.
constexpr qsizetype keyValuesMaxBytes = 1 << 20;
constexpr int keyValuesMaxDepth = 32; // nested blocks
constexpr int keyValuesMaxEntries = 100'000;

// The top-level entries, as one block keyed ""; refused, with the byte where it broke, when
// the text is broken.
files::Result<KeyValue> parseKeyValues(QByteArrayView text);
// The same for a regular file, read and logged as readBounded() does with `what`.
files::Result<KeyValue> readKeyValuesFile(const QString& path, const char* what);

// Binary KeyValues, as in Steam's shortcuts.vdf: entries of a type byte, a NUL-ended key and
// a value, a map's entries closed by 0x08. Numbers come back as decimal text, a map as a
// block; the same bounds hold.
files::Result<KeyValue> parseBinaryKeyValues(QByteArrayView bytes);
files::Result<KeyValue> readBinaryKeyValuesFile(const QString& path, const char* what);

} // namespace tunevane::games
