// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/WavSource.h"
#include "files/Path.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>

namespace tunevane {

std::unique_ptr<WavSource> WavSource::open(const QString& path, QString* why) {
    const auto refuse = [why](const QString& reason) -> std::unique_ptr<WavSource> {
        if (why)
            *why = reason;
        return nullptr;
    };
    files::Result<files::Fd> fd = files::openRegularFile(path);
    if (!fd)
        return refuse(QString::fromUtf8(fd.error().text()));
    std::unique_ptr<WavSource> source(new WavSource);
    source->m_fd = *std::move(fd);
    SF_INFO info{};
    source->m_file = sf_open_fd(source->m_fd.get(), SFM_READ, &info, SF_FALSE);
    if (!source->m_file)
        return refuse(QString::fromUtf8(sf_strerror(nullptr)));
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX && container != SF_FORMAT_RF64)
        return refuse(QStringLiteral("not a WAV file"));
    // Truncated files open with a clamped count; a header without data has none to play.
    if (info.frames <= 0)
        return refuse(QStringLiteral("no sound data"));
    if (info.channels < 1 || info.channels > 8 || info.samplerate < 1000 ||
        info.samplerate > 384000)
        return refuse(QStringLiteral("unplayable channel count or rate"));
    // libsndfile turns float data into integers either unscaled or scaled to the file's
    // peak; we want the samples as they are, so floats are converted here.
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    source->m_floating = encoding == SF_FORMAT_FLOAT || encoding == SF_FORMAT_DOUBLE;
    source->m_rate = info.samplerate;
    source->m_channels = info.channels;
    source->m_frames = info.frames;
    return source;
}

WavSource::~WavSource() {
    // libsndfile was told not to close the descriptor; m_fd does, after it.
    if (m_file)
        sf_close(m_file);
}

qint64 WavSource::read(qint16* out, qint64 count) {
    if (count <= 0 || m_position >= m_frames)
        return 0;
    const qint64 wanted = std::min<qint64>(count, m_frames - m_position);
    sf_count_t got = 0;
    if (m_floating) {
        m_scratch.resize(size_t(wanted * m_channels));
        got = sf_readf_float(m_file, m_scratch.data(), wanted);
        for (qint64 i = 0; i < got * m_channels; ++i) {
            const float v = m_scratch[size_t(i)];
            out[i] = std::isnan(v) ? 0 : qint16(std::lrint(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        }
    } else {
        got = sf_readf_short(m_file, out, wanted);
    }
    if (got <= 0) {
        // A read error mid-file ends the sound rather than looping on it.
        m_position = m_frames;
        return 0;
    }
    m_position += got;
    return got;
}

bool WavSource::rewind() {
    if (sf_seek(m_file, 0, SEEK_SET) != 0)
        return false;
    m_position = 0;
    return true;
}

} // namespace tunevane
