// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Decodes a WAV file for playing, streamed from disk rather than read whole.

#include "audio/PcmSource.h"
#include "files/Fd.h"

#include <QString>
#include <memory>
#include <vector>

struct sf_private_tag;

namespace tunevane {

// Streams a WAV file through libsndfile; only the header is read when opening.
class WavSource final : public PcmSource {
public:
    // nullptr when the file is missing, unreadable, not a WAV, corrupt or holds no frames;
    // `why` then says which.
    static std::unique_ptr<WavSource> open(const QString& path, QString* why = nullptr);
    ~WavSource() override;
    Q_DISABLE_COPY_MOVE(WavSource)

    int sampleRate() const override { return m_rate; }
    int channels() const override { return m_channels; }
    qint64 frames() const override { return m_frames; }
    qint64 read(qint16* out, qint64 count) override;
    bool rewind() override;

private:
    WavSource() = default;

    files::Fd m_fd;
    sf_private_tag* m_file = nullptr;
    int m_rate = 0;
    int m_channels = 0;
    qint64 m_frames = 0;
    qint64 m_position = 0;
    bool m_floating = false;
    std::vector<float> m_scratch;
};

} // namespace tunevane
