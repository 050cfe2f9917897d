// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The one General MIDI bank all MIDI playback shares, loaded once in the background.

#include <QString>

struct _fluid_synth_t;

namespace tunevane::soundfont {

// The General MIDI bank this process plays with: the system default when one is
// installed, else the small bank the program depends on.
QString path();

bool isLoaded();
// Waits for the bank, which loads on a pool thread on first use; false when it cannot be
// read. A failed load is tried again at the next call. Safe from any thread.
bool ensureLoaded();
// Starts loading the bank on a pool thread and returns at once.
void warmUp();

// A synthesiser with no bank yet; nullptr when the bank cannot be loaded. Free it with
// deleteSynth.
_fluid_synth_t* newSynth();
// Lets `synth` play the shared bank without loading it again. Selecting presets loads
// their samples, so this is left until the sound is wanted.
bool attachBank(_fluid_synth_t* synth);
void deleteSynth(_fluid_synth_t* synth);

// Sends the synthesiser library's own messages to our log instead of stderr. Called before
// any other use of the library.
void routeLibraryMessages();

// Rate every synthesiser renders at.
constexpr int sampleRate = 44100;

} // namespace tunevane::soundfont
