// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppFixture.h"
#include "AppTestMain.h"

#include "app/App.h"
#include "app/TabOrder.h"
#include "app/Ui.h"
#include "app/Version.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "start/FrmSplash.h"
#include "start/Start.h"
#include "switching/FrmCopyMidi.h"
#include "switching/FrmCopyWavs.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tunevane;
using testsupport::settle;
using testsupport::topLevel;
using testsupport::visibleWindows;

class NavigationTest : public QObject, protected testsupport::AppFixture {
    Q_OBJECT

    void enter() { click(u"frmSplash", u"CmdEntermidi"); }

    // Pixels that turned from light to dark or back, as a dotted frame does; a tint does not.
    static bool marked(const QImage& focused, const QImage& unfocused) {
        int changed = 0;
        for (int y = 0; y < focused.height(); ++y)
            for (int x = 0; x < focused.width(); ++x)
                changed += std::abs(qGray(focused.pixel(x, y)) - qGray(unfocused.pixel(x, y))) > 96;
        return changed >= 20;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void init() {
        makeApp();
        start(*m_app);
        settle();
    }

    void cleanup() {
        dropApp();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void splashShowsVersionAndEnter() {
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("frmSplash")});
        QWidget* splash = topLevel(QStringLiteral("frmSplash"));
        QCOMPARE(splash->size(), QSize(511, 293));
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.3.0"));
        auto* enterButton = splash->findChild<QPushButton*>(QStringLiteral("CmdEntermidi"));
        QVERIFY(!enterButton->isDefault() && !enterButton->autoDefault());
        QCOMPARE(versionText(2, 10, 0), QStringLiteral("Version 2.10.0"));
    }

    void keyOnSplashEndsProgram_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("buttonFocused");
        QTest::newRow("letter") << int(Qt::Key_A) << false;
        QTest::newRow("digit") << int(Qt::Key_7) << false;
        QTest::newRow("space on Enter") << int(Qt::Key_Space) << true;
        QTest::newRow("return on Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("backspace on Enter") << int(Qt::Key_Backspace) << true;
    }

    void keyOnSplashEndsProgram() {
        QFETCH(int, key);
        QFETCH(bool, buttonFocused);
        QWidget* splash = topLevel(QStringLiteral("frmSplash"));
        QWidget* target = splash;
        if (buttonFocused) {
            target = splash->findChild<QPushButton*>(QStringLiteral("CmdEntermidi"));
            target->setFocus();
        }
        QSignalSpy ended(m_app.get(), &App::ended);
        QTest::keyClick(target, Qt::Key(key));
        settle();
        QCOMPARE(ended.count(), 1);
        QVERIFY(m_app->hasEnded());
        QVERIFY(!m_app->forms().isLoaded<FrmMidi>());
        QCOMPARE(visibleWindows(), QStringList());
    }

    void shiftAloneDoesNothing() {
        QTest::keyClick(topLevel(QStringLiteral("frmSplash")), Qt::Key_Shift);
        settle();
        QVERIFY(!m_app->hasEnded());
    }

