// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/PcmSource.h"

namespace tunevane {

QAudioFormat PcmSource::format() const {
    QAudioFormat f;
    f.setSampleRate(sampleRate());
    f.setChannelCount(channels());
    f.setSampleFormat(QAudioFormat::Int16);
    return f;
}

} // namespace tunevane
