// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The plugin's engine: one audio thread that decodes and plays the sound of every player.

#include "audio/Engine.h"

class QThread;

namespace tunevane::audio {

// The audio thread and the players that live on it; one per process.
class AudioEngine final : public Engine {
public:
    static AudioEngine& instance();

    std::unique_ptr<Playback> newPlayback(QObject* context, std::function<void()> changed) override;
    // Waits up to two seconds for the sound server's first answer; the windows never ask.
    bool outputAvailable() override;
    void warmUp() override;

    // Runs `work` on the audio thread after everything sent before it, and waits until it
    // is done, except for the sound server: once the audio thread has waited on the server
    // for `serverPatienceMs` within this call, it returns false and `work` runs later. Runs
    // it here when this is the audio thread, or when that thread has ended.
    bool run(std::function<void()> work, int serverPatienceMs = 40);
    // The same without waiting.
    void post(std::function<void()> work);

private:
    AudioEngine();
    Q_DISABLE_COPY_MOVE(AudioEngine)
    static void shutDown();
    void serverAnswered();

    QThread* m_thread = nullptr;
    QObject* m_anchor = nullptr; // lives on the audio thread; calls are queued to it
};

} // namespace tunevane::audio
