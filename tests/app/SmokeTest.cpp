#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// Starts the real program on a real X server, as a user would.
class SmokeTest : public QObject {
    Q_OBJECT

    QString m_display;

    // What `tool` printed; nothing when it failed. The X server here now and then drops a new
    // connection: a tool that failed is run again, up to `attempts` times.
    std::optional<QString> run(const QString& tool, const QStringList& arguments,
                               int attempts = 1) {
        for (int attempt = 0; attempt < attempts; ++attempt) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), m_display);
            process.setProcessEnvironment(environment);
            process.start(tool, arguments);
            if (process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
                process.exitCode() == 0)
                return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        }
        return std::nullopt;
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
        QString window;
        const auto shown = [&] {
            window = run(QStringLiteral("xdotool"),
                         {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--pid"), QString::number(program.processId())})
                         .value_or(QString())
                         .section(QLatin1Char('\n'), 0, 0);
            return !window.isEmpty() || program.state() == QProcess::NotRunning;
        };
        // A program whose connection was dropped ends at once, and is started again.
        for (int attempt = 0; attempt < 3 && window.isEmpty(); ++attempt) {
            program.start(qEnvironmentVariable("TUNEVANE_BINARY"), {});
            QVERIFY(program.waitForStarted(10000) && QTest::qWaitFor(shown, 30000));
        }
        QVERIFY2(!window.isEmpty(), "the start-up window never appeared");

        // The start-up window sits in the middle of an otherwise black screen, once drawn.
        const QString shot = QDir::current().absoluteFilePath(QStringLiteral("smoke-splash.png"));
        QImage image;
        const auto drawn = [&] {
            return run(QStringLiteral("import"),
                       {QStringLiteral("-window"), QStringLiteral("root"), shot}) &&
                   image.load(shot) &&
                   image.pixelColor(image.width() / 2, image.height() / 2) != QColor(Qt::black);
        };
        QVERIFY2(QTest::qWaitFor(drawn, 30000), qPrintable(shot));
        QVERIFY(image.pixelColor(5, 5) == QColor(Qt::black));

        QVERIFY(run(QStringLiteral("xdotool"),
                    {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, 5));
        QVERIFY(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("q")}, 5));
        QVERIFY2(program.waitForFinished(15000), "the program did not end on a key");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(SmokeTest)
#include "SmokeTest.moc"
