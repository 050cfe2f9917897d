// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/AudioEngine.h"

namespace tunevane::audio {

// The plugin's root object: the one process-wide engine behind the interface.
class EnginePlugin final : public QObject, public Engine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TUNEVANE_AUDIO_ENGINE_IID)
    Q_INTERFACES(tunevane::audio::Engine)

public:
    std::unique_ptr<Playback> newPlayback(QObject* context,
                                          std::function<void()> changed) override {
        return AudioEngine::instance().newPlayback(context, std::move(changed));
    }
    bool outputAvailable() override { return AudioEngine::instance().outputAvailable(); }
    void warmUp() override { AudioEngine::instance().warmUp(); }
};

} // namespace tunevane::audio

#include "EnginePlugin.moc"
