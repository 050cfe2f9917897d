// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Lets worker threads post calls to an object that may already be gone.

#include <QMetaObject>
#include <QObject>

#include <mutex>
#include <utility>

namespace tunevane::files {

// An object that other threads may post calls to while it lives. Its owner detaches it before
// it dies; a post after that is dropped, and Qt drops one still queued when it dies.
class LiveTarget {
public:
    explicit LiveTarget(QObject* target) : m_target(target) {}

    // Runs `call` on the target's thread, unless the target was detached.
    template <class Call> void post(Call&& call) {
        const std::lock_guard guard(m_lock);
        if (m_target)
            QMetaObject::invokeMethod(m_target, std::forward<Call>(call), Qt::QueuedConnection);
    }
    void detach() {
        const std::lock_guard guard(m_lock);
        m_target = nullptr;
    }

private:
    std::mutex m_lock;
    QObject* m_target;
};

} // namespace tunevane::files
