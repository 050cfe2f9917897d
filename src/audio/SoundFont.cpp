// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/SoundFont.h"
#include "audio/Log.h"
#include "files/Path.h"

#include <QFile>
#include <QThreadPool>
#include <condition_variable>
#include <fluidsynth.h>
#include <mutex>

namespace tunevane::soundfont {

namespace {

const QString systemDefault = QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
const QString packagedBank = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");

// The bank is loaded once into a synthesiser that never plays. Every playing synthesiser
// gets a thin stand-in whose presets are the shared bank's own: presets start voices on
// whichever synthesiser asks, and sample data is reference-counted per preset.
struct Shared {
    std::mutex lock;
    std::condition_variable loaded;
    fluid_settings_t* settings = nullptr; // the playing synthesisers'
    fluid_settings_t* holderSettings = nullptr;
    fluid_synth_t* holder = nullptr;
    fluid_sfont_t* bank = nullptr;
    bool loading = false;
    int borrowers = 0;

    ~Shared() {
        // A synthesiser still borrowing the bank at exit must not see it freed.
        if (borrowers > 0)
            return;
        delete_fluid_synth(holder);
        delete_fluid_settings(holderSettings);
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

void logLibraryMessage(int level, const char* message, void*) {
    if (level == FLUID_PANIC)
        qCCritical(lcAudio, "synthesiser: %s", message);
    else
        qCWarning(lcAudio, "synthesiser: %s", message);
}

// Reads the bank into a holder of its own, with no lock held: the players and their
// synthesisers go on while it loads. Kept for the life of the process once loaded.
void loadBank(Shared& s) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_t* holderSettings = new_fluid_settings();
    fluid_synth_t* holder = nullptr;
    fluid_sfont_t* bank = nullptr;
    if (settings && holderSettings) {
        fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
        fluid_settings_setnum(holderSettings, "synth.sample-rate", sampleRate);
        // Large banks load in a fraction of the time and memory when samples come on demand.
        fluid_settings_setint(holderSettings, "synth.dynamic-sample-loading", 1);
        // The holder never sounds: without voices and effects it is made in half the time,
        // and a first MIDI click waits for it.
        fluid_settings_setint(holderSettings, "synth.polyphony", 1);
        fluid_settings_setint(holderSettings, "synth.reverb.active", 0);
        fluid_settings_setint(holderSettings, "synth.chorus.active", 0);
        holder = new_fluid_synth(holderSettings);
    }
    if (holder) {
        const int id = fluid_synth_sfload(holder, files::encodePath(path()).constData(), 0);
        if (id == FLUID_FAILED)
            qCWarning(lcAudio) << "cannot load the SoundFont" << path();
        else
            bank = fluid_synth_get_sfont_by_id(holder, id);
    }
    if (!bank) {
        delete_fluid_synth(holder);
        delete_fluid_settings(holderSettings);
        delete_fluid_settings(settings);
    }
    const std::lock_guard guard(s.lock);
    if (bank) {
        s.settings = settings;
        s.holderSettings = holderSettings;
        s.holder = holder;
        s.bank = bank;
    }
    s.loading = false;
    s.loaded.notify_all();
}

// Starts a load unless the bank is there or a load is under way; a failed one is tried
// again, so that a bank installed while the program runs is found.
void startLoading(Shared& s) {
    if (s.bank || s.loading)
        return;
    s.loading = true;
    QThreadPool::globalInstance()->start([&s] { loadBank(s); });
}

} // namespace

void routeLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Debug and info messages are noise; the rest goes to our log, never to stderr.
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN})
            fluid_set_log_function(level, logLibraryMessage, nullptr);
    });
}

QString path() {
    return QFile::exists(systemDefault) ? systemDefault : packagedBank;
}

bool isLoaded() {
    Shared& s = shared();
    const std::lock_guard guard(s.lock);
    return s.bank != nullptr;
}

bool ensureLoaded() {
    routeLibraryMessages();
    Shared& s = shared();
    std::unique_lock guard(s.lock);
    startLoading(s);
    s.loaded.wait(guard, [&] { return !s.loading; });
    return s.bank != nullptr;
}

void warmUp() {
    routeLibraryMessages();
    Shared& s = shared();
    const std::lock_guard guard(s.lock);
    startLoading(s);
}

_fluid_synth_t* newSynth() {
    if (!ensureLoaded())
        return nullptr;
    Shared& s = shared();
    const std::lock_guard guard(s.lock);
    fluid_synth_t* synth = new_fluid_synth(s.settings);
    if (synth)
        ++s.borrowers;
    return synth;
}

bool attachBank(_fluid_synth_t* synth) {
    Shared& s = shared();
    const std::lock_guard guard(s.lock);
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
    Shared& s = shared();
    const std::lock_guard guard(s.lock);
    --s.borrowers;
}

} // namespace tunevane::soundfont
