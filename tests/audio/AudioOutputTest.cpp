// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/AudioOutput.h"
#include "RealProgram.h"
#include "TestMedia.h"
#include "TestSupport.h"
#include "audio/MidiSource.h"
#include "audio/WavSource.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using tunevane::AudioOutput;

// Playback through the sound server; the test script provides a PulseAudio null sink.
class AudioOutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    static bool audioPresent() {
        if (AudioOutput::deviceAvailable())
            return true;
        if (qEnvironmentVariable("TUNEVANE_REQUIRE_AUDIO") == u"1")
            qFatal("no audio output, but TUNEVANE_REQUIRE_AUDIO=1");
        return false;
    }

    // What the sound server shows of this process's streams.
    static QString ourStreams() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        const QString pid = QString::number(QCoreApplication::applicationPid());
        QStringList ours;
        for (const QString& stream :
             testsupport::toolOutput(QStringLiteral("pactl"),
                                     {QStringLiteral("list"), QStringLiteral("sink-inputs")},
                                     environment)
                 .value_or(QString())
                 .split(QStringLiteral("Sink Input #")))
            if (stream.contains(u"application.process.id = \"" + pid + u'"'))
                ours << stream;
        return ours.join(u'\n');
    }

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QVERIFY(dir.isValid());
        if (!audioPresent())
            QSKIP("no audio output");
    }

    void playsAWavToTheEnd() {
        const QString path = dir.filePath(QStringLiteral("two-seconds.wav"));
        QVERIFY(testmedia::writeWav(path, SF_FORMAT_PCM_16, 22050, 2,
                                    testmedia::sine(2 * 22050, 22050, 2)));
        auto source = tunevane::WavSource::open(path);
        QVERIFY(source);
        AudioOutput output;
        QSignalSpy finished(&output, &AudioOutput::finished);
        QSignalSpy failed(&output, &AudioOutput::failed);
        QVERIFY(output.start(source.get()));
        QVERIFY(output.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QVERIFY(failed.isEmpty());
        QVERIFY(!output.isActive());
        // Everything was played, not just handed over.
        QVERIFY2(output.processedUSecs() >= 1900000,
                 qPrintable(QString::number(output.processedUSecs())));
        QCOMPARE(source->read(std::vector<qint16>(8).data(), 4), 0);
    }

    void pausesAndResumes() {
        const QString path = dir.filePath(QStringLiteral("half.wav"));
        QVERIFY(testmedia::writeWav(path, SF_FORMAT_PCM_U8, 11025, 1,
                                    testmedia::sine(11025 / 2, 11025, 1)));
        auto source = tunevane::WavSource::open(path);
        QVERIFY(source);
        AudioOutput output;
        QSignalSpy finished(&output, &AudioOutput::finished);
        QVERIFY(output.start(source.get()));
        output.pause();
        QVERIFY(output.isPaused());
        // The mixer lists the stream under the program's name, not the audio library's.
        const QString shown = ourStreams();
        for (const auto* property :
             {"application.name = \"Tunevane\"", "application.icon_name = \"tunevane\"",
              "media.role = \"music\""})
            QVERIFY2(shown.contains(QLatin1String(property)), qPrintable(shown));
        // The same sound started later has played through: the paused one would have too.
        auto again = tunevane::WavSource::open(path);
        AudioOutput reference;
        QSignalSpy referenceFinished(&reference, &AudioOutput::finished);
        QVERIFY(again && reference.start(again.get()));
        QTRY_COMPARE_WITH_TIMEOUT(referenceFinished.size(), 1, 30000);
        QCOMPARE(finished.size(), 0);
        QVERIFY(output.isActive());
        output.resume();
        QVERIFY(!output.isPaused());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
    }

    void playsAMidiSongToTheEnd() {
        const QString path = dir.filePath(QStringLiteral("song.mid"));
        QVERIFY(testsupport::writeFile(path, testmedia::midiSong(1)));
        auto source = tunevane::MidiSource::open(path);
        QVERIFY(source);
        AudioOutput output;
        QSignalSpy finished(&output, &AudioOutput::finished);
        QVERIFY(output.start(source.get()));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QVERIFY(output.processedUSecs() >= 450000);
    }

    // A stream the server refuses, at once or a moment later, ends quietly: nothing plays and
    // nothing is left running.
    void refusedStreamEndsQuietly() {
        struct Unplayable final : tunevane::PcmSource {
            int sampleRate() const override { return 50'000'000; }
            int channels() const override { return 2; }
            qint64 frames() const override { return -1; }
            qint64 read(qint16* out, qint64 count) override {
                std::fill(out, out + count * 2, qint16(0));
                return count;
            }
            bool rewind() override { return true; }
        } source;
        AudioOutput output;
        QSignalSpy failed(&output, &AudioOutput::failed);
        if (output.start(&source))
            QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
        QVERIFY(!output.isActive());
        testsupport::settle();
    }

    void stopReleasesTheStream() {
        const QString path = dir.filePath(QStringLiteral("stop.wav"));
        QVERIFY(testmedia::writeWav(path, SF_FORMAT_PCM_16, 22050, 1,
                                    testmedia::sine(5 * 22050, 22050, 1)));
        auto source = tunevane::WavSource::open(path);
        QVERIFY(source);
        AudioOutput output;
        QSignalSpy finished(&output, &AudioOutput::finished);
        QVERIFY(output.start(source.get()));
        QTRY_VERIFY_WITH_TIMEOUT(output.processedUSecs() > 0, 20000);
        output.stop();
        QVERIFY(!output.isActive());
        source.reset(); // nothing may pull from it any more
        // Once the sink is gone, nothing is left to pull from it or to report an end.
        testsupport::settle();
        QCOMPARE(finished.size(), 0);
    }
};

QTEST_MAIN(AudioOutputTest)
#include "AudioOutputTest.moc"
