// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/WavSource.h"
#include "TestMedia.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using tunevane::WavSource;

class WavSourceTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QVERIFY(dir.isValid());
    }

    void decodesEveryEncoding_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        // Largest error allowed, in 16-bit steps, and the RMS error allowed.
        QTest::addColumn<double>("maxError");
        QTest::addColumn<double>("rmsError");
        QTest::newRow("8-bit unsigned") << int(SF_FORMAT_PCM_U8) << 11025 << 1 << 260.0 << 150.0;
        QTest::newRow("16-bit") << int(SF_FORMAT_PCM_16) << 22050 << 2 << 2.0 << 1.0;
        QTest::newRow("24-bit") << int(SF_FORMAT_PCM_24) << 44100 << 2 << 2.0 << 1.0;
        QTest::newRow("32-bit") << int(SF_FORMAT_PCM_32) << 48000 << 1 << 2.0 << 1.0;
        QTest::newRow("float") << int(SF_FORMAT_FLOAT) << 22050 << 1 << 2.0 << 1.0;
        QTest::newRow("IMA ADPCM") << int(SF_FORMAT_IMA_ADPCM) << 22050 << 1 << 3000.0 << 300.0;
        QTest::newRow("MS ADPCM") << int(SF_FORMAT_MS_ADPCM) << 22050 << 2 << 3000.0 << 300.0;
        QTest::newRow("mu-law") << int(SF_FORMAT_ULAW) << 8000 << 1 << 600.0 << 250.0;
        QTest::newRow("A-law") << int(SF_FORMAT_ALAW) << 8000 << 1 << 600.0 << 250.0;
    }

    void decodesEveryEncoding() {
        QFETCH(int, encoding);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(double, maxError);
        QFETCH(double, rmsError);
        const int frames = rate / 2;
        const auto expected = testmedia::sine(frames, rate, channels);
        const QString path = file(QStringLiteral("enc%1.wav").arg(encoding));
        QVERIFY(testmedia::writeWav(path, encoding, rate, channels, expected));

        auto source = WavSource::open(path);
        QVERIFY(source);
        QCOMPARE(source->sampleRate(), rate);
        QCOMPARE(source->channels(), channels);
        // ADPCM stores whole blocks, so the count may round up to one.
        QVERIFY(source->frames() >= frames && source->frames() < frames + 2048);

        std::vector<qint16> decoded;
        std::vector<qint16> chunk(size_t(333 * channels));
        while (qint64 got = source->read(chunk.data(), 333))
            decoded.insert(decoded.end(), chunk.begin(), chunk.begin() + got * channels);
        QCOMPARE(qint64(decoded.size()), source->frames() * channels);

        // ADPCM needs a few dozen samples to adapt its step size.
        const size_t settled = size_t(64 * channels);
        double worst = 0, sumSquares = 0;
        for (size_t i = settled; i < expected.size(); ++i) {
            const double error = std::abs(expected[i] * 32767.0 - decoded[i]);
            worst = std::max(worst, error);
            sumSquares += error * error;
        }
        const double rms = std::sqrt(sumSquares / double(expected.size() - settled));
        QVERIFY2(worst <= maxError, qPrintable(QStringLiteral("max error %1").arg(worst)));
        QVERIFY2(rms <= rmsError, qPrintable(QStringLiteral("rms error %1").arg(rms)));
    }

    void rewindRestartsAtFirstFrame() {
        const QString path = file(QStringLiteral("rewind.wav"));
        QVERIFY(testmedia::writeWav(path, SF_FORMAT_IMA_ADPCM, 22050, 1,
                                    testmedia::sine(22050, 22050, 1)));
        auto source = WavSource::open(path);
        QVERIFY(source);
        std::vector<qint16> first(700), again(700), rest(30000);
        QCOMPARE(source->read(first.data(), 700), 700);
        while (source->read(rest.data(), 30000) > 0) {
        }
        QCOMPARE(source->read(rest.data(), 10), 0);
        QVERIFY(source->rewind());
        QCOMPARE(source->read(again.data(), 700), 700);
        QCOMPARE(again, first);
    }

    void cutInTheDataPlaysWhatIsThere() {
        const QString whole = file(QStringLiteral("whole.wav"));
        QVERIFY(
            testmedia::writeWav(whole, SF_FORMAT_PCM_16, 8000, 1, testmedia::sine(1000, 8000, 1)));
        const QString cut = file(QStringLiteral("cut.wav"));
        QVERIFY(testsupport::writeFile(cut, testsupport::readFile(whole).left(44 + 1000)));
        auto source = WavSource::open(cut);
        QVERIFY(source);
        QCOMPARE(source->frames(), 500);
    }

    void refusesWhatItCannotPlay_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const QString good = file(QStringLiteral("good.wav"));
        QVERIFY(
            testmedia::writeWav(good, SF_FORMAT_PCM_16, 8000, 1, testmedia::sine(800, 8000, 1)));
        const QByteArray wav = testsupport::readFile(good);
        QByteArray garbled = wav;
        garbled.replace(0, 4, "RIFX");
        garbled.replace(8, 8, "XXXXXXXX");
        const QString aiff = file(QStringLiteral("sound.aiff"));
        QVERIFY(testmedia::writeWav(aiff, SF_FORMAT_PCM_16, 8000, 1, testmedia::sine(800, 8000, 1),
                                    SF_FORMAT_AIFF));
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) ^ (i >> 3));

        QTest::newRow("empty") << "empty.wav" << QByteArray();
        QTest::newRow("header only") << "header.wav" << wav.left(44);
        QTest::newRow("cut in the header") << "short.wav" << wav.left(20);
        QTest::newRow("corrupt header") << "corrupt.wav" << garbled;
        QTest::newRow("noise") << "noise.wav" << noise;
        QTest::newRow("MIDI file") << "song.wav" << testmedia::midiSong(2);
        QTest::newRow("AIFF file") << "aiff.wav" << testsupport::readFile(aiff);
    }

    void refusesWhatItCannotPlay() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(testsupport::writeFile(file(name), bytes));
        QVERIFY(!WavSource::open(file(name)));
    }

    void refusesWhatIsNotAFile() {
        QVERIFY(!WavSource::open(QString()));
        QVERIFY(!WavSource::open(file(QStringLiteral("missing.wav"))));
        QVERIFY(!WavSource::open(dir.path()));
        QVERIFY(!WavSource::open(QStringLiteral("SelectedFile")));
        // Opening a FIFO for reading would wait for a writer forever.
        const QString fifo = file(QStringLiteral("fifo.wav"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!WavSource::open(fifo));
    }
};

QTEST_MAIN(WavSourceTest)
#include "WavSourceTest.moc"
