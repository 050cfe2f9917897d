// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestSupport.h"

#include "app/App.h"
#include "app/Application.h"
#include "app/Ui.h"
#include "sets_backups/FrmBackupConfirm.h"
#include "sets_backups/FrmSetConfirm.h"
#include "start/Start.h"
#include "switching/FrmFavorites.h"
#include "switching/FrmReplaceConfirm.h"

#include <QApplication>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tunevane;
using testsupport::settle;
using testsupport::topLevel;

namespace {

// Motif hint bits, as window managers read them.
constexpr unsigned motifFunctions = 1, motifDecorations = 2;
constexpr unsigned functionClose = 32, functionMinimise = 8, functionMaximise = 16;
constexpr unsigned decorationMinimise = 32, decorationMaximise = 64;

// What the window asked for and what the window manager made of it.
struct Boxes {
    bool managed = false;
    QStringList actions;
    QList<unsigned> motif;
    QString type;
    int titleHeight = 0;
    QString transientFor;
    QString said;
    QString id; // the window's own, as WM_TRANSIENT_FOR names it
    QRect frame;

    bool allows(const char* action) const {
        return actions.contains(QStringLiteral("_NET_WM_ACTION_") + QLatin1StringView(action));
    }
    unsigned motifField(int index) const { return motif.size() > index ? motif.at(index) : 0; }
    // Unflagged fields leave the choice to the window manager.
    bool function(unsigned bit) const {
        return !(motifField(0) & motifFunctions) || (motifField(1) & bit);
    }
    bool decoration(unsigned bit) const {
        return !(motifField(0) & motifDecorations) || (motifField(2) & bit);
    }
};

// A private X server, so that a window manager can run without disturbing other tests.
pid_t startX(QByteArray& display) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 1);
        ::dup2(quiet, 2);
        const QByteArray fd = QByteArray::number(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // The server writes the number and the line end apart; closing early would kill it.
    QByteArray number;
    char c = 0;
    while (pid > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number.append(c);
    ::close(fds[0]);
    if (number.isEmpty())
        return -1;
    display = ':' + number;
    return pid;
}

} // namespace

class WindowHintsTest : public QObject {
    Q_OBJECT

    QProcess m_windowManager;
    QTemporaryDir m_folder;
    std::unique_ptr<App> m_app;
    QMap<QString, Boxes> m_seen;

