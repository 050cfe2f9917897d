// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/SoundServer.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <thread>
#include <utility>

namespace tunevane::audio {

namespace {

constexpr auto retryAfter = std::chrono::seconds(3);

struct Asking {
    std::mutex lock;
    std::condition_variable changed;
    SoundServer::State state = SoundServer::State::Asking;
    bool started = false;
    bool stopping = false;
};

// Never freed: the asking thread may still wait on a silent server when the process ends.
Asking& asking() {
    static auto* instance = new Asking;
    return *instance;
}

// Blocks until the server answers or refuses; forever when it does neither.
bool serverAnswers() {
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop)
        return false;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Tunevane");
    bool ready = false;
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) >= 0) {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            ready = state == PA_CONTEXT_READY;
            if (ready || !PA_CONTEXT_IS_GOOD(state) || pa_mainloop_iterate(loop, 1, nullptr) < 0)
                break;
        }
        pa_context_disconnect(context);
    }
    if (context)
        pa_context_unref(context);
    pa_mainloop_free(loop);
    return ready;
}

} // namespace

void SoundServer::nameProgram() {
    // The sound library reads these whenever it connects. Qt names the connection after
    // itself, and only an OVERRIDE property replaces that name; the user's own name wins.
    static std::once_flag named;
    std::call_once(named, [] {
        if (!std::getenv("PULSE_PROP_application.name"))
            ::setenv("PULSE_PROP_OVERRIDE_application.name", "Tunevane", 0);
        for (const auto& [property, value] :
             {std::pair{"PULSE_PROP_application.icon_name", "tunevane"},
              std::pair{"PULSE_PROP_application.id", "tunevane"},
              std::pair{"PULSE_PROP_media.role", "music"}})
            ::setenv(property, value, 0);
    });
}

void SoundServer::start(std::function<void()> answered) {
    nameProgram();
    Asking& a = asking();
    {
        const std::lock_guard guard(a.lock);
        if (std::exchange(a.started, true))
            return;
    }
    std::thread([&a, answered = std::move(answered)] {
        for (;;) {
            const bool answers = serverAnswers();
            std::unique_lock guard(a.lock);
            if (a.stopping)
                return;
            a.state = answers ? State::Answered : State::Absent;
            a.changed.notify_all();
            if (answers)
                break;
            a.changed.wait_for(guard, retryAfter, [&] { return a.stopping; });
            if (a.stopping)
                return;
        }
        answered();
    }).detach();
}

void SoundServer::stop() {
    Asking& a = asking();
    const std::lock_guard guard(a.lock);
    a.stopping = true;
    a.changed.notify_all();
}

SoundServer::State SoundServer::state(std::chrono::milliseconds patience) {
    Asking& a = asking();
    std::unique_lock guard(a.lock);
    a.changed.wait_for(guard, patience, [&] { return a.state != State::Asking; });
    return a.state;
}

} // namespace tunevane::audio
