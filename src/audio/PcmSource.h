// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief What the output reads from: decoded WAV or MIDI as 16-bit frames, block by block.

#include <QAudioFormat>
#include <QtGlobal>

namespace tunevane {

// Decoded audio handed out block by block: interleaved signed 16-bit frames, which every
// sound server takes, so the sink never needs a converter.
class PcmSource {
public:
    PcmSource() = default;
    virtual ~PcmSource() = default;
    // Sources own library handles that must be released once.
    Q_DISABLE_COPY_MOVE(PcmSource)

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // Total frames, or -1 where the length is only known once rendered (MIDI).
    virtual qint64 frames() const = 0;
    // Fills up to `count` frames; returns the frames written, 0 at the end.
    virtual qint64 read(qint16* out, qint64 count) = 0;
    virtual bool rewind() = 0;

    QAudioFormat format() const;
    int bytesPerFrame() const { return channels() * int(sizeof(qint16)); }
};

} // namespace tunevane
