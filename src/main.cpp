// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/App.h"
#include "app/Application.h"
#include "app/Controls.h"
#include "files/ProgramFolder.h"
#include "start/Start.h"

int main(int argc, char* argv[]) {
    tunevane::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunevane"));
    QApplication::setDesktopFileName(QStringLiteral("tunevane"));
    QApplication::setWindowIcon(tunevane::resourceIcon(QStringLiteral("icons/program.argb")));

    tunevane::App app(tunevane::files::ProgramFolder::standardLocation());
    QObject::connect(&app, &tunevane::App::ended, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    tunevane::start(app);
    return QApplication::exec();
}
