// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/Path.h"

#include <array>

namespace tunevane::files {

namespace {

constexpr char16_t strayBase = 0xDC00;

bool isStray(char16_t unit) {
    return unit >= strayBase + 0x80 && unit <= strayBase + 0xFF;
}

// Length of the well-formed UTF-8 sequence at `at`, or 0 (overlong forms, surrogates and
// code points past U+10FFFF are not well formed).
int sequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

// Windows-1252 for 0x80…0x9F; 0 where the code page has no character.
constexpr std::array<char16_t, 32> cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QString decodeName(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0) {
            name.append(QChar(strayBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return name;
}

QByteArray encodePath(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            bytes.append(QStringView(path).mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        // A low surrogate that follows a high one is half of a real character.
        if (!isStray(unit) || (i > 0 && path[i - 1].isHighSurrogate()))
            continue;
        flush(i);
        bytes.append(static_cast<char>(unit - strayBase));
        runStart = i + 1;
    }
    flush(path.size());
    return bytes;
}

QByteArray shown(const QString& path) {
    return readableName(path).toUtf8();
}

QByteArray shown(const QByteArray& path) {
    return shown(decodeName(path));
}

QString readableName(const QString& name) {
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t unit = shown[i].unicode();
        if (!isStray(unit) || (i > 0 && shown[i - 1].isHighSurrogate()))
            continue;
        const auto byte = static_cast<unsigned char>(unit - strayBase);
        char16_t character = byte >= 0xA0 ? byte : cp1252High[byte - 0x80];
        shown[i] = QChar(character ? character : char16_t(0xFFFD));
    }
    return shown;
}

bool isBareName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

} // namespace tunevane::files
