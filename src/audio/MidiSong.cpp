// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/MidiSong.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tunevane {

namespace {

quint32 be32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | u[3];
}
quint16 be16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint16(u[0] << 8 | u[1]);
}
quint32 le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[3]) << 24 | quint32(u[2]) << 16 | quint32(u[1]) << 8 | u[0];
}

// A variable-length quantity: at most four bytes.
bool readVlq(const char*& at, const char* end, quint32& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at == end)
            return false;
        const auto byte = quint8(*at++);
        value = value << 7 | (byte & 0x7f);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

enum class Step { Event, EndOfTrack, Broken };

// Reads one event after its delta time. Running status carries over meta and SysEx
// events, which accepts what careless writers produce.
Step readEvent(const char*& at, const char* end, quint8& running, MidiEvent& event) {
    if (at == end)
        return Step::Broken;
    auto status = quint8(*at);
    if (status & 0x80)
        ++at;
    else if (running)
        status = running;
    else
        return Step::Broken;
    event.status = status;
    event.payload = nullptr;
    event.payloadSize = 0;
    if (status < 0xf0) {
        running = status;
        const int dataBytes = (status & 0xe0) == 0xc0 ? 1 : 2;
        if (end - at < dataBytes)
            return Step::Broken;
        event.data1 = quint8(at[0]);
        event.data2 = dataBytes == 2 ? quint8(at[1]) : 0;
        if (event.data1 & 0x80 || event.data2 & 0x80)
            return Step::Broken;
        at += dataBytes;
        return Step::Event;
    }
    if (status == 0xff) {
        if (at == end)
            return Step::Broken;
        event.data1 = quint8(*at++);
    } else if (status != 0xf0 && status != 0xf7) {
        return Step::Broken;
    }
    quint32 length = 0;
    if (!readVlq(at, end, length) || length > quint32(end - at))
        return Step::Broken;
    event.payload = at;
    event.payloadSize = int(length);
    at += length;
    return status == 0xff && event.data1 == 0x2f ? Step::EndOfTrack : Step::Event;
}

QByteArray unwrapRiff(const QByteArray& file) {
    if (!file.startsWith("RIFF") || file.size() < 12 || file.mid(8, 4) != "RMID")
        return file;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const qsizetype length = le32(file.constData() + at + 4);
        if (length > file.size() - at - 8)
            return {};
        if (file.mid(at, 4) == "data")
            return file.mid(at + 8, length);
        at += 8 + length + (length & 1);
    }
    return {};
}

} // namespace

std::optional<MidiSong> MidiSong::parse(QByteArray file, QByteArray* why) {
    const auto refuse = [why](const char* reason) -> std::optional<MidiSong> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    MidiSong song;
    song.m_bytes = unwrapRiff(file);
    const char* p = song.m_bytes.constData();
    const qsizetype size = song.m_bytes.size();
    if (size < 14 || !song.m_bytes.startsWith("MThd"))
        return refuse("not a MIDI file");
    // The header may be longer than the six bytes we read; what follows is skipped.
    const qsizetype headerLength = be32(p + 4);
    if (headerLength < 6 || headerLength > size - 8)
        return refuse("header cut short");
    song.m_format = be16(p + 8);
    const int tracks = be16(p + 10);
    const quint16 division = be16(p + 12);
    if (song.m_format > 2 || tracks < 1)
        return refuse("unknown format or no tracks");
    if (division & 0x8000) {
        const int framesPerSecond = -int(qint8(division >> 8));
        const int ticksPerFrame = division & 0xff;
        if (!std::ranges::count(std::array{24, 25, 29, 30}, framesPerSecond) || !ticksPerFrame)
            return refuse("bad SMPTE division");
        song.m_ticksPerSecond =
            (framesPerSecond == 29 ? 29.97 : double(framesPerSecond)) * ticksPerFrame;
    } else if (division == 0) {
        return refuse("zero division");
    } else {
        song.m_ticksPerBeat = division;
    }

    for (qsizetype at = 8 + headerLength; at + 8 <= size && int(song.m_tracks.size()) < tracks;) {
        const qsizetype length = be32(p + at + 4);
        if (length > size - at - 8)
            return refuse("chunk longer than the file");
        if (std::memcmp(p + at, "MTrk", 4) == 0)
            song.m_tracks.push_back({at + 8, at + 8 + length});
        at += 8 + length;
    }
    if (int(song.m_tracks.size()) < tracks)
        return refuse("tracks missing");

    for (const Span& span : song.m_tracks) {
        const char* at = p + span.begin;
        const char* end = p + span.end;
        quint8 running = 0;
        MidiEvent event;
        while (at != end) {
            quint32 delta = 0;
            if (!readVlq(at, end, delta))
                return refuse("bad delta time");
            const Step step = readEvent(at, end, running, event);
            if (step == Step::Broken)
                return refuse("bad event");
            if (step == Step::EndOfTrack)
                break;
            if (++song.m_events > maxEvents)
                return refuse("too many events");
        }
    }
    if (song.m_events == 0)
        return refuse("no events");
    return song;
}

MidiSong::Cursor::Cursor(const MidiSong& song) {
    const char* p = song.m_bytes.constData();
    for (const Span& span : song.m_tracks) {
        Track track{p + span.begin, p + span.end, 0, 0};
        if (readDelta(track)) {
            m_tracks.push_back(track);
            m_heap.push_back(m_tracks.size() - 1);
        }
    }
    for (size_t i = m_heap.size() / 2; i-- > 0;)
        siftDown(i);
}

bool MidiSong::Cursor::readDelta(Track& track) {
    quint32 delta = 0;
    if (track.at == track.end || !readVlq(track.at, track.end, delta))
        return false;
    track.tick += delta;
    return true;
}

bool MidiSong::Cursor::before(size_t a, size_t b) const {
    const Track& x = m_tracks[m_heap[a]];
    const Track& y = m_tracks[m_heap[b]];
    return x.tick != y.tick ? x.tick < y.tick : m_heap[a] < m_heap[b];
}

void MidiSong::Cursor::siftDown(size_t i) {
    for (;;) {
        size_t best = i;
        for (size_t child : {2 * i + 1, 2 * i + 2}) {
            if (child < m_heap.size() && before(child, best))
                best = child;
        }
        if (best == i)
            return;
        std::swap(m_heap[i], m_heap[best]);
        i = best;
    }
}

bool MidiSong::Cursor::next(MidiEvent& event) {
    while (!m_heap.empty()) {
        Track& track = m_tracks[m_heap.front()];
        event.tick = track.tick;
        const Step step = readEvent(track.at, track.end, track.running, event);
        if (step != Step::Event || !readDelta(track)) {
            // This track is over; its last event still counts.
            m_heap.front() = m_heap.back();
            m_heap.pop_back();
        }
        if (!m_heap.empty())
            siftDown(0);
        if (step == Step::Event)
            return true;
    }
    return false;
}

} // namespace tunevane
