// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Checks a MIDI file whole before it plays, then walks its events in time order.

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace tunevane {

// One event of a song, pointing into the song's bytes.
struct MidiEvent {
    quint64 tick = 0;
    quint8 status = 0; // channel message status, 0xf0 for SysEx, 0xff for meta
    quint8 data1 = 0;  // meta type for meta events
    quint8 data2 = 0;
    const char* payload = nullptr; // SysEx or meta bytes
    int payloadSize = 0;
};

// A Standard MIDI File whose every chunk and event has been checked, so that playing it
// can never read past its end or meet an event it cannot take.
class MidiSong {
public:
    // Songs with more events are refused: playing them would take the synthesiser far
    // beyond real time however they were spread.
    static constexpr qint64 maxEvents = 1 << 20;

    // The song inside `file` (bare, or wrapped in a RIFF RMID); nullopt when any part of
    // it is missing, cut short or not MIDI.
    static std::optional<MidiSong> parse(QByteArray file, QByteArray* why = nullptr);

    // Ticks per quarter note, or 0 for SMPTE time.
    int ticksPerBeat() const { return m_ticksPerBeat; }
    // Ticks per second for SMPTE time.
    double ticksPerSecond() const { return m_ticksPerSecond; }

    // Walks every track at once, in time order; equal ticks go in track order.
    class Cursor {
    public:
        explicit Cursor(const MidiSong& song);
        // The next event, or false at the end of the song.
        bool next(MidiEvent& event);

    private:
        struct Track {
            const char* at;
            const char* end;
            quint64 tick;
            quint8 running;
        };
        bool readDelta(Track& track);
        void siftDown(size_t i);
        bool before(size_t a, size_t b) const;

        std::vector<Track> m_tracks;
        std::vector<size_t> m_heap; // indexes into m_tracks, earliest first
    };

private:
    struct Span {
        qsizetype begin;
        qsizetype end;
    };

    QByteArray m_bytes;
    std::vector<Span> m_tracks;
    int m_format = 0;
    int m_ticksPerBeat = 0;
    double m_ticksPerSecond = 0;
    qint64 m_events = 0;
};

} // namespace tunevane
