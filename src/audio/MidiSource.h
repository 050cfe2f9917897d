// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Renders a MIDI file to sound through FluidSynth, never stalling the audio thread.

#include "audio/MidiSong.h"
#include "audio/PcmSource.h"

#include <QString>
#include <memory>
#include <optional>

struct _fluid_synth_t;

namespace tunevane {

// Plays a Standard MIDI File through a FluidSynth synthesiser, block by block. We walk the
// song ourselves so that every block does bounded work: events that do not fit in a
// block's budget are carried to the next one, late, rather than stalling the thread.
class MidiSource final : public PcmSource {
public:
    // Largest file taken: every byte of it is kept while it plays.
    static constexpr qint64 maxFileBytes = 32 * 1024 * 1024;
    // Time and event budgets for the events of one read().
    static constexpr qint64 eventBudgetNsecs = 2'000'000;
    static constexpr int maxEventsPerRead = 4096;

    // nullptr when the file is missing, unreadable, not MIDI, corrupt or truncated, or when
    // no SoundFont can be loaded; `why` then says which.
    static std::unique_ptr<MidiSource> open(const QString& path, QString* why = nullptr);
    // The same from bytes already read.
    static std::unique_ptr<MidiSource> fromBytes(QByteArray file, QString* why = nullptr);
    ~MidiSource() override;
    Q_DISABLE_COPY_MOVE(MidiSource)

    int sampleRate() const override;
    int channels() const override { return 2; }
    qint64 frames() const override { return -1; }
    qint64 read(qint16* out, qint64 count) override;
    bool rewind() override;

    // Reads that left due events for later because their budget was spent.
    qint64 overBudgetReads() const { return m_overBudgetReads; }
    // Events handed to the synthesiser since the source was made.
    qint64 sentEvents() const { return m_sentEvents; }

private:
    explicit MidiSource(MidiSong song) : m_song(std::move(song)) {}
    bool start();
    // Sends the events that are due by now, within the budget; false once it is spent.
    bool dispatchDue(qint64& budgetEvents, qint64 startedNsecs);
    void send(const MidiEvent& event);
    double sampleOf(quint64 tick) const;
    bool tailOver(const qint16* block, qint64 frames);

    MidiSong m_song;
    std::optional<MidiSong::Cursor> m_cursor;
    _fluid_synth_t* m_synth = nullptr;
    bool m_started = false;
    bool m_ended = false;
    bool m_songOver = false;
    qint64 m_position = 0; // frames rendered since the start
    qint64 m_tailFrames = 0;
    qint64 m_overBudgetReads = 0;
    qint64 m_sentEvents = 0;
    // Tempo map so far: the sample at which the current tempo began, and its rate.
    quint64 m_tempoTick = 0;
    double m_tempoSample = 0;
    double m_samplesPerTick = 0;
    MidiEvent m_pending;
    bool m_hasPending = false;
};

} // namespace tunevane
