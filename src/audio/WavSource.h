#pragma once

#include "audio/PcmSource.h"

#include <QString>
#include <memory>
#include <vector>

struct sf_private_tag;

namespace tunevane {

// Streams a WAV file through libsndfile; only the header is read when opening.
class WavSource final : public PcmSource {
public:
    // nullptr when the file is missing, unreadable, not a WAV, corrupt or holds no frames.
    static std::unique_ptr<WavSource> open(const QString& path);
    ~WavSource() override;

    int sampleRate() const override { return rate_; }
    int channels() const override { return channels_; }
    qint64 frames() const override { return frames_; }
    qint64 read(qint16* out, qint64 count) override;
    bool rewind() override;

private:
    WavSource() = default;

    sf_private_tag* file_ = nullptr;
    int fd_ = -1;
    int rate_ = 0;
    int channels_ = 0;
    qint64 frames_ = 0;
    qint64 position_ = 0;
    bool floating_ = false;
    std::vector<float> scratch_;
};

// Opens a regular file for reading without blocking on FIFOs or devices; -1 otherwise.
int openRegularFile(const QString& path);

} // namespace tunevane
