// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What both KeyValues readers must hold to, whatever the input: their bounds on depth and
// on the number of entries.
#include "FuzzInput.h"
#include "games/KeyValues.h"

inline int walkKeyValues(const tunevane::games::KeyValue& block, int depth) {
    if (depth > tunevane::games::keyValuesMaxDepth)
        __builtin_trap();
    int entries = 0;
    for (const tunevane::games::KeyValue& entry : block.children)
        entries += 1 + (entry.isBlock ? walkKeyValues(entry, depth + 1) : 0);
    return entries;
}

template <typename Reader> int fuzzKeyValues(Reader read, const uint8_t* data, size_t size) {
    const FuzzInput input(data, size);
    if (const auto top = read(input.path(), nullptr);
        top && walkKeyValues(*top, 0) > tunevane::games::keyValuesMaxEntries)
        __builtin_trap();
    return 0;
}
