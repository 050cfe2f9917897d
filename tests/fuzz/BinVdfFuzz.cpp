// Reads the input as a binary KeyValues file (Steam's shortcuts.vdf) and walks what came back.
#include "FuzzInput.h"
#include "games/KeyValues.h"

using tunevane::games::KeyValue;

static int walk(const KeyValue& block, int depth) {
    if (depth > tunevane::games::keyValuesMaxDepth)
        __builtin_trap();
    int entries = 0;
    for (const KeyValue& entry : block.children)
        entries += 1 + (entry.isBlock ? walk(entry, depth + 1) : 0);
    return entries;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput input(data, size);
    if (const auto top = tunevane::games::readBinaryKeyValuesFile(input.path());
        top && walk(*top, 0) > tunevane::games::keyValuesMaxEntries)
        __builtin_trap();
    return 0;
}
