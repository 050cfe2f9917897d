// Draws the package's pictures at build time, offscreen:
//   tunevane-pictures icon SVG SIZE PNG    the program icon at one size
//   tunevane-pictures window NAME PNG      a window of the program as the user first sees it
#include "Pictures.h"

#include "app/App.h"
#include "app/Ui.h"
#include "selection/FrmMidi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
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

const std::map<QString, std::function<QWidget&(App&)>> windows = {
    {QStringLiteral("FrmMidi"),
     [](App& app) -> QWidget& {
         FrmMidi& window = app.forms().get<FrmMidi>();
         window.showModeless();
         return window;
     }},
};

int usage() {
    std::fprintf(stderr, "usage: tunevane-pictures icon SVG SIZE PNG | window NAME PNG\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A build runs without a session; a private runtime folder keeps Qt from complaining.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.*=false"));
    QApplication application(argc, argv);
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
        installFonts();
        QTemporaryDir scratch;
        makeSampleGame(scratch.path());
        const QString programFolder = scratch.path() + QStringLiteral("/program");
        QDir().mkpath(programFolder);
        App app(programFolder);
        const QImage image = pictures::grab(found->second(app));
        return pictures::savePng(image, arguments[3]) ? 0 : 1;
    }
    return usage();
}