    static QString xprop(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xprop"), arguments);
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    static Boxes readBoxes(const QString& id) {
        Boxes boxes;
        boxes.said =
            xprop({QStringLiteral("-id"), id, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"),
                   QStringLiteral("_MOTIF_WM_HINTS"), QStringLiteral("_NET_FRAME_EXTENTS"),
                   QStringLiteral("_NET_WM_WINDOW_TYPE"), QStringLiteral("WM_TRANSIENT_FOR")});
        for (const QString& line : boxes.said.split(u'\n')) {
            const QString value = line.section(QStringLiteral(" = "), 1);
            const QString property = line.section(u'(', 0, 0);
            if (property == u"_NET_WM_ALLOWED_ACTIONS") {
                boxes.actions = value.split(QStringLiteral(", "), Qt::SkipEmptyParts);
            } else if (property == u"_MOTIF_WM_HINTS") {
                for (const QString& field : value.split(QStringLiteral(", ")))
                    boxes.motif.append(field.toUInt(nullptr, 16));
            } else if (property == u"_NET_FRAME_EXTENTS") {
                boxes.managed = true;
                boxes.titleHeight = value.section(QStringLiteral(", "), 2, 2).toInt();
            } else if (property == u"_NET_WM_WINDOW_TYPE") {
                boxes.type = value.section(QStringLiteral(", "), 0, 0);
            } else if (property == u"WM_TRANSIENT_FOR") {
                boxes.transientFor = line.section(QStringLiteral("# "), 1);
            }
        }
        boxes.managed = boxes.managed && !boxes.actions.isEmpty();
        return boxes;
    }

    // Waits until the window manager has taken the window on and two readings in a row
    // agree, then reads.
    static Boxes boxesOf(QWidget* window) {
        const QString id = QString::number(window->winId());
        Boxes last, now;
        const auto settled = [&] {
            last = std::exchange(now, readBoxes(id));
            return now.managed && now.said == last.said;
        };
        // An unsettled reading is returned too, for the checks to show what was seen.
        static_cast<void>(QTest::qWaitFor(settled, 20000));
        return now;
    }

    void see(const QString& name, QWidget* window = nullptr) {
        if (!window)
            window = topLevel(name);
        QVERIFY2(window && window->isVisible(), qPrintable(name));
        Boxes boxes = boxesOf(window);
        boxes.id = u"0x" + QString::number(window->winId(), 16);
        boxes.frame = window->windowHandle()->frameGeometry();
        m_seen.insert(name, boxes);
    }

    void click(const QString& window, const QString& button) {
        QVERIFY2(testsupport::click(window, button), qPrintable(window + u' ' + button));
    }

    template <typename Confirmation> void seeConfirmation(const QString& name) {
        Confirmation& dialog = m_app->forms().get<Confirmation>();
        dialog.showModal(*topLevel(QStringLiteral("FrmCopyMidi")));
        see(name);
        dialog.hideAndUnload();
        settle();
    }

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        if (QGuiApplication::platformName() != u"xcb") {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_DISPLAY"))
                QFAIL("no X server for the window manager");
            QSKIP("no X server for the window manager");
        }
        m_windowManager.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QVERIFY2(m_windowManager.waitForStarted(10000), "openbox did not start");
        // The window manager is up once it frames a window of its own.
        QWidget probe;
        probe.setFixedSize(50, 50);
        probe.show();
        QVERIFY2(boxesOf(&probe).managed, "openbox never managed a window");
        probe.hide();

        // Every window kind there is, reached the way a user reaches it.
        m_app = std::make_unique<App>(m_folder.path());
        tunevane::start(*m_app);
        settle();
        see(QStringLiteral("frmSplash"));
        click(QStringLiteral("frmSplash"), QStringLiteral("CmdEntermidi"));
        see(QStringLiteral("FrmMidi"));
        click(QStringLiteral("FrmMidi"), QStringLiteral("CmdTunevane"));
        see(QStringLiteral("FrmCopyMidi"));
        click(QStringLiteral("FrmCopyMidi"), QStringLiteral("CmdMidiBackup"));
        see(QStringLiteral("FrmMidiBackup"));
        click(QStringLiteral("FrmMidiBackup"), QStringLiteral("CmdProceed"));
        see(QStringLiteral("FrmSetName2"));
        topLevel(QStringLiteral("FrmSetName2"))->close(); // and with it the backup window
        click(QStringLiteral("FrmCopyMidi"), QStringLiteral("CmdSwitch3"));
        QMessageBox* box = testsupport::messageBox();
        QVERIFY(box);
        see(QStringLiteral("message box"), box);
        QVERIFY(!testsupport::dismissMessageBox().isEmpty());
        click(QStringLiteral("FrmCopyMidi"), QStringLiteral("CmdFavorites"));
        see(QStringLiteral("FrmFavorites"));
        click(QStringLiteral("FrmFavorites"), QStringLiteral("CmdFavorites"));
        seeConfirmation<FrmReplaceConfirm>(QStringLiteral("FrmReplaceConfirm"));
        seeConfirmation<FrmSetConfirm>(QStringLiteral("FrmSetConfirm"));
        seeConfirmation<FrmBackupConfirm>(QStringLiteral("FrmBackupConfirm"));
        click(QStringLiteral("FrmCopyMidi"), QStringLiteral("CmdExitFrmCopyMidi"));
        click(QStringLiteral("FrmMidi"), QStringLiteral("CmdGotoWavSelect1"));
        see(QStringLiteral("FrmWavSelect"));
        click(QStringLiteral("FrmWavSelect"), QStringLiteral("CmdSwitch"));
        see(QStringLiteral("FrmCopyWavs"));
        click(QStringLiteral("FrmCopyWavs"), QStringLiteral("CmdCreateSet"));
        see(QStringLiteral("FrmSetName"));
        topLevel(QStringLiteral("FrmSetName"))->close();
    }

