// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Runs work that may hang on a dead mount on a thread of its own, waiting only so long.

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tunevane::files {

namespace bounded {

// One `place` (a mount) has at most one piece of work waiting for its answer: a mount that
// stopped answering holds every call on it, and one stuck thread for it is enough.
bool claim(const QString& place);
void release(const QString& place);
// False when no thread can be had.
bool startDetached(std::function<void()> work);
// The calling thread's id, for waitingOnKernel().
int threadId();
// Whether the thread `id` of this process sleeps in the kernel (on a mount, a disk) rather
// than runs or waits for a processor. An id of 0 is a thread not yet started: not waiting.
bool waitingOnKernel(int id);
// How long work that is still running, only short of a processor on a busy machine, is waited
// for beyond the bound.
constexpr std::chrono::milliseconds busyMachineLimit{5000};

} // namespace bounded

// Runs `work` on a thread of its own and waits for its answer at most `bound`: work that may
// wait on a mount (a dropped sshfs, a sleeping NAS) must not hold the window. nullopt when the
// bound passed with the work asleep in the kernel, and at once when earlier work on the same
// `place` still waits; then `late`, if given, gets the answer on the worker's thread should
// it ever come. Work that is merely short of a processor is waited for a while longer: a
// busy machine is no dead mount. A thread whose answer never comes is left to the end of the
// process: it holds nothing but what was handed to it here.
template <typename T>
std::optional<T> answerWithin(const QString& place, std::chrono::milliseconds bound,
                              std::function<T()> work, std::function<void(T)> late = {}) {
    struct Shared {
        std::mutex lock;
        std::condition_variable answered;
        std::optional<T> answer;
        bool waiting = true; // the caller still waits; otherwise the answer goes to `late`
        std::atomic<int> worker{0};
    };
    if (!bounded::claim(place))
        return std::nullopt;
    auto shared = std::make_shared<Shared>();
    const bool started = bounded::startDetached(
        [shared, place, work = std::move(work), late = std::move(late)]() mutable {
            shared->worker = bounded::threadId();
            T answer = work();
            // Released before the answer is seen, so that the caller's next call may claim it.
            bounded::release(place);
            std::unique_lock guard(shared->lock);
            if (!shared->waiting) {
                guard.unlock();
                if (late)
                    late(std::move(answer));
                return;
            }
            shared->answer = std::move(answer);
            shared->answered.notify_all();
        });
    if (!started) {
        bounded::release(place);
        return std::nullopt;
    }
    std::unique_lock guard(shared->lock);
    const auto answered = [&] { return shared->answer.has_value(); };
    const auto giveUp = std::chrono::steady_clock::now() + bounded::busyMachineLimit;
    bool done = shared->answered.wait_for(guard, bound, answered);
    while (!done && !bounded::waitingOnKernel(shared->worker) &&
           std::chrono::steady_clock::now() < giveUp)
        done = shared->answered.wait_for(guard, std::chrono::milliseconds(5), answered);
    shared->waiting = false;
    return std::move(shared->answer);
}

} // namespace tunevane::files
