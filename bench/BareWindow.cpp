// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reference for start-up time: the least a Qt Widgets program does to show a window.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tunevane"));
    label.show();
    return QApplication::exec();
}
