#include "audio/WavSource.h"
#include "files/Path.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane {

int openRegularFile(const QString& path) {
    if (path.isEmpty())
        return -1;
    // O_NONBLOCK so that a FIFO given as a file name cannot hang the interface.
    const int fd = ::open(files::encodePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::unique_ptr<WavSource> WavSource::open(const QString& path) {
    const int fd = openRegularFile(path);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<WavSource> source(new WavSource);
    source->fd_ = fd;
    SF_INFO info{};
    source->file_ = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!source->file_)
        return nullptr;
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX && container != SF_FORMAT_RF64)
        return nullptr;
    // Truncated files open with a clamped count; a header without data has none to play.
    if (info.frames <= 0 || info.channels < 1 || info.channels > 8 || info.samplerate < 1000 ||
        info.samplerate > 384000)
        return nullptr;
    // libsndfile turns float data into integers either unscaled or scaled to the file's
    // peak; we want the samples as they are, so floats are converted here.
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    source->floating_ = encoding == SF_FORMAT_FLOAT || encoding == SF_FORMAT_DOUBLE;
    source->rate_ = info.samplerate;
    source->channels_ = info.channels;
    source->frames_ = info.frames;
    return source;
}

WavSource::~WavSource() {
    if (file_)
        sf_close(file_);
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 WavSource::read(qint16* out, qint64 count) {
    if (count <= 0 || position_ >= frames_)
        return 0;
    const qint64 wanted = std::min<qint64>(count, frames_ - position_);
    sf_count_t got = 0;
    if (floating_) {
        scratch_.resize(size_t(wanted * channels_));
        got = sf_readf_float(file_, scratch_.data(), wanted);
        for (qint64 i = 0; i < got * channels_; ++i)
            out[i] = qint16(std::lrint(std::clamp(scratch_[size_t(i)], -1.0f, 1.0f) * 32767.0f));
    } else {
        got = sf_readf_short(file_, out, wanted);
    }
    if (got <= 0) {
        // A read error mid-file ends the sound rather than looping on it.
        position_ = frames_;
        return 0;
    }
    position_ += got;
    return got;
}

bool WavSource::rewind() {
    if (sf_seek(file_, 0, SEEK_SET) != 0)
        return false;
    position_ = 0;
    return true;
}

} // namespace tunevane
