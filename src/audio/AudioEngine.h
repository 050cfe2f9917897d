#pragma once

#include "audio/Engine.h"

class QThread;

namespace tunevane::audio {

// The audio thread and the players that live on it; one per process.
class AudioEngine final : public Engine {
public:
    static AudioEngine& instance();

    std::unique_ptr<Playback> newPlayback(QObject* context, std::function<void()> changed) override;
    bool outputAvailable() override;
    void warmUp() override;

    // Runs `work` on the audio thread and returns when it is done. Runs it here when this
    // is the audio thread, or when that thread has already ended with the application.
    void run(const std::function<void()>& work);

private:
    AudioEngine();
    Q_DISABLE_COPY_MOVE(AudioEngine)
    static void shutDown();

    QThread* m_thread = nullptr;
    QObject* m_anchor = nullptr; // lives on the audio thread; calls are queued to it
};

} // namespace tunevane::audio
