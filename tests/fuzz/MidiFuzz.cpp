// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opens the input as a MIDI file and renders it to the song's end, or as far as the time
// budget allows, so that long and dense inputs reach the event and size limits.
#include "FuzzInput.h"
#include "audio/MidiSource.h"
#include "audio/SoundFont.h"

#include <chrono>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using tunevane::MidiSource;
    const FuzzInput input(data, size);
    auto source = MidiSource::open(input.path());
    if (!source)
        return 0;
    // Well inside the runner's timeout, even for a song of silence hours long.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::vector<qint16> block(2 * 2048);
    while (std::chrono::steady_clock::now() < deadline) {
        const qint64 sent = source->sentEvents();
        const qint64 got = source->read(block.data(), 2048);
        // Every read ends with a bounded amount of work whatever the song asks for.
        if (got < 0 || got > 2048 || source->sentEvents() - sent > MidiSource::maxEventsPerRead)
            __builtin_trap();
        if (got == 0)
            break;
    }
    source->rewind();
    source->read(block.data(), 512);
    return 0;
}