    void cleanupTestCase() {
        m_app.reset();
        settle();
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            m_windowManager.waitForFinished(5000);
        }
    }

    void windowManagerShowsTheBoxesOfEachWindow_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("minimise");
        QTest::addColumn<QString>("type");
        const QString normal = QStringLiteral("_NET_WM_WINDOW_TYPE_NORMAL");
        const QString utility = QStringLiteral("_NET_WM_WINDOW_TYPE_UTILITY");
        QTest::newRow("start-up") << QStringLiteral("frmSplash") << false << false
                                  << QStringLiteral("_NET_WM_WINDOW_TYPE_SPLASH");
        QTest::newRow("music") << QStringLiteral("FrmMidi") << true << true << normal;
        QTest::newRow("effects") << QStringLiteral("FrmWavSelect") << true << true << normal;
        QTest::newRow("music switch") << QStringLiteral("FrmCopyMidi") << false << false << normal;
        QTest::newRow("effects switch")
            << QStringLiteral("FrmCopyWavs") << false << false << normal;
        QTest::newRow("replacement done")
            << QStringLiteral("FrmReplaceConfirm") << true << false << utility;
        QTest::newRow("favourites done")
            << QStringLiteral("FrmFavorites") << true << false << utility;
        QTest::newRow("set saved") << QStringLiteral("FrmSetConfirm") << true << false << utility;
        QTest::newRow("backup done")
            << QStringLiteral("FrmBackupConfirm") << true << false << utility;
        QTest::newRow("message box") << QStringLiteral("message box") << true << false
                                     << QStringLiteral("_NET_WM_WINDOW_TYPE_DIALOG");
    }

    void windowManagerShowsTheBoxesOfEachWindow() {
        QFETCH(QString, window);
        QFETCH(bool, closeBox);
        QFETCH(bool, minimise);
        QFETCH(QString, type);
        QVERIFY2(m_seen.contains(window), qPrintable(window));
        const Boxes boxes = m_seen.value(window);
        QVERIFY2(boxes.managed, qPrintable(boxes.said));
        QCOMPARE(boxes.type, type);
        // No window can be resized or maximised.
        QVERIFY(!boxes.allows("RESIZE"));
        QVERIFY(!boxes.allows("MAXIMIZE_HORZ") && !boxes.allows("MAXIMIZE_VERT"));
        const bool splash = type.endsWith(u"SPLASH");
        QCOMPARE(boxes.titleHeight > 10, !splash);
        if (splash) {
            QVERIFY(!boxes.allows("CLOSE") && !boxes.allows("MINIMIZE"));
            return;
        }
        // What a window manager that follows the Motif hints shows, box by box. openbox keeps
        // close and minimise whatever the hints say, so there only what it honours is checked.
        QCOMPARE(boxes.function(functionClose), closeBox);
        QCOMPARE(boxes.function(functionMinimise) && boxes.decoration(decorationMinimise),
                 minimise);
        QVERIFY(!(boxes.function(functionMaximise) && boxes.decoration(decorationMaximise)));
        QVERIFY(boxes.allows("CLOSE") || !closeBox);
        QVERIFY(boxes.allows("MINIMIZE") || !minimise);
    }

    // Kept above the shown window it came from, and first seen over it.
    void dialogsStayOverTheirWindows_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("opener");
        QTest::newRow("Midi Backup")
            << QStringLiteral("FrmMidiBackup") << QStringLiteral("FrmCopyMidi");
        QTest::newRow("Save Backup Set")
            << QStringLiteral("FrmSetName2") << QStringLiteral("FrmMidiBackup");
        QTest::newRow("Save Set") << QStringLiteral("FrmSetName") << QStringLiteral("FrmCopyWavs");
        for (const char* notice : {"FrmSetConfirm", "FrmFavorites", "message box"})
            QTest::newRow(notice) << QString::fromUtf8(notice) << QStringLiteral("FrmCopyMidi");
    }

    void dialogsStayOverTheirWindows() {
        QFETCH(QString, dialog);
        QFETCH(QString, opener);
        QCOMPARE(m_seen.value(dialog).transientFor, m_seen.value(opener).id);
        QVERIFY(m_seen.value(opener).frame.contains(m_seen.value(dialog).frame.center()));
    }
};

int main(int argc, char** argv) {
    // Windows need a real X server and a window manager; without a display the test skips.
    QByteArray display;
    pid_t server = -1;
    if (!qEnvironmentVariableIsEmpty("TUNEVANE_TEST_DISPLAY")) {
        server = startX(display);
        if (server > 0) {
            qputenv("DISPLAY", display);
            qputenv("QT_QPA_PLATFORM", "xcb");
        }
    }
    int status = 0;
    {
        Application application(argc, argv);
        WindowHintsTest test;
        status = QTest::qExec(&test, argc, argv);
    }
    if (server > 0) {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    }
    return status;
}

#include "WindowHintsTest.moc"
