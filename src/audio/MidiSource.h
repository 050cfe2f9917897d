#pragma once

#include "audio/PcmSource.h"

#include <QByteArray>
#include <QString>
#include <memory>

struct _fluid_synth_t;
struct _fluid_player_t;

namespace tunevane {

// Renders a Standard MIDI File through FluidSynth on demand, block by block.
class MidiSource final : public PcmSource {
public:
    // nullptr when the file is missing, unreadable, not MIDI, corrupt or truncated, or when
    // no SoundFont can be loaded.
    static std::unique_ptr<MidiSource> open(const QString& path);
    ~MidiSource() override;

    // The Standard MIDI File inside `file` (bare, or wrapped in a RIFF RMID), if its header
    // and every track chunk are whole; empty otherwise.
    static QByteArray standardMidi(const QByteArray& file);

    int sampleRate() const override;
    int channels() const override { return 2; }
    qint64 frames() const override { return -1; }
    qint64 read(qint16* out, qint64 count) override;
    bool rewind() override;

private:
    MidiSource() = default;
    bool parses();
    bool start();
    void stopPlayer();
    bool songOver(const qint16* block, qint64 frames);

    QByteArray smf_;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_player_t* player_ = nullptr;
    qint64 tailFrames_ = 0;
    bool started_ = false;
    bool ended_ = false;
};

} // namespace tunevane
