// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/MidiSource.h"

#include "audio/SoundFont.h"
#include "audio/WavSource.h"
#include "files/Fd.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fluidsynth.h>
#include <unistd.h>

namespace tunevane {

namespace {

// FluidSynth renders in blocks of 64 frames; events land on those edges.
constexpr qint64 blockFrames = 64;
// Voices that are still fading after the last event are cut after this much, and as
// soon as they fall to near silence: FluidSynth would otherwise play seconds of hiss.
constexpr qint64 maxTailFrames = soundfont::sampleRate;
constexpr int silentPeak = 16;
constexpr double defaultMicrosPerBeat = 500000;

qint64 nowNsecs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QByteArray readSmallFile(const QString& path, QString* why) {
    const files::Result<files::Fd> fd = files::openRegularFile(path);
    if (!fd) {
        if (why)
            *why = QString::fromUtf8(fd.error().text());
        return {};
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd->get(), buffer, sizeof buffer);
        if (got < 0 || bytes.size() + got > MidiSource::maxFileBytes) {
            const files::ReadError error =
                got < 0 ? files::ReadError::system(errno)
                        : files::ReadError::tooLarge(MidiSource::maxFileBytes);
            if (why)
                *why = QString::fromUtf8(error.text());
            return {};
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    return bytes;
}

} // namespace

std::unique_ptr<MidiSource> MidiSource::open(const QString& path, QString* why) {
    QString reason;
    QByteArray bytes = readSmallFile(path, &reason);
    if (bytes.isEmpty()) {
        if (why)
            *why = reason.isEmpty() ? QStringLiteral("empty file") : reason;
        return nullptr;
    }
    return fromBytes(std::move(bytes), why);
}

std::unique_ptr<MidiSource> MidiSource::fromBytes(QByteArray file, QString* why) {
    QByteArray reason;
    std::optional<MidiSong> song = MidiSong::parse(std::move(file), &reason);
    if (!song) {
        if (why)
            *why = QString::fromLatin1(reason);
        return nullptr;
    }
    // The synthesiser itself waits for the first block, but a song that can never sound
    // must fail here, where the open can still say so.
    if (!soundfont::ensureLoaded()) {
        if (why)
            *why = QStringLiteral("no SoundFont");
        return nullptr;
    }
    return std::unique_ptr<MidiSource>(new MidiSource(std::move(*song)));
}

MidiSource::~MidiSource() {
    soundfont::deleteSynth(m_synth);
}

int MidiSource::sampleRate() const {
    return soundfont::sampleRate;
}

bool MidiSource::start() {
    if (!m_synth) {
        m_synth = soundfont::newSynth();
        if (!m_synth || !soundfont::attachBank(m_synth))
            return false;
    } else {
        fluid_synth_system_reset(m_synth);
    }
    m_cursor.emplace(m_song);
    m_hasPending = false;
    m_position = 0;
    m_tailFrames = 0;
    m_songOver = false;
    m_tempoTick = 0;
    m_tempoSample = 0;
    m_samplesPerTick = m_song.ticksPerBeat()
                           ? defaultMicrosPerBeat / m_song.ticksPerBeat() * sampleRate() / 1e6
                           : sampleRate() / m_song.ticksPerSecond();
    return true;
}

double MidiSource::sampleOf(quint64 tick) const {
    return m_tempoSample + double(tick - m_tempoTick) * m_samplesPerTick;
}

void MidiSource::send(const MidiEvent& e) {
    const int channel = e.status & 0x0f;
    switch (e.status & 0xf0) {
    case 0x80:
        fluid_synth_noteoff(m_synth, channel, e.data1);
        return;
    case 0x90:
        // Velocity 0 is a note off; FluidSynth takes it that way.
        fluid_synth_noteon(m_synth, channel, e.data1, e.data2);
        return;
    case 0xa0:
        fluid_synth_key_pressure(m_synth, channel, e.data1, e.data2);
        return;
    case 0xb0:
        fluid_synth_cc(m_synth, channel, e.data1, e.data2);
        return;
    case 0xc0:
        fluid_synth_program_change(m_synth, channel, e.data1);
        return;
    case 0xd0:
        fluid_synth_channel_pressure(m_synth, channel, e.data1);
        return;
    case 0xe0:
        fluid_synth_pitch_bend(m_synth, channel, e.data1 | e.data2 << 7);
        return;
    default:
        break;
    }
    if (e.status == 0xf0 && e.payloadSize > 0) {
        // The synthesiser wants the message without its closing 0xf7.
        int size = e.payloadSize;
        if (quint8(e.payload[size - 1]) == 0xf7)
            --size;
        fluid_synth_sysex(m_synth, e.payload, size, nullptr, nullptr, nullptr, 0);
    } else if (e.status == 0xff && e.data1 == 0x51 && e.payloadSize == 3 && m_song.ticksPerBeat()) {
        const auto* u = reinterpret_cast<const unsigned char*>(e.payload);
        const double micros = u[0] << 16 | u[1] << 8 | u[2];
        if (micros > 0) {
            m_tempoSample = sampleOf(e.tick);
            m_tempoTick = e.tick;
            m_samplesPerTick = micros / m_song.ticksPerBeat() * sampleRate() / 1e6;
        }
    }
}

bool MidiSource::dispatchDue(qint64& budgetEvents, qint64 startedNsecs) {
    for (;;) {
        if (!m_hasPending) {
            if (!m_cursor->next(m_pending)) {
                m_songOver = true;
                return true;
            }
            m_hasPending = true;
        }
        if (sampleOf(m_pending.tick) > double(m_position))
            return true;
        // The clock is read every few events: reading it costs more than most events. The
        // first due event always goes, so that a song moves on however slow the machine.
        if (budgetEvents <= 0 || (budgetEvents < maxEventsPerRead && (budgetEvents & 15) == 0 &&
                                  nowNsecs() - startedNsecs > eventBudgetNsecs)) {
            ++m_overBudgetReads;
            return false;
        }
        --budgetEvents;
        ++m_sentEvents;
        send(m_pending);
        m_hasPending = false;
    }
}

bool MidiSource::tailOver(const qint16* block, qint64 frames) {
    m_tailFrames += frames;
    if (m_tailFrames >= maxTailFrames || fluid_synth_get_active_voice_count(m_synth) == 0)
        return true;
    const auto [lo, hi] = std::minmax_element(block, block + frames * 2);
    return std::max(std::abs(int(*lo)), std::abs(int(*hi))) < silentPeak;
}

qint64 MidiSource::read(qint16* out, qint64 count) {
    if (!m_started) {
        m_started = true;
        m_ended = !start();
    }
    const qint64 startedNsecs = nowNsecs();
    qint64 budgetEvents = maxEventsPerRead;
    bool inBudget = true;
    qint64 done = 0;
    while (done < count && !m_ended) {
        if (inBudget && !m_songOver)
            inBudget = dispatchDue(budgetEvents, startedNsecs);
        const qint64 n = std::min(blockFrames - m_position % blockFrames, count - done);
        qint16* block = out + done * 2;
        fluid_synth_write_s16(m_synth, int(n), block, 0, 2, block, 1, 2);
        done += n;
        m_position += n;
        if (m_songOver && !m_hasPending)
            m_ended = tailOver(block, n);
    }
    return done;
}

bool MidiSource::rewind() {
    if (!m_started)
        return true;
    m_ended = !start();
    return !m_ended;
}

} // namespace tunevane
