#include "audio/MidiSource.h"

#include "audio/SoundFont.h"
#include "audio/WavSource.h"

#include <algorithm>
#include <cstdlib>
#include <fluidsynth.h>
#include <unistd.h>

namespace tunevane {

namespace {

constexpr qint64 maxFileBytes = 32 * 1024 * 1024;
constexpr qint64 blockFrames = 512;
// Voices that are still fading after the last event are cut after this much, and as
// soon as they fall to near silence: FluidSynth would otherwise play seconds of hiss.
constexpr qint64 maxTailFrames = soundfont::sampleRate;
constexpr int silentPeak = 16;

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

QByteArray readSmallFile(const QString& path) {
    const int fd = openRegularFile(path);
    if (fd < 0)
        return {};
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 || bytes.size() + got > maxFileBytes) {
            bytes.clear();
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    return bytes;
}

} // namespace

QByteArray MidiSource::standardMidi(const QByteArray& file) {
    QByteArray smf = file;
    if (file.startsWith("RIFF") && file.size() >= 12 && file.mid(8, 4) == "RMID") {
        smf.clear();
        for (qint64 at = 12; at + 8 <= file.size();) {
            const qint64 length = le32(file.constData() + at + 4);
            if (at + 8 + length > file.size())
                return {};
            if (file.mid(at, 4) == "data") {
                smf = file.mid(at + 8, length);
                break;
            }
            at += 8 + length + (length & 1);
        }
    }
    const char* p = smf.constData();
    const qint64 size = smf.size();
    if (size < 14 || !smf.startsWith("MThd"))
        return {};
    const qint64 headerLength = be32(p + 4);
    if (headerLength < 6 || 8 + headerLength > size)
        return {};
    const int kind = be16(p + 8);
    const int tracks = be16(p + 10);
    const qint16 division = qint16(be16(p + 12));
    // FluidSynth plays neither SMPTE time nor a zero division.
    if (kind > 2 || tracks < 1 || division <= 0)
        return {};
    int found = 0;
    for (qint64 at = 8 + headerLength; at + 8 <= size;) {
        const qint64 length = be32(p + at + 4);
        if (at + 8 + length > size)
            return {};
        if (std::equal(p + at, p + at + 4, "MTrk")) {
            // The shortest track is one end-of-track event.
            if (length < 4)
                return {};
            ++found;
        }
        at += 8 + length;
    }
    return found >= tracks ? smf : QByteArray();
}

std::unique_ptr<MidiSource> MidiSource::open(const QString& path) {
    QByteArray smf = standardMidi(readSmallFile(path));
    if (smf.isEmpty())
        return nullptr;
    std::unique_ptr<MidiSource> source(new MidiSource);
    source->smf_ = std::move(smf);
    source->synth_ = soundfont::newSynth();
    if (!source->synth_ || !source->parses())
        return nullptr;
    return source;
}

MidiSource::~MidiSource() {
    stopPlayer();
    soundfont::deleteSynth(synth_);
}

int MidiSource::sampleRate() const {
    return soundfont::sampleRate;
}

void MidiSource::stopPlayer() {
    if (!player_)
        return;
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
}

bool MidiSource::parses() {
    // FluidSynth parses a song only when the first block is rendered, and reports one it
    // could not read just by being done already. This trial runs before the bank is
    // attached, so it loads no samples, and the warnings about missing presets are muted.
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    bool ok = false;
    player_ = new_fluid_player(synth_);
    if (player_ &&
        fluid_player_add_mem(player_, smf_.constData(), size_t(smf_.size())) == FLUID_OK &&
        fluid_player_play(player_) == FLUID_OK) {
        qint16 block[2 * 64];
        fluid_synth_write_s16(synth_, 64, block, 0, 2, block, 1, 2);
        ok = fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
    }
    stopPlayer();
    fluid_synth_system_reset(synth_);
    fluid_set_log_function(FLUID_WARN, fluid_default_log_function, nullptr);
    return ok;
}

bool MidiSource::start() {
    tailFrames_ = 0;
    ended_ = false;
    player_ = new_fluid_player(synth_);
    return player_ &&
           fluid_player_add_mem(player_, smf_.constData(), size_t(smf_.size())) == FLUID_OK &&
           fluid_player_play(player_) == FLUID_OK;
}

bool MidiSource::songOver(const qint16* block, qint64 frames) {
    if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING)
        return true;
    if (fluid_player_get_current_tick(player_) < fluid_player_get_total_ticks(player_))
        return false;
    tailFrames_ += frames;
    if (tailFrames_ >= maxTailFrames || fluid_synth_get_active_voice_count(synth_) == 0)
        return true;
    const auto [lo, hi] = std::minmax_element(block, block + frames * 2);
    return std::max(std::abs(int(*lo)), std::abs(int(*hi))) < silentPeak;
}

qint64 MidiSource::read(qint16* out, qint64 count) {
    if (!started_) {
        started_ = true;
        ended_ = !soundfont::attachBank(synth_) || !start();
    }
    qint64 done = 0;
    while (done < count && !ended_) {
        const qint64 n = std::min(blockFrames, count - done);
        qint16* block = out + done * 2;
        fluid_synth_write_s16(synth_, int(n), block, 0, 2, block, 1, 2);
        done += n;
        ended_ = songOver(block, n);
    }
    return done;
}

bool MidiSource::rewind() {
    if (!started_)
        return true;
    stopPlayer();
    fluid_synth_system_reset(synth_);
    return start();
}

} // namespace tunevane
