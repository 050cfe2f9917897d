#include "app/App.h"
#include "app/Form.h"
#include "app/Ui.h"
#include "files/ProgramFolder.h"
#include "start/Start.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunevane"));
    QApplication::setDesktopFileName(QStringLiteral("tunevane"));
    QApplication::setWindowIcon(tunevane::resourceIcon(QStringLiteral("icons/program.argb")));
    tunevane::installFonts();

    tunevane::App app(tunevane::files::ProgramFolder::standardLocation());
    QObject::connect(&app, &tunevane::App::ended, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    tunevane::start(app);
    return QApplication::exec();
}
