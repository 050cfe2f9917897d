#include "selection/PreviewPlayer.h"
#include "../audio/TestMedia.h"
#include "TestSupport.h"
#include "audio/AudioOutput.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
    if (tunevane::AudioOutput::deviceAvailable())
        return true;
    if (qEnvironmentVariable("TUNEVANE_REQUIRE_AUDIO") == u"1")
        qFatal("no audio output, but TUNEVANE_REQUIRE_AUDIO=1");
    return false;
}

} // namespace

class PreviewPlayerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString wav, midi;

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QVERIFY(dir.isValid());
        wav = dir.filePath(QStringLiteral("SHORT.WAV"));
        QVERIFY(testmedia::writeWav(wav, SF_FORMAT_PCM_16, 22050, 1,
                                    testmedia::sine(22050 * 3 / 10, 22050, 1)));
        midi = dir.filePath(QStringLiteral("TUNE.MID"));
        QVERIFY(testmedia::writeFile(midi, testmedia::midiSong(1)));
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
        const QByteArray wave = testmedia::readFile(wav);
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
            QVERIFY(testmedia::writeFile(path, bytes));
        }
        PreviewPlayer player;
        // A good file first: the failed open must not leave it playable.
        openFile(player, QStringLiteral("WaveAudio"), wav);
        QCOMPARE(mode(player), QStringLiteral("stopped"));
        player.setProperty("DeviceType", type);
        player.setProperty("FileName", path);
        command(player, "Open");
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
        QCOMPARE(mode(player), QStringLiteral("playing"));
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
        QCOMPARE(mode(player), QStringLiteral("playing"));
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
        QCOMPARE(mode(player), QStringLiteral("paused"));
        command(player, "Play");
        QCOMPARE(mode(player), QStringLiteral("playing"));
        QTRY_COMPARE_WITH_TIMEOUT(mode(player), QStringLiteral("stopped"), 30000);
        QVERIFY(player.atEnd());
        // The back-to-start button makes it playable again without a new open.
        command(player, "Prev");
        QVERIFY(!player.atEnd());
        command(player, "Play");
        QCOMPARE(mode(player), QStringLiteral("playing"));
        command(player, "Prev");
        QCOMPARE(mode(player), QStringLiteral("playing"));
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
        QCOMPARE(mode(player), tunevane::AudioOutput::deviceAvailable()
                                   ? QStringLiteral("playing")
                                   : QStringLiteral("stopped"));
    }

    // Runs in a child process whose sound server address leads nowhere.
    void playWithoutSoundServer() {
        if (qEnvironmentVariableIsSet("TUNEVANE_NO_SERVER_CHILD")) {
            QVERIFY(!tunevane::AudioOutput::deviceAvailable());
            PreviewPlayer player;
            openFile(player, QStringLiteral("Sequencer"), midi);
            QCOMPARE(mode(player), QStringLiteral("stopped"));
            command(player, "Play");
            QCOMPARE(mode(player), QStringLiteral("stopped"));
            openFile(player, QStringLiteral("WaveAudio"), wav);
            command(player, "Play");
            QCOMPARE(mode(player), QStringLiteral("stopped"));
            QCOMPARE(player.processedUSecs(), 0);
            return;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TUNEVANE_NO_SERVER_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("PULSE_SERVER"),
                   QStringLiteral("unix:") + dir.filePath(QStringLiteral("none")));
        env.remove(QStringLiteral("TUNEVANE_REQUIRE_AUDIO"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("playWithoutSoundServer")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
};

QTEST_MAIN(PreviewPlayerTest)
#include "PreviewPlayerTest.moc"
