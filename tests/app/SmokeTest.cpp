// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RealProgram.h"
#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// Starts the real program on a real X server, as a user would.
class SmokeTest : public QObject {
    Q_OBJECT

    QString m_display;

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        m_display = qEnvironmentVariable("TUNEVANE_TEST_DISPLAY");
        if (m_display.isEmpty()) {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_DISPLAY"))
                QFAIL("TUNEVANE_TEST_DISPLAY is not set");
            QSKIP("no X server for the smoke test");
        }
    }

    void startsShowsSplashAndEndsOnKey() {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        testsupport::RealProgram program(environment, QDir::currentPath());
        QVERIFY2(program.start(qEnvironmentVariable("TUNEVANE_BINARY")),
                 "the start-up window never appeared");
        const QString window = program.window();

        // The start-up window sits in the middle of an otherwise black screen, once drawn.
        const QString shot = QDir::current().absoluteFilePath(QStringLiteral("smoke-splash.png"));
        QImage image;
        const auto drawn = [&] {
            return program.tool(QStringLiteral("import"),
                                {QStringLiteral("-window"), QStringLiteral("root"), shot}) &&
                   image.load(shot) &&
                   image.pixelColor(image.width() / 2, image.height() / 2) != QColor(Qt::black);
        };
        QVERIFY2(QTest::qWaitFor(drawn, 30000), qPrintable(shot));
        QVERIFY(image.pixelColor(5, 5) == QColor(Qt::black));

        QVERIFY(program.tool(QStringLiteral("xdotool"),
                             {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, 5));
        QVERIFY(program.tool(QStringLiteral("xdotool"),
                             {QStringLiteral("key"), QStringLiteral("q")}, 5));
        QVERIFY2(program.process().waitForFinished(15000), "the program did not end on a key");
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);
    }
};

QTEST_MAIN(SmokeTest)
#include "SmokeTest.moc"
