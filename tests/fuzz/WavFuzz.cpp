// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opens the input as a WAV file and decodes all of it.
#include "FuzzInput.h"
#include "audio/WavSource.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput input(data, size);
    auto source = tunevane::WavSource::open(input.path());
    if (!source)
        return 0;
    std::vector<qint16> block(size_t(source->channels()) * 4096);
    qint64 total = 0;
    while (qint64 got = source->read(block.data(), 4096)) {
        total += got;
        if (got < 0 || got > 4096 || total > source->frames())
            __builtin_trap();
    }
    if (source->rewind())
        source->read(block.data(), 4096);
    return 0;
}
