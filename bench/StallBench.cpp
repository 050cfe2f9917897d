// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Window stalls around the browsing panes, as the longest the window thread went without an
// event (ms). Run through bench/mounts.sh and bench/games.sh:
//   StallBench --mount FOLDER      start-up through the music window, working in FOLDER's
//                                  parent; its drive list opened, FOLDER (a mount) picked as a
//                                  drive and opened as a folder. Prints the longest stall of
//                                  them all but entering the music window, then that one's.
//                                  The script runs it once with the mount's server stopped and
//                                  once with it answering.
//   StallBench --make-games HOME N makes a home with N Steam games
//   StallBench --games HOME N      the music window's panes take the N Steam games found in
//                                  HOME (an empty home and 0 for the reference)

#include "StallWatch.h"
#include "app/App.h"
#include "app/Application.h"
#include "start/Start.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

QWidget* window(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Runs the steps 20 ms apart while the watch ticks; the longest stall after each step, up to
// the next one.
std::vector<double> stallsOver(const std::vector<std::function<void()>>& steps) {
    StallWatch watch;
    QEventLoop loop;
    std::vector<double> stalls;
    std::size_t next = 0;
    std::function<void()> step = [&] {
        if (next > 0)
            stalls.push_back(watch.longestMs());
        watch.longest = 0;
        if (next == steps.size()) {
            loop.quit();
            return;
        }
        steps[next++]();
        QTimer::singleShot(20, step);
    };
    watch.tick.start();
    QTimer::singleShot(20, step);
    loop.exec();
    return stalls;
}

int mount(const QString& folder) {
    QTemporaryDir program;
    QDir::setCurrent(QFileInfo(folder).path());
    std::unique_ptr<tunevane::App> app;
    QComboBox* drives = nullptr;
    const std::vector<double> stalls = stallsOver({
        [&] {
            app = std::make_unique<tunevane::App>(program.path());
            tunevane::start(*app);
        },
        [&] {
            window(QStringLiteral("frmSplash"))
                ->findChild<QPushButton*>(QStringLiteral("CmdEntermidi"))
                ->click();
        },
        [&] {
            drives = window(QStringLiteral("FrmMidi"))
                         ->findChild<QComboBox*>(QStringLiteral("DrvMidi2"));
            drives->showPopup();
        },
        [&] { drives->hidePopup(); },
        [&] { Q_EMIT drives->activated(drives->findData(folder)); },
        [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Ok)->click();
        },
        [&] {
            auto* folders = window(QStringLiteral("FrmMidi"))
                                ->findChild<QListWidget*>(QStringLiteral("DirMidi2"));
            const QList<QListWidgetItem*> found =
                folders->findItems(QFileInfo(folder).fileName(), Qt::MatchExactly);
            if (!found.isEmpty())
                Q_EMIT folders->activated(folders->indexFromItem(found.last()));
        },
    });
    // Entering the music window builds it whatever the mounts do: its stall is told apart.
    const double entering = stalls.at(1);
    std::printf("%.2f %.2f\n",
                std::max({stalls.at(0), *std::max_element(stalls.begin() + 2, stalls.end())}),
                entering);
    return drives ? 0 : 1;
}

bool makeGames(const QString& home, int count) {
    const QString apps = home + QStringLiteral("/.local/share/Steam/steamapps");
    if (!QDir().mkpath(apps + QStringLiteral("/common")))
        return false;
    for (int id = 1; id <= count; ++id) {
        const QString name = QStringLiteral("Game %1").arg(id);
        QFile manifest(apps + QStringLiteral("/appmanifest_%1.acf").arg(id));
        if (!QDir(apps + QStringLiteral("/common")).mkdir(name) ||
            !manifest.open(QIODevice::WriteOnly) ||
            manifest.write(QStringLiteral("\"AppState\" { \"appid\" \"%1\" \"name\" \"%2\" "
                                          "\"installdir\" \"%2\" }")
                               .arg(id)
                               .arg(name)
                               .toUtf8()) < 0)
            return false;
    }
    return true;
}

int games(const QString& home, int count) {
    QTemporaryDir program;
    qputenv("HOME", QFile::encodeName(home));
    tunevane::App app(program.path());
    tunevane::start(app);
    window(QStringLiteral("frmSplash"))
        ->findChild<QPushButton*>(QStringLiteral("CmdEntermidi"))
        ->click();
    QComboBox* drives =
        window(QStringLiteral("FrmMidi"))->findChild<QComboBox*>(QStringLiteral("DrvMidi2"));
    // From the panes' start to both holding every game: the search itself runs elsewhere.
    StallWatch watch;
    watch.tick.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (drives->count() >= count + 3)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    std::printf("%.2f\n", watch.longestMs());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tunevane::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunevane"));
    if (argc == 3 && std::strcmp(argv[1], "--mount") == 0)
        return mount(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "--make-games") == 0)
        return makeGames(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toInt())
                   ? 0
                   : 1;
    if (argc == 4 && std::strcmp(argv[1], "--games") == 0)
        return games(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toInt());
    std::fputs("usage: StallBench --mount FOLDER | --make-games HOME N | --games HOME N\n", stderr);
    return 2;
}
