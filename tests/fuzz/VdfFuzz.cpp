// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads the input as a Steam KeyValues file and walks what came back.
#include "KeyValuesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzKeyValues(tunevane::games::readKeyValuesFile, data, size);
}
