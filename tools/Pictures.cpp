// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Pictures.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>
#include <cstdio>

namespace tunevane::pictures {

QImage grab(QWidget& window) {
    // The picture shows the window, not a focus frame on whichever control was made first.
    if (QWidget* focused = window.focusWidget())
        focused->clearFocus();
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    return window.grab().toImage();
}

QImage renderSvg(const QString& svgFile, int size) {
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid())
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

bool savePng(const QImage& image, const QString& file) {
    if (!image.isNull() && image.save(file, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace tunevane::pictures
