// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace tunevane::pictures {

// What the window shows once every pending paint and deferred layout has run, without the
// window system's frame. Works on the offscreen platform.
QImage grab(QWidget& window);

// An SVG drawn at `size` × `size` pixels on a transparent background; null on failure.
QImage renderSvg(const QString& svgFile, int size);

// Writes `image` as PNG; a message on stderr and false on failure.
bool savePng(const QImage& image, const QString& file);

} // namespace tunevane::pictures
