#include "audio/SoundFont.h"
#include "files/Path.h"

#include <QFile>
#include <fluidsynth.h>

namespace tunevane::soundfont {

namespace {

const QString systemDefault = QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
const QString packagedBank = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");

// The bank is loaded once into a synthesiser that never plays. Every playing synthesiser
// gets a thin stand-in whose presets are the shared bank's own: presets start voices on
// whichever synthesiser asks, and sample data is reference-counted per preset.
struct Shared {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* holder = nullptr;
    fluid_sfont_t* bank = nullptr;
    bool tried = false;
    int borrowers = 0;

    ~Shared() {
        // A synthesiser still borrowing the bank at exit must not see it freed.
        if (borrowers > 0)
            return;
        delete_fluid_synth(holder);
        delete_fluid_settings(settings);
    }
};

Shared& shared() {
    static Shared instance;
    return instance;
}

fluid_sfont_t* bankOf(fluid_sfont_t* standIn) {
    return static_cast<fluid_sfont_t*>(fluid_sfont_get_data(standIn));
}

const char* standInName(fluid_sfont_t* s) {
    return fluid_sfont_get_name(bankOf(s));
}
fluid_preset_t* standInPreset(fluid_sfont_t* s, int bank, int program) {
    return fluid_sfont_get_preset(bankOf(s), bank, program);
}
void standInIterStart(fluid_sfont_t* s) {
    fluid_sfont_iteration_start(bankOf(s));
}
fluid_preset_t* standInIterNext(fluid_sfont_t* s) {
    return fluid_sfont_iteration_next(bankOf(s));
}
int standInFree(fluid_sfont_t* s) {
    return delete_fluid_sfont(s);
}

} // namespace

QString path() {
    return QFile::exists(systemDefault) ? systemDefault : packagedBank;
}

bool isLoaded() {
    return shared().bank != nullptr;
}

bool ensureLoaded() {
    Shared& s = shared();
    if (s.tried)
        return s.bank != nullptr;
    s.tried = true;
    // Debug and info messages are noise to a user; panic, error and warning stay.
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    s.settings = new_fluid_settings();
    if (!s.settings)
        return false;
    fluid_settings_setnum(s.settings, "synth.sample-rate", sampleRate);
    // Songs are rendered on demand, ahead of the clock or after a stall: the player must
    // count rendered samples, not wall-clock time, or the song is squeezed.
    fluid_settings_setstr(s.settings, "player.timing-source", "sample");
    // Large banks load in a fraction of the time and memory when samples come on demand.
    fluid_settings_setint(s.settings, "synth.dynamic-sample-loading", 1);
    s.holder = new_fluid_synth(s.settings);
    if (!s.holder)
        return false;
    const int id = fluid_synth_sfload(s.holder, files::encodePath(path()).constData(), 0);
    if (id == FLUID_FAILED)
        return false;
    s.bank = fluid_synth_get_sfont_by_id(s.holder, id);
    return s.bank != nullptr;
}

_fluid_synth_t* newSynth() {
    if (!ensureLoaded())
        return nullptr;
    Shared& s = shared();
    fluid_synth_t* synth = new_fluid_synth(s.settings);
    if (synth)
        ++s.borrowers;
    return synth;
}

bool attachBank(_fluid_synth_t* synth) {
    Shared& s = shared();
    if (!synth || !s.bank)
        return false;
    fluid_sfont_t* standIn =
        new_fluid_sfont(standInName, standInPreset, standInIterStart, standInIterNext, standInFree);
    if (!standIn)
        return false;
    fluid_sfont_set_data(standIn, s.bank);
    if (fluid_synth_add_sfont(synth, standIn) == FLUID_FAILED) {
        delete_fluid_sfont(standIn);
        return false;
    }
    return true;
}

void deleteSynth(_fluid_synth_t* synth) {
    if (!synth)
        return;
    delete_fluid_synth(synth);
    --shared().borrowers;
}

} // namespace tunevane::soundfont
