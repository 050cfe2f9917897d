// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the package's pictures at build time, offscreen:
//   tunevane-pictures icon SVG SIZE PNG    the program icon at one size
//   tunevane-pictures window NAME PNG      a window of the program as the user first sees it
#include "Pictures.h"
#include "PrivateHome.h"

#include "app/App.h"
#include "app/Application.h"
#include "help/FrmGameLinks.h"
#include "help/FrmWavGame.h"
#include "help/frmAbout.h"
#include "selection/FrmMidi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

using namespace tunevane;

namespace {

// A game folder with a few music files, so the browsing panes show what a user would see.
void makeSampleGame(const QString& root) {
    const QString folder = root + QStringLiteral("/Games/Bedtris/music");
    QDir().mkpath(folder);
    for (const char* name : {"INTRO.MID", "LEVEL1.MID", "LEVEL2.MID", "GAMEOVER.MID"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    QDir::setCurrent(folder);
}

template <class Window> QWidget& show(App& app) {
    Window& window = app.forms().template get<Window>();
    window.showModeless();
    return window;
}

const std::map<QString, QWidget& (*)(App&)> windows = {
    {QStringLiteral("FrmMidi"), show<FrmMidi>},
    {QStringLiteral("FrmGameLinks"), show<FrmGameLinks>},
    {QStringLiteral("FrmWavGame"), show<FrmWavGame>},
    {QStringLiteral("frmAbout"), show<frmAbout>},
};

// The offscreen platform says what it cannot do, such as raising a window; nothing to act on.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        qt_message_output(type, context, message);
}

int usage() {
    std::fprintf(stderr, "usage: tunevane-pictures icon SVG SIZE PNG | window NAME PNG\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // What this run makes for itself lies beside its output, inside the build tree.
    const QString scratch =
        (argc > 1 ? QFileInfo(QString::fromLocal8Bit(argv[argc - 1])).absolutePath()
                  : QDir::currentPath()) +
        QStringLiteral("/.scratch-XXXXXX");
    // A build runs without a session; a private runtime folder keeps Qt from complaining.
    QTemporaryDir runtime(scratch);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    QTemporaryDir home(scratch);
    if (home.isValid())
        usePrivateHome(home.path());
    qInstallMessageHandler(dropPlatformNotes);
    Application application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == QLatin1String("icon")) {
        bool isNumber = false;
        const int size = arguments[3].toInt(&isNumber);
        if (!isNumber || size <= 0)
            return usage();
        return pictures::savePng(pictures::renderSvg(arguments[2], size), arguments[4]) ? 0 : 1;
    }
    if (arguments.size() == 4 && arguments[1] == QLatin1String("window")) {
        const auto found = windows.find(arguments[2]);
        if (found == windows.end())
            return usage();
        const QString output = QFileInfo(arguments[3]).absoluteFilePath();
        QTemporaryDir sample(scratch);
        makeSampleGame(sample.path());
        const QString programFolder = sample.path() + QStringLiteral("/program");
        QDir().mkpath(programFolder);
        App app(programFolder);
        const QImage image = pictures::grab(found->second(app));
        return pictures::savePng(image, output) ? 0 : 1;
    }
    return usage();
}
