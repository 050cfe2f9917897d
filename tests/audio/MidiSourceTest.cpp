// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/MidiSource.h"
#include "TestMedia.h"
#include "TestSupport.h"
#include "audio/SoundFont.h"

#include <QTemporaryDir>
#include <QTest>

using tunevane::MidiSource;

namespace {

std::vector<qint16> renderAll(MidiSource& source, qint64 limitFrames) {
    std::vector<qint16> out;
    std::vector<qint16> chunk(2 * 1000);
    while (qint64(out.size()) / 2 < limitFrames) {
        const qint64 got = source.read(chunk.data(), 1000);
        if (got == 0)
            break;
        out.insert(out.end(), chunk.begin(), chunk.begin() + got * 2);
    }
    return out;
}

int peak(const std::vector<qint16>& samples, size_t from = 0, size_t to = SIZE_MAX) {
    int best = 0;
    for (size_t i = from; i < std::min(to, samples.size()); ++i)
        best = std::max(best, std::abs(int(samples[i])));
    return best;
}

} // namespace

class MidiSourceTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QVERIFY(dir.isValid());
        QVERIFY(QFile::exists(tunevane::soundfont::path()));
    }

    void checksHeaderAndTrackLengths_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        const QByteArray song = testmedia::midiSong(3);
        const QByteArray rmid = testmedia::riffMidi(song);
        QByteArray lyingLength = song;
        lyingLength[21] = char(lyingLength[21] + 1);
        QByteArray twoTracksClaimed = song;
        twoTracksClaimed[11] = 2;
        QByteArray smpte = song;
        smpte[12] = char(0xe7); // 25 frames a second
        QByteArray oddSmpte = song;
        oddSmpte[12] = char(0xe5);
        QByteArray formatThree = song;
        formatThree[9] = 3;
        // A longer header is legal; its extra bytes are skipped.
        QByteArray longHeader = song;
        longHeader[7] = 8;
        longHeader.insert(14, "\0\0", 2);
        const QByteArray formatOne = testmedia::formatOneSong();
        QByteArray undefinedStatus = formatOne;
        undefinedStatus[formatOne.indexOf("\xc0\x00")] = char(0xf4);
        QByteArray orphanData = testmedia::standardMidiFile(QByteArray::fromHex("003c64"));
        QByteArray longVlq = testmedia::standardMidiFile(QByteArray::fromHex("ffffffff7f903c64"));

        QTest::newRow("song") << song << true;
        QTest::newRow("RIFF-wrapped song") << rmid << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("header only") << song.left(14) << false;
        QTest::newRow("cut in the track") << song.left(song.size() - 5) << false;
        QTest::newRow("track longer than file") << lyingLength << false;
        QTest::newRow("missing track") << twoTracksClaimed << false;
        QTest::newRow("SMPTE time") << smpte << true;
        QTest::newRow("SMPTE at 17 frames") << oddSmpte << false;
        QTest::newRow("format 3") << formatThree << false;
        QTest::newRow("header of 8 bytes") << longHeader << true;
        QTest::newRow("format 1, SysEx, meta, running status") << formatOne << true;
        QTest::newRow("undefined status") << undefinedStatus << false;
        QTest::newRow("data without status") << orphanData << false;
        QTest::newRow("delta of 5 bytes") << longVlq << false;
        QTest::newRow("WAV bytes") << QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) << false;
    }

    void checksHeaderAndTrackLengths() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(tunevane::MidiSong::parse(bytes).has_value(), valid);
        if (!valid)
            return;
        // Every legal form also sounds.
        auto source = MidiSource::fromBytes(bytes);
        QVERIFY(source);
        QVERIFY(peak(renderAll(*source, source->sampleRate())) > 300);
    }

    void rendersTheSongThenStops() {
        QVERIFY(testsupport::writeFile(file(QStringLiteral("four.mid")), testmedia::midiSong(4)));
        auto source = MidiSource::open(file(QStringLiteral("four.mid")));
        QVERIFY(source);
        QCOMPARE(source->channels(), 2);
        const int rate = source->sampleRate();
        const auto pcm = renderAll(*source, 30LL * rate);
        const qint64 frames = qint64(pcm.size()) / 2;
        // Four half-second notes, plus at most a short release tail.
        QVERIFY2(frames >= 2 * rate && frames <= 2 * rate + rate + 1024,
                 qPrintable(QString::number(frames)));
        QVERIFY(peak(pcm) > 300);
        // Sound in each note, not only at the start.
        for (int note = 0; note < 4; ++note)
            QVERIFY(peak(pcm, size_t(note * rate), size_t((note + 1) * rate)) > 300);
        QCOMPARE(source->read(std::vector<qint16>(200).data(), 100), 0);
    }

    void songTimeFollowsRenderedSamplesNotTheClock() {
        QVERIFY(testsupport::writeFile(file(QStringLiteral("slow.mid")), testmedia::midiSong(4)));
        auto source = MidiSource::open(file(QStringLiteral("slow.mid")));
        QVERIFY(source);
        const int rate = source->sampleRate();
        std::vector<qint16> block(2 * 4096);
        QCOMPARE(source->read(block.data(), 4096), 4096);
        // A sink that stalls, or pulls far ahead, must not shorten or squeeze the song.
        QTest::qSleep(1500);
        const qint64 frames = 4096 + qint64(renderAll(*source, 30LL * rate).size()) / 2;
        QVERIFY2(frames >= 2 * rate, qPrintable(QString::number(frames)));
    }

    void rewindPlaysItAgain() {
        QVERIFY(testsupport::writeFile(file(QStringLiteral("two.mid")), testmedia::midiSong(2)));
        auto source = MidiSource::open(file(QStringLiteral("two.mid")));
        QVERIFY(source);
        const auto first = renderAll(*source, 1LL << 30);
        QVERIFY(source->rewind());
        const auto again = renderAll(*source, 1LL << 30);
        QVERIFY(again.size() >= first.size() - 2048 && again.size() <= first.size() + 2048);
        // Banks differ in loudness; the second pass must sound like the first.
        QVERIFY(peak(first) > 300);
        QVERIFY(peak(again) > peak(first) / 2);
    }

    void playersShareTheBank() {
        QVERIFY(testsupport::writeFile(file(QStringLiteral("a.mid")), testmedia::midiSong(2, 0)));
        QVERIFY(testsupport::writeFile(file(QStringLiteral("b.mid")), testmedia::midiSong(2, 40)));
        auto a = MidiSource::open(file(QStringLiteral("a.mid")));
        auto b = MidiSource::open(file(QStringLiteral("b.mid")));
        QVERIFY(a && b);
        QVERIFY(tunevane::soundfont::isLoaded());
        std::vector<qint16> block(2 * 4096);
        QCOMPARE(a->read(block.data(), 4096), 4096);
        QVERIFY(peak(block) > 300);
        QCOMPARE(b->read(block.data(), 4096), 4096);
        QVERIFY(peak(block) > 300);
        // Dropping one player must leave the bank whole for the other.
        a.reset();
        QVERIFY(b->rewind());
        QVERIFY(peak(renderAll(*b, 1LL << 30)) > 300);
        auto c = MidiSource::open(file(QStringLiteral("a.mid")));
        QVERIFY(c);
        QVERIFY(peak(renderAll(*c, 1LL << 30)) > 300);
    }

    // However many events fall due at once, one read sends a bounded number of them, and at
    // least one, so the song moves on; the rest come in later reads.
    void denseSongReadsDoBoundedWork() {
        auto source = MidiSource::fromBytes(testmedia::denseMidi(1024 * 1024));
        QVERIFY(source);
        std::vector<qint16> block(2 * 2048);
        for (int i = 0; i < 40; ++i) {
            const qint64 before = source->sentEvents();
            QCOMPARE(source->read(block.data(), 2048), 2048);
            const qint64 sent = source->sentEvents() - before;
            QVERIFY2(sent >= 1 && sent <= MidiSource::maxEventsPerRead,
                     qPrintable(QString::number(sent)));
        }
        QVERIFY(source->overBudgetReads() > 0);
    }

    void refusesSongsWithTooManyEvents() {
        QByteArray track;
        for (qint64 i = 0; i <= tunevane::MidiSong::maxEvents; ++i)
            track.append("\x00\xb0\x07\x64", 4);
        QVERIFY(!MidiSource::fromBytes(testmedia::standardMidiFile(track)));
    }

    void refusesWhatItCannotPlay_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray song = testmedia::midiSong(3);
        QByteArray garbage(2000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char(i * 31 + (i >> 2));
        QByteArray badEvents = song.left(22);
        badEvents.append(QByteArray(song.size() - 22, char(0xf4)));
        const QString wav = file(QStringLiteral("tone.wav"));
        QVERIFY(testmedia::writeWav(wav, SF_FORMAT_PCM_16, 8000, 1, testmedia::sine(800, 8000, 1)));

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << song.left(14);
        QTest::newRow("truncated") << song.left(song.size() / 2);
        QTest::newRow("garbage") << garbage;
        QTest::newRow("garbage events") << badEvents;
        QTest::newRow("WAV file") << testsupport::readFile(wav);
    }

    void refusesWhatItCannotPlay() {
        QFETCH(QByteArray, bytes);
        const QString path = file(QStringLiteral("bad.mid"));
        QVERIFY(testsupport::writeFile(path, bytes));
        QVERIFY(!MidiSource::open(path));
    }

    void refusesWhatIsNotAFile() {
        QVERIFY(!MidiSource::open(file(QStringLiteral("missing.mid"))));
        QVERIFY(!MidiSource::open(dir.path()));
        QVERIFY(!MidiSource::open(QStringLiteral("SelectedFile")));
    }
};

QTEST_MAIN(MidiSourceTest)
#include "MidiSourceTest.moc"
