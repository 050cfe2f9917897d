#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Starts the real program on a real X server, as a user would.
class SmokeTest : public QObject {
    Q_OBJECT

    QString m_display;

    QString xdotool(const QStringList& arguments) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

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
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(qEnvironmentVariable("TUNEVANE_BINARY"), {});
        QVERIFY(program.waitForStarted(10000));

        QString window;
        for (int attempt = 0; attempt < 100 && window.isEmpty(); ++attempt) {
            QTest::qWait(100);
            window = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--pid"), QString::number(program.processId())})
                         .section(QLatin1Char('\n'), 0, 0);
        }
        QVERIFY2(!window.isEmpty(), "the start-up window never appeared");
        QTest::qWait(500);

        const QString shot = QDir::current().absoluteFilePath(QStringLiteral("smoke-splash.png"));
        QFile::remove(shot);
        QProcess capture;
        QProcessEnvironment captureEnvironment = QProcessEnvironment::systemEnvironment();
        captureEnvironment.insert(QStringLiteral("DISPLAY"), m_display);
        capture.setProcessEnvironment(captureEnvironment);
        capture.start(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), shot});
        QVERIFY(capture.waitForFinished(20000));
        QImage image(shot);
        QVERIFY2(!image.isNull(), qPrintable(shot));
        // The start-up window sits in the middle of an otherwise black screen.
        QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2) != QColor(Qt::black));
        QVERIFY(image.pixelColor(5, 5) == QColor(Qt::black));

        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("q")});
        QVERIFY2(program.waitForFinished(15000), "the program did not end on a key");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(SmokeTest)
#include "SmokeTest.moc"
