#pragma once

#include <QString>

struct _fluid_synth_t;

namespace tunevane::soundfont {

// The General MIDI bank this process plays with: the system default when one is
// installed, else the small bank the program depends on.
QString path();

bool isLoaded();
// Loads the bank on first use; false when no bank can be read. Safe from any thread: a
// caller that arrives while another thread loads waits for that load.
bool ensureLoaded();
// Starts loading the bank on a background thread and returns at once.
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
