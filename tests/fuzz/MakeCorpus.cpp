// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the fuzzers' seed corpus: MakeCorpus DIR writes DIR/wav/* and DIR/midi/*.
#include "TestMedia.h"
#include "audio/MidiSong.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("wav")) || !root.mkpath(QStringLiteral("midi")))
        return 1;
    bool ok = true;
    const auto wav = [&](const char* name, int container, int encoding, int channels) {
        const int rate = 8000;
        ok &= testmedia::writeWav(root.filePath(QStringLiteral("wav/") + QLatin1String(name)),
                                  encoding, rate, channels, testmedia::sine(160, rate, channels),
                                  container);
    };
    wav("pcm-u8.wav", SF_FORMAT_WAV, SF_FORMAT_PCM_U8, 1);
    wav("pcm-16.wav", SF_FORMAT_WAV, SF_FORMAT_PCM_16, 2);
    wav("pcm-24.wav", SF_FORMAT_WAV, SF_FORMAT_PCM_24, 1);
    wav("pcm-32.wav", SF_FORMAT_WAV, SF_FORMAT_PCM_32, 1);
    wav("float.wav", SF_FORMAT_WAV, SF_FORMAT_FLOAT, 1);
    wav("double.wav", SF_FORMAT_WAV, SF_FORMAT_DOUBLE, 1);
    wav("mu-law.wav", SF_FORMAT_WAV, SF_FORMAT_ULAW, 1);
    wav("a-law.wav", SF_FORMAT_WAV, SF_FORMAT_ALAW, 1);
    wav("ima-adpcm.wav", SF_FORMAT_WAV, SF_FORMAT_IMA_ADPCM, 1);
    wav("ms-adpcm.wav", SF_FORMAT_WAV, SF_FORMAT_MS_ADPCM, 2);
    wav("wavex-16.wav", SF_FORMAT_WAVEX, SF_FORMAT_PCM_16, 2);
    wav("rf64-16.wav", SF_FORMAT_RF64, SF_FORMAT_PCM_16, 1);

    const auto midi = [&](const char* name, const QByteArray& bytes) {
        ok &= testsupport::writeFile(root.filePath(QStringLiteral("midi/") + QLatin1String(name)),
                                     bytes);
    };
    const QByteArray song = testmedia::midiSong(3, 19);
    QByteArray longHeader = song;
    longHeader[7] = 8;
    longHeader.insert(14, "\0\0", 2);
    QByteArray smpte = song;
    smpte[12] = char(0xe8); // 24 frames a second
    smpte[13] = 40;
    midi("format-0.mid", song);
    midi("format-1-sysex-meta-running.mid", testmedia::formatOneSong());
    midi("riff.rmi", testmedia::riffMidi(song));
    midi("long-header.mid", longHeader);
    midi("smpte.mid", smpte);
    midi("dense.mid", testmedia::denseMidi(2000));
    // Just under and just over the event cap: program changes under running status, the
    // smallest event there is.
    const auto events = [](qint64 count) {
        QByteArray track("\x00\xc0\x00", 3);
        for (qint64 i = 1; i < count; ++i)
            track.append("\x00\x05", 2);
        return testmedia::standardMidiFile(track);
    };
    midi("events-at-cap.mid", events(tunevane::MidiSong::maxEvents));
    midi("events-over-cap.mid", events(tunevane::MidiSong::maxEvents + 1));
    return ok ? 0 : 1;
}
