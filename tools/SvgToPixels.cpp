// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders an SVG into a square of raw premultiplied ARGB32 pixels at build time. The start-up
// window shows the program icon before its first frame; read from raw pixels, it needs neither
// the SVG icon engine nor the image-format plugins, which Qt loads for any image file.
// Usage: SvgToPixels IN.svg OUT.argb SIZE

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: SvgToPixels IN.svg OUT.argb SIZE\n");
        return 2;
    }
    QSvgRenderer svg(arguments[1]);
    const int size = arguments[3].toInt();
    if (!svg.isValid() || size <= 0) {
        std::fprintf(stderr, "SvgToPixels: cannot render %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    QFile out(arguments[2]);
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes)
        return 1;
    return out.flush() ? 0 : 1;
}
