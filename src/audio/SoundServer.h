// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Finds out whether the sound server answers without letting a silent one hang the program.

#include <chrono>
#include <functional>

namespace tunevane::audio {

// Whether the sound server answers. The sound library's first connection waits for the
// server for as long as it takes, on whichever thread makes it, and a server that accepts
// and never answers holds that thread for good. So a connection of our own is made first,
// on a thread of its own; the library is touched only once this one was answered.
class SoundServer {
public:
    enum class State { Asking, Answered, Absent };

    // Starts asking, once per process; a refused connection is tried again every few
    // seconds. `answered` runs on the asking thread when a server first answers.
    static void start(std::function<void()> answered);
    // Names this program to the server for every connection made after it: the desktop's
    // mixer lists "Tunevane" with its icon, not the audio library's own name. Once per process,
    // before any connection; a name the user gives in PULSE_PROP_* is kept.
    static void nameProgram();
    static void stop();
    // The state now, waiting up to `patience` while the first connection is in progress.
    static State state(std::chrono::milliseconds patience = {});
};

} // namespace tunevane::audio
