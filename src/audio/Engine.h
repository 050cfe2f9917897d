// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief What the windows see of the audio layer: players behind the interface its plugin gives.
///
/// The layer itself is a plugin, loaded when the first player needs it, so that the program
/// shows its first window before the sound libraries are even mapped. This header needs nothing
/// but Qt Core.

#include <QObject>
#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>

namespace tunevane::audio {

enum class Device { Wave, Sequencer };
enum class Mode { NotOpen, Stopped, Playing, Paused };

// The sound of one player. Decoding, synthesis and the sink live on the audio thread;
// every call returns once that thread has carried it out, so its effect on the mode is
// there when the call returns. The one exception is the sound server, which may never
// answer: no call waits on it for more than a few tens of milliseconds. A call cut short
// takes effect later, in order, and the mode change comes as a `changed` notice.
class Playback {
public:
    Playback() = default;
    virtual ~Playback() = default;
    Q_DISABLE_COPY_MOVE(Playback)

    // False, leaving nothing open, when the file cannot be played; the reason is logged.
    virtual bool open(Device device, const QString& path) = 0;
    virtual void close() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Back to the start, playing on if it was playing.
    virtual void rewind() = 0;

    // Read from the caller's thread at any time.
    virtual Mode mode() const = 0;
    // Played through to the end; only an open or a rewind makes it playable again.
    virtual bool atEnd() const = 0;
    // Microseconds of sound played since the file was opened or rewound.
    virtual qint64 processedUSecs() const = 0;
};

class Engine {
public:
    virtual ~Engine() = default;

    // `changed` runs on `context`'s thread after the mode changes, whether by a call or by
    // itself (the end of the sound, a lost sound server, a late answer from the server).
    virtual std::unique_ptr<Playback> newPlayback(QObject* context,
                                                  std::function<void()> changed) = 0;
    // Whether any sound output exists now; without one, play does nothing.
    virtual bool outputAvailable() = 0;
    // Starts loading the SoundFont in the background, so that the first MIDI opens fast.
    virtual void warmUp() = 0;
};

} // namespace tunevane::audio

#define TUNEVANE_AUDIO_ENGINE_IID "org.tunevane.AudioEngine/1"
Q_DECLARE_INTERFACE(tunevane::audio::Engine, TUNEVANE_AUDIO_ENGINE_IID)
