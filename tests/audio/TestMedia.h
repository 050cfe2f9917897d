// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Sound files made on the spot for the audio tests and benchmarks.

#include "../support/TestFiles.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cmath>
#include <numbers>
#include <sndfile.h>
#include <vector>

namespace testmedia {

// Interleaved samples in [-1, 1]: a sine per channel, the second channel a fifth higher.
inline std::vector<float> sine(int frames, int rate, int channels, double hz = 440.0,
                               double amplitude = 0.5) {
    std::vector<float> out(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const double f = hz * (c == 0 ? 1.0 : 1.5);
            out[size_t(i) * size_t(channels) + size_t(c)] =
                float(amplitude * std::sin(2.0 * std::numbers::pi * f * i / rate));
        }
    }
    return out;
}

// `encoding` is a libsndfile subtype (SF_FORMAT_PCM_U8, SF_FORMAT_IMA_ADPCM, ...).
inline bool writeWav(const QString& path, int encoding, int rate, int channels,
                     const std::vector<float>& samples, int container = SF_FORMAT_WAV) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = container | encoding;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

inline void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

// A plain 16-bit PCM WAV, written by hand for tests that do not link libsndfile.
inline QByteArray pcm16Wav(int rate, int channels, const std::vector<float>& samples) {
    QByteArray data;
    for (float sample : samples)
        appendLe(data, quint32(quint16(qint16(std::lrint(sample * 32767.0f)))), 2);
    QByteArray wav("RIFF");
    appendLe(wav, quint32(36 + data.size()), 4);
    wav.append("WAVEfmt ");
    appendLe(wav, 16, 4);
    appendLe(wav, 1, 2);
    appendLe(wav, quint32(channels), 2);
    appendLe(wav, quint32(rate), 4);
    appendLe(wav, quint32(rate * channels * 2), 4);
    appendLe(wav, quint32(channels * 2), 2);
    appendLe(wav, 16, 2);
    wav.append("data");
    appendLe(wav, quint32(data.size()), 4);
    return wav + data;
}

inline void appendBe(QByteArray& out, quint32 value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
}

inline void appendDelta(QByteArray& out, quint32 ticks) {
    QByteArray bytes(1, char(ticks & 0x7f));
    while (ticks >>= 7)
        bytes.prepend(char(0x80 | (ticks & 0x7f)));
    out.append(bytes);
}

// A file of `format` at 480 ticks a beat around its tracks' events; each track's end is added.
inline QByteArray midiFile(int format, const QList<QByteArray>& tracks) {
    QByteArray smf("MThd");
    appendBe(smf, 6, 4);
    appendBe(smf, quint32(format), 2);
    appendBe(smf, quint32(tracks.size()), 2);
    appendBe(smf, 480, 2);
    for (QByteArray track : tracks) {
        track.append("\0\xff\x2f\0", 4);
        smf.append("MTrk");
        appendBe(smf, quint32(track.size()), 4);
        smf.append(track);
    }
    return smf;
}

inline QByteArray standardMidiFile(const QByteArray& track) {
    return midiFile(0, {track});
}

// A format-0 song at 120 beats a minute, 480 ticks a beat: `notes` piano notes, each a
// quarter note (0.5 s), one after the other, so the song lasts notes * 0.5 s.
inline QByteArray midiSong(int notes, int program = 0) {
    QByteArray track;
    appendDelta(track, 0);
    track.append("\xff\x51\x03\x07\xa1\x20", 6); // 500000 us a beat
    appendDelta(track, 0);
    track.append(char(0xc0));
    track.append(char(program));
    for (int i = 0; i < notes; ++i) {
        appendDelta(track, 0);
        track.append(char(0x90));
        track.append(char(60 + (i * 4) % 24));
        track.append(char(100));
        appendDelta(track, 480);
        track.append(char(0x80));
        track.append(char(60 + (i * 4) % 24));
        track.append(char(0));
    }
    return standardMidiFile(track);
}

// About `bytes` of note-ons, every one at tick 0: the synthesiser is asked to start them
// all at the same instant.
inline QByteArray denseMidi(qsizetype bytes) {
    QByteArray track;
    track.reserve(bytes + 16);
    for (int i = 0; track.size() + 4 <= bytes; ++i) {
        appendDelta(track, 0);
        track.append(char(0x90 | (i % 15)));
        track.append(char(24 + i % 80));
        track.append(char(100));
    }
    return standardMidiFile(track);
}

// Format 1: a tempo track and a note track, with SysEx, meta events and running status
// that carries over a meta event.
inline QByteArray formatOneSong() {
    const QByteArray tempo = QByteArray::fromHex("00ff510307a120"
                                                 "00ff030454656d70");
    const QByteArray notes = QByteArray::fromHex("00f00541100042f7"
                                                 "00c000"
                                                 "00903c64"
                                                 "83603c00"
                                                 "00ff0103616263"
                                                 "003c64"
                                                 "83603c00");
    return midiFile(1, {tempo, notes});
}

// `smf` inside a RIFF RMID wrapper.
inline QByteArray riffMidi(const QByteArray& smf) {
    QByteArray rmid("RIFF");
    appendLe(rmid, quint32(12 + smf.size()), 4);
    rmid.append("RMIDdata");
    appendLe(rmid, quint32(smf.size()), 4);
    return rmid + smf;
}

} // namespace testmedia
