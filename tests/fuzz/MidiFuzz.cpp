// Opens the input as a MIDI file and renders the start of it.
#include "FuzzInput.h"
#include "audio/MidiSource.h"
#include "audio/SoundFont.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput input(data, size);
    auto source = tunevane::MidiSource::open(input.path());
    if (!source)
        return 0;
    // Under a second: enough to reach the events of most inputs, and every read
    // must end with a bounded amount of work whatever the song asks for.
    std::vector<qint16> block(2 * 2048);
    for (int i = 0; i < 16; ++i) {
        const qint64 got = source->read(block.data(), 2048);
        if (got < 0 || got > 2048)
            __builtin_trap();
        if (got == 0)
            break;
    }
    source->rewind();
    source->read(block.data(), 512);
    return 0;
}
