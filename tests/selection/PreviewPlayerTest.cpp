// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/PreviewPlayer.h"
#include "../audio/TestMedia.h"
#include "AppTestMain.h"
#include "TestSupport.h"
#include "app/App.h"
#include "files/Fd.h"
#include "start/Start.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>

using tunevane::PreviewPlayer;

namespace {

void command(PreviewPlayer& player, const char* verb) {
    player.setProperty("Command", QString::fromLatin1(verb));
}

void openFile(PreviewPlayer& player, const QString& type, const QString& path) {
    command(player, "Close");
    player.setProperty("DeviceType", type);
    player.setProperty("FileName", path);
    command(player, "Open");
}

QString mode(const PreviewPlayer& player) {
    return player.property("Mode").toString();
}

bool audioPresent() {
    // Where sound is required, a busy server may take a while to answer first.
    const bool required = qEnvironmentVariable("TUNEVANE_REQUIRE_AUDIO") == u"1";
    if (required ? QTest::qWaitFor(&PreviewPlayer::outputAvailable, 60000)
                 : PreviewPlayer::outputAvailable())
        return true;
    if (required)
        qFatal("no audio output, but TUNEVANE_REQUIRE_AUDIO=1");
    return false;
}

// The sound libraries this process has mapped, by file name.
// The libraries the start-up window must not wait for: sound, SVG and image plugins.
QStringList mappedLateLibraries() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable maps")};
    const QRegularExpression audio(QStringLiteral(
        "(libfluidsynth|libsndfile|libQt6Multimedia|libpulse|tunevane-audio|libQt6Svg|"
        "iconengines|imageformats)[^/]*(/[^/]*)?$"));
    QStringList found;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QRegularExpressionMatch match = audio.match(QString::fromUtf8(line));
        if (match.hasMatch() && !found.contains(match.captured(1)))
            found << match.captured(1);
    }
    return found;
}

// Runs one test function in a child process of this test, with `variables` set.
bool runInChild(const QByteArray& function, const QStringList& variables) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : variables)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromUtf8(function)});
    return child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

// A socket that takes connections and never answers them, as a stopped sound server does.
tunevane::files::Fd silentServer(const QString& path) {
    tunevane::files::Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                 sizeof address.sun_path - 1);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.get(), 16) != 0)
        return tunevane::files::Fd();
    return fd;
}

// A sound server of this test's own, so that stopping it stops no one else's sound.
struct OwnServer {
    OwnServer() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("-n"), QStringLiteral("--load=module-null-sink"),
                       QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1")});
    }
    ~OwnServer() {
        ::kill(pid_t(process.processId()), SIGCONT);
        process.terminate();
        process.waitForFinished(20000);
    }
    QTemporaryDir runtime;
    QProcess process;
};

enum class Server { None, Silent, Stops };

} // namespace

Q_DECLARE_METATYPE(Server)

class PreviewPlayerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString wav, midi;

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QVERIFY(dir.isValid());
        wav = dir.filePath(QStringLiteral("SHORT.WAV"));
        QVERIFY(testsupport::writeFile(
            wav, testmedia::pcm16Wav(22050, 1, testmedia::sine(22050 * 3 / 10, 22050, 1))));
        midi = dir.filePath(QStringLiteral("TUNE.MID"));
        QVERIFY(testsupport::writeFile(midi, testmedia::midiSong(1)));
    }

    // The start-up window must not wait for the sound libraries, mapped only when a player
    // first opens a file, nor for the SVG and image plugins.
    void startsBeforeAnyAudioLibraryIsMapped() {
        if (!qEnvironmentVariableIsSet("TUNEVANE_MAPS_CHILD")) {
            QVERIFY(runInChild("startsBeforeAnyAudioLibraryIsMapped",
                               {QStringLiteral("TUNEVANE_MAPS_CHILD=1")}));
            return;
        }
        QTemporaryDir programFolder;
        tunevane::App app(programFolder.path());
        tunevane::start(app);
        QWidget* splash = testsupport::topLevel(QStringLiteral("frmSplash"));
        QVERIFY(splash && QTest::qWaitForWindowExposed(splash));
        QVERIFY(!splash->grab().isNull());
        QCOMPARE(mappedLateLibraries(), QStringList());
        PreviewPlayer player;
        openFile(player, QStringLiteral("Sequencer"), midi);
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        const QStringList mapped = mappedLateLibraries();
        QVERIFY2(mapped.contains(u"libfluidsynth") && mapped.contains(u"tunevane-audio"),
                 qPrintable(mapped.join(u' ')));
    }

    void recordsEverySettingInOrder() {
        PreviewPlayer player;
        QSignalSpy written(&player, &PreviewPlayer::settingWritten);
        player.setProperty("Notify", false);
        player.setProperty("Wait", true);
        player.setProperty("Shareable", false);
        player.setProperty("DeviceType", QStringLiteral("WaveAudio"));
        player.setProperty("FileName", QStringLiteral("SelectedFile"));
        command(player, "Open");
        const QList<QList<QVariant>> expected{
            {QStringLiteral("Notify"), false},
            {QStringLiteral("Wait"), true},
            {QStringLiteral("Shareable"), false},
            {QStringLiteral("DeviceType"), QStringLiteral("WaveAudio")},
            {QStringLiteral("FileName"), QStringLiteral("SelectedFile")},
            {QStringLiteral("Command"), QStringLiteral("Open")},
        };
        QCOMPARE(QList<QList<QVariant>>(written), expected);
        QCOMPARE(player.property("Command").toString(), QStringLiteral("Open"));
        QCOMPARE(player.property("Wait").toBool(), true);
        QCOMPARE(mode(player), QStringLiteral("not open"));
        // Mode is the player's to say.
        QVERIFY(!player.setProperty("Mode", QStringLiteral("playing")));
    }

    void typedCommandsAreRecordedLikeWrittenOnes() {
        PreviewPlayer player;
        QSignalSpy written(&player, &PreviewPlayer::settingWritten);
        player.setDeviceType(QStringLiteral("WaveAudio"));
        player.setFileName(wav);
        player.run(tunevane::PlayerCommand::Open);
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        player.run(tunevane::PlayerCommand::Close);
        QCOMPARE(mode(player), QStringLiteral("not open"));
        const QList<QList<QVariant>> expected{
            {QStringLiteral("DeviceType"), QStringLiteral("WaveAudio")},
            {QStringLiteral("FileName"), wav},
            {QStringLiteral("Command"), QStringLiteral("Open")},
            {QStringLiteral("Command"), QStringLiteral("Close")},
        };
        QCOMPARE(QList<QList<QVariant>>(written), expected);
    }

    void opensAndClosesInAnyLetterCase_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("isMidi");
        QTest::newRow("wave") << QStringLiteral("WaveAudio") << false;
        QTest::newRow("sequencer") << QStringLiteral("sequencer") << true;
    }

    void opensAndClosesInAnyLetterCase() {
        QFETCH(QString, type);
        QFETCH(bool, isMidi);
        PreviewPlayer player;
        QSignalSpy modes(&player, &PreviewPlayer::modeChanged);
        player.setProperty("DeviceType", type);
        player.setProperty("FileName", isMidi ? midi : wav);
        command(player, "oPeN");
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        command(player, "CLOSE");
        QCOMPARE(mode(player), QStringLiteral("not open"));
        QCOMPARE(modes.size(), 2);
    }

    void unplayableFilesStayNotOpen_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray wave = testsupport::readFile(wav);
        const QByteArray song = testmedia::midiSong(2);
        const QString wa = QStringLiteral("WaveAudio"), seq = QStringLiteral("Sequencer");
        QTest::newRow("MIDI as wave") << wa << "A.WAV" << song;
        QTest::newRow("WAV as sequence") << seq << "A.MID" << wave;
        QTest::newRow("corrupt WAV") << wa << "B.WAV" << QByteArray(wave).replace(8, 4, "JUNK");
        QTest::newRow("corrupt MIDI") << seq << "B.MID" << QByteArray(song).replace(0, 4, "MTHD");
        QTest::newRow("truncated WAV") << wa << "C.WAV" << wave.left(40);
        QTest::newRow("truncated MIDI") << seq << "C.MID" << song.left(song.size() - 3);
        QTest::newRow("empty WAV") << wa << "D.WAV" << QByteArray();
        QTest::newRow("empty MIDI") << seq << "D.MID" << QByteArray();
        QTest::newRow("placeholder") << wa << "" << QByteArray();
        QTest::newRow("unknown device") << QStringLiteral("CDAudio") << "E.WAV" << wave;
    }

    void unplayableFilesStayNotOpen() {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QString path = QStringLiteral("SelectedFile");
        if (!name.isEmpty()) {
            path = dir.filePath(name);
            QVERIFY(testsupport::writeFile(path, bytes));
        }
        PreviewPlayer player;
        // A good file first: the failed open must not leave it playable.
        openFile(player, QStringLiteral("WaveAudio"), wav);
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        player.setProperty("DeviceType", type);
        player.setProperty("FileName", path);
        // The user is told nothing; the log says which file and why.
        QLoggingCategory::setFilterRules(QStringLiteral("tunevane.*.warning=true"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QString(
                                 u"^cannot open " + QRegularExpression::escape(path) + u" - \\S")));
        command(player, "Open");
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(mode(player), QStringLiteral("not open"));
        command(player, "Play");
        QCOMPARE(mode(player), QStringLiteral("not open"));
    }

    void playsToTheEndAndStaysThere() {
        if (!audioPresent())
            QSKIP("no audio output");
        PreviewPlayer player;
        QSignalSpy modes(&player, &PreviewPlayer::modeChanged);
        openFile(player, QStringLiteral("WaveAudio"), wav);
        command(player, "Play");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        QTRY_COMPARE_WITH_TIMEOUT(mode(player), QStringLiteral("stopped"), 30000);
        QVERIFY(player.atEnd());
        QVERIFY(player.processedUSecs() >= 250000);
        // At the end Play does nothing: the file must be opened again.
        modes.clear();
        command(player, "Play");
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        QVERIFY(modes.isEmpty());
        command(player, "Open");
        QVERIFY(!player.atEnd());
        QCOMPARE(player.processedUSecs(), 0);
        command(player, "Play");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        command(player, "Stop");
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        QVERIFY(!player.atEnd());
        command(player, "Close");
        QCOMPARE(mode(player), QStringLiteral("not open"));
    }

    void pausesResumesAndRewinds() {
        if (!audioPresent())
            QSKIP("no audio output");
        PreviewPlayer player;
        openFile(player, QStringLiteral("Sequencer"), midi);
        command(player, "Play");
        command(player, "Pause");
        QTRY_COMPARE(mode(player), QStringLiteral("paused"));
        command(player, "Play");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        QTRY_COMPARE_WITH_TIMEOUT(mode(player), QStringLiteral("stopped"), 30000);
        QVERIFY(player.atEnd());
        // The back-to-start button makes it playable again without a new open.
        command(player, "Prev");
        QVERIFY(!player.atEnd());
        command(player, "Play");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        command(player, "Prev");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        QTRY_COMPARE_WITH_TIMEOUT(mode(player), QStringLiteral("stopped"), 30000);
    }

    void buttonsDriveThePlayer() {
        PreviewPlayer player;
        auto* play = player.findChild<QWidget*>(QStringLiteral("Play"));
        QVERIFY(play && player.findChild<QWidget*>(QStringLiteral("Prev")) &&
                player.findChild<QWidget*>(QStringLiteral("Pause")) &&
                player.findChild<QWidget*>(QStringLiteral("Stop")));
        QVERIFY(!play->isEnabled());
        openFile(player, QStringLiteral("WaveAudio"), wav);
        QVERIFY(play->isEnabled());
        player.resize(119, 25);
        player.show();
        QTest::mouseClick(play, Qt::LeftButton);
        QTRY_COMPARE(mode(player), PreviewPlayer::outputAvailable() ? QStringLiteral("playing")
                                                                    : QStringLiteral("stopped"));
    }

    // A song whose notes all sit at one instant plays badly, but the window thread goes on
    // handling its events, and commands still take effect at once.
    void denseSongLeavesTheWindowResponsive() {
        if (!audioPresent())
            QSKIP("no audio output");
        const QString dense = dir.filePath(QStringLiteral("DENSE.MID"));
        QVERIFY(testsupport::writeFile(dense, testmedia::denseMidi(1024 * 1024)));
        PreviewPlayer player;
        openFile(player, QStringLiteral("Sequencer"), dense);
        QCOMPARE(mode(player), QStringLiteral("stopped"));

        command(player, "Play");
        QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        for (int round = 0; round < 4; ++round) {
            const qint64 before = player.processedUSecs();
            QTRY_VERIFY_WITH_TIMEOUT(player.processedUSecs() > before, 30000);
            command(player, "Pause");
            QTRY_COMPARE(mode(player), QStringLiteral("paused"));
            command(player, "Play");
            QTRY_COMPARE(mode(player), QStringLiteral("playing"));
        }
        command(player, "Close");
        QCOMPARE(mode(player), QStringLiteral("not open"));
        // How long the window thread stalls meanwhile is a figure of bench/run.
    }

    // Runs in a child process whose sound server address leads nowhere, to a server that takes
    // the connection and never answers, or to one that stops (SIGSTOP) while a sound plays: a
    // command that waited for it would never return, and the program still ends with status 0.
    void playWithoutSoundServer_data() {
        QTest::addColumn<Server>("server");
        QTest::newRow("no server") << Server::None;
        QTest::newRow("server never answers") << Server::Silent;
        QTest::newRow("server stops while playing, then Exit Program") << Server::Stops;
    }

    void playWithoutSoundServer() {
        QFETCH(Server, server);
        if (qEnvironmentVariableIsSet("TUNEVANE_NO_SERVER_CHILD") && server == Server::Stops) {
            const QString song = dir.filePath(QStringLiteral("LONG.MID"));
            QVERIFY(testsupport::writeFile(song, testmedia::midiSong(120)));
            tunevane::App app(dir.path());
            tunevane::start(app);
            QVERIFY(
                testsupport::click(QStringLiteral("frmSplash"), QStringLiteral("CmdEntermidi")));
            auto* player = testsupport::topLevel(QStringLiteral("FrmMidi"))
                               ->findChild<PreviewPlayer*>(QStringLiteral("MMControlMidi2"));
            const auto stop = pid_t(qEnvironmentVariableIntValue("TUNEVANE_STOP_SERVER"));
            QVERIFY(player && stop > 0);
            QTRY_VERIFY_WITH_TIMEOUT(PreviewPlayer::outputAvailable(), 60000);
            openFile(*player, QStringLiteral("Sequencer"), song);
            command(*player, "Play");
            QTRY_COMPARE(mode(*player), QStringLiteral("playing"));
            ::kill(stop, SIGSTOP);
            command(*player, "Pause");
            command(*player, "Play");
            QVERIFY(testsupport::click(QStringLiteral("FrmMidi"), QStringLiteral("CmdExit1")));
            // The process ends as the program does, while the audio thread waits on the server.
            QVERIFY(app.hasEnded());
            return;
        }
        if (qEnvironmentVariableIsSet("TUNEVANE_NO_SERVER_CHILD")) {
            {
                PreviewPlayer player;
                openFile(player, QStringLiteral("Sequencer"), midi);
                QCOMPARE(mode(player), QStringLiteral("stopped"));
                command(player, "Play");
                QCOMPARE(mode(player), QStringLiteral("stopped"));
                openFile(player, QStringLiteral("WaveAudio"), wav);
                command(player, "Play");
                QCOMPARE(mode(player), QStringLiteral("stopped"));
                QCOMPARE(player.processedUSecs(), 0);
            }
            testsupport::settle();
            QVERIFY(!PreviewPlayer::outputAvailable());
            return;
        }
        std::optional<OwnServer> own;
        if (server == Server::Stops && !own.emplace().process.waitForStarted(20000)) {
            QVERIFY2(qEnvironmentVariable("TUNEVANE_REQUIRE_AUDIO") != u"1", "no pulseaudio");
            QSKIP("no pulseaudio to stop");
        }
        const QString address = own ? own->runtime.filePath(QStringLiteral("pulse/native"))
                                    : dir.filePath(QStringLiteral("server%1").arg(int(server)));
        const tunevane::files::Fd silent =
            server == Server::Silent ? silentServer(address) : tunevane::files::Fd();
        QVERIFY(silent.valid() == (server == Server::Silent));
        QVERIFY(runInChild(
            QByteArray("playWithoutSoundServer:") + QTest::currentDataTag(),
            {QStringLiteral("TUNEVANE_NO_SERVER_CHILD=1"), u"PULSE_SERVER=unix:" + address,
             QStringLiteral("TUNEVANE_REQUIRE_AUDIO=0"),
             u"TUNEVANE_STOP_SERVER=" + QString::number(own ? own->process.processId() : 0)}));
    }
};

TUNEVANE_TEST_MAIN(PreviewPlayerTest)
#include "PreviewPlayerTest.moc"