    void enterOpensMusicWindowAndMakesFavourites() {
        enter();
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmMidi")});
        QWidget* music = topLevel(QStringLiteral("FrmMidi"));
        QCOMPARE(music->windowTitle(), QStringLiteral("Tune-Vane/Background Music"));
        QCOMPARE(music->size(), QSize(466, 329));
        QVERIFY(music->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!music->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(QDir(m_folder->path()).exists(QStringLiteral("Favorite Midi")));
    }

    void roundTripKeepsFavouritesQuiet() {
        QDir(m_folder->path()).mkdir(QStringLiteral("Favorite Midi"));
        enter();
        click(u"FrmMidi", u"CmdGotoWavSelect1");
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmWavSelect")});
        QVERIFY(!m_app->forms().isLoaded<FrmMidi>());
        QWidget* effects = topLevel(QStringLiteral("FrmWavSelect"));
        QCOMPARE(effects->windowTitle(), QStringLiteral("Tune-Vane/Sound Effects"));
        QCOMPARE(effects->size(), QSize(588, 329));
        click(u"FrmWavSelect", u"CmdQuit2");
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmMidi")});
        QVERIFY(!m_app->forms().isLoaded<FrmWavSelect>());
        QVERIFY(testsupport::messageBox() == nullptr);
        QVERIFY(!m_app->hasEnded());
    }

    void exitProgramEndsAtOnce_data() {
        QTest::addColumn<bool>("effects");
        QTest::newRow("music") << false;
        QTest::newRow("effects") << true;
    }

    void exitProgramEndsAtOnce() {
        QFETCH(bool, effects);
        enter();
        if (effects)
            click(u"FrmMidi", u"CmdGotoWavSelect1");
        m_app->forms().get<FrmCopyWavs>();
        click(effects ? u"FrmWavSelect" : u"FrmMidi", effects ? u"CmdExitProgWav" : u"CmdExit1");
        QVERIFY(m_app->hasEnded());
        QCOMPARE(visibleWindows(), QStringList());
    }

    void titleBarCloseEndsWithHiddenSwitchWindows() {
        enter();
        // Choices made earlier keep both switch windows loaded and hidden.
        m_app->forms().get<FrmCopyMidi>();
        m_app->forms().get<FrmCopyWavs>();
        QSignalSpy ended(m_app.get(), &App::ended);
        topLevel(QStringLiteral("FrmMidi"))->close();
        settle();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(visibleWindows(), QStringList());
    }

    // From the control a window starts on, Tab goes round it in reading order, and each
    // control it stops at marks its focus plainly.
    void tabGoesRoundInReadingOrder_data() {
        QTest::addColumn<QString>("clicks"); // window.button, pressed on the way there
        QTest::addColumn<QString>("stops");
        QTest::newRow("music")
            << QString()
            << "DrvMidi2 DirMidi2 FleMidi2 DrvMidi1 DirMidi1 FleMidi1 "
               "CmdChooseGame1mid CmdRemoveMidi1 CmdReplaceMidi1 CmdChooseGame2mid "
               "CmdRemoveMidi2 CmdReplaceMidi2 CmdChooseGame3mid CmdRemoveMidi3 "
               "CmdReplaceMidi3 CmdTunevane CmdAbout CmdGotoWavSelect1 "
               "CmdMidiGames CmdExit1 CmdHelpMidi";
        QTest::newRow("music switch")
            << "FrmMidi.CmdTunevane"
            << "CmdMidiHelp2 CmdMidiRemove1 CmdMidiRemove2 CmdMidiRemove3 CmdMidiBackup "
               "CmdSwitch3 CmdFavorites CmdExitFrmCopyMidi";
        QTest::newRow("effects")
            << "FrmMidi.CmdGotoWavSelect1"
            << "DrvWav1 DirWav1 FleWav1 DrvWav2 DirWav2 FleWav2 CmdChooseGame1 CmdRemove1 "
               "CmdReplaceWav1 CmdChooseGame2 CmdRemove2 CmdReplaceWav2 CmdChooseGame3 CmdRemove3 "
               "CmdReplaceWav3 CmdChooseGame4 CmdRemove4 CmdReplaceWav4 CmdChooseGame5 CmdRemove5 "
               "CmdReplaceWav5 CmdChooseGame6 CmdRemove6 CmdReplaceWav6 CmdSwitch CmdQuit2 "
               "CmdWavGames CmdExitProgWav CmdWavHelp1";
        QTest::newRow("effects switch")
            << "FrmMidi.CmdGotoWavSelect1 FrmWavSelect.CmdSwitch"
            << "CmdWavHelp2 CmdClear1 CmdClear2 CmdClear3 CmdClear4 CmdClear5 CmdClear6 "
               "CmdWavBackup CmdSwitch2 CmdCreateSet CmdExitFrmCopyWavs";
    }

    void tabGoesRoundInReadingOrder() {
        QFETCH(QString, clicks);
        QFETCH(QString, stops);
        enter();
        for (const QString& step : clicks.split(u' ', Qt::SkipEmptyParts))
            click(step.section(u'.', 0, 0), step.section(u'.', 1));
        QVERIFY(QTest::qWaitForWindowActive(QApplication::activeWindow()));
        QStringList walked;
        for (QWidget* stop = QApplication::focusWidget(); walked.size() < 40;) {
            walked << stop->objectName();
            const QImage focused = stop->grab().toImage();
            QTest::keyClick(stop, Qt::Key_Tab);
            QVERIFY2(marked(focused, stop->grab().toImage()), qPrintable(walked.last()));
            stop = QApplication::focusWidget();
            if (stop->objectName() == walked.first())
                break;
        }
        QCOMPARE(walked.join(u' '), stops);
    }

    // A row ends at the bottom of its highest control; each row goes left to right.
    void readingOrder_data() {
        QTest::addColumn<QList<QRect>>("boxes");
        QTest::addColumn<QList<size_t>>("order");
        QTest::newRow("one row") << QList<QRect>{{50, 0, 10, 10}, {10, 0, 10, 10}, {30, 2, 10, 10}}
                                 << QList<size_t>{1, 2, 0};
        QTest::newRow("two rows") << QList<QRect>{{10, 30, 10, 10}, {40, 0, 10, 10}}
                                  << QList<size_t>{1, 0};
        QTest::newRow("a lower top within the row")
            << QList<QRect>{{20, 15, 10, 10}, {5, 25, 10, 10}, {0, 0, 10, 20}}
            << QList<size_t>{2, 0, 1};
        // The tall control joins the first row; what lies beside it below that row does not.
        QTest::newRow("a tall control")
            << QList<QRect>{{5, 12, 10, 10}, {20, 5, 10, 40}, {0, 0, 10, 10}}
            << QList<size_t>{2, 1, 0};
    }

    void readingOrder() {
        QFETCH(QList<QRect>, boxes);
        QFETCH(QList<size_t>, order);
        const std::vector<size_t> read = tunevane::readingOrder(boxes);
        QCOMPARE(QList<size_t>(read.begin(), read.end()), order);
    }

    // Return or Space where a window opens clears no slot, copies nothing and closes nothing;
    // Esc leaves a window where it stands for "Cancel" or the close box.
    void keysDoNoHarm_data() {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<bool>("escapeLeaves");
        QTest::newRow("switch window")
            << QStringLiteral("FrmMidi.CmdGotoWavSelect1 FrmWavSelect.CmdSwitch") << false;
        QTest::newRow("backup window")
            << QStringLiteral("FrmMidi.CmdTunevane FrmCopyMidi.CmdMidiBackup") << true;
        QTest::newRow("URL Retrieval") << QStringLiteral("FrmMidi.CmdMidiGames") << true;
        QTest::newRow("tutorial page") << QStringLiteral("FrmMidi.CmdHelpMidi") << false;
    }

    void keysDoNoHarm() {
        QFETCH(QString, clicks);
        QFETCH(bool, escapeLeaves);
        enter();
        FrmCopyWavs& effects = m_app->forms().get<FrmCopyWavs>();
        effects.setGame(1, QStringLiteral("A"), QStringLiteral("/A"));
        for (const QString& step : clicks.split(u' '))
            click(step.section(u'.', 0, 0), step.section(u'.', 1));
        const QPointer<QWidget> window = QApplication::activeWindow();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space})
            QTest::keyClick(window->focusWidget(), key);
        settle();
        QVERIFY(window && window->isVisible() &&
                !QDir(m_folder->path()).exists(QStringLiteral("BackDir")));
        QVERIFY(!effects.slot(1).gameName.isEmpty());
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        settle();
        QCOMPARE(window && window->isVisible(), !escapeLeaves);
    }

    void modalContinuationRunsOnceAfterHide() {
        enter();
        FrmCopyWavs& window = m_app->forms().get<FrmCopyWavs>();
        int runs = 0;
        window.showModal(*topLevel(QStringLiteral("FrmMidi")), [&runs] { ++runs; });
        QVERIFY(window.isModal());
        window.hide();
        QCOMPARE(runs, 0); // not inside the handler that hid it
        settle();
        QCOMPARE(runs, 1);
        window.showModeless();
        window.hide();
        settle();
        QCOMPARE(runs, 1);
    }

    void unloadedWindowComesBackFresh() {
        enter();
        FrmCopyMidi& first = m_app->forms().get<FrmCopyMidi>();
        first.setGame(1, QStringLiteral("A.MID"), QStringLiteral("/g/A.MID"));
        m_app->forms().unload<FrmCopyMidi>();
        settle();
        QVERIFY(!m_app->forms().isLoaded<FrmCopyMidi>());
        QCOMPARE(m_app->forms().get<FrmCopyMidi>().slot(1).gameName, QString());
    }

    // A window that appears under a double click does not take its second click.
    void secondClickOfADoubleClickStaysWithItsWindow_data() {
        QTest::addColumn<int>("later"); // ms between the two presses
        QTest::addColumn<bool>("ended");
        QTest::newRow("double click") << 100 << false;
        QTest::newRow("two clicks") << 1000 << true;
    }

    void secondClickOfADoubleClickStaysWithItsWindow() {
        QFETCH(int, later);
        QFETCH(bool, ended);
        enter();
        click(u"FrmMidi", u"CmdTunevane");
        const QPointF where(300, 200);
        const auto send = [&](QWidget* target, QEvent::Type type, ulong time) {
            QMouseEvent event(type, QPointF(target->rect().center()), where, Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            event.setTimestamp(time);
            QApplication::sendEvent(target, &event);
        };
        auto* close = topLevel(QStringLiteral("FrmCopyMidi"))
                          ->findChild<QPushButton*>(QStringLiteral("CmdExitFrmCopyMidi"));
        send(close, QEvent::MouseButtonPress, 5000);
        send(close, QEvent::MouseButtonRelease, 5050);
        settle();
        auto* exit = topLevel(QStringLiteral("FrmMidi"))
                         ->findChild<QPushButton*>(QStringLiteral("CmdExit1"));
        QVERIFY(exit->isVisible());
        const auto second = static_cast<ulong>(5000 + later);
        send(exit, QEvent::MouseButtonPress, second);
        if (later < QGuiApplication::styleHints()->mouseDoubleClickInterval())
            send(exit, QEvent::MouseButtonDblClick, second);
        send(exit, QEvent::MouseButtonRelease, second + 50);
        settle();
        QCOMPARE(m_app->hasEnded(), ended);
    }
};

TUNEVANE_TEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
