// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/Bounded.h"

#include <QFile>
#include <QSet>

#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace tunevane::files::bounded {

namespace {

struct Claims {
    std::mutex lock;
    QSet<QString> places;
};

// Never destroyed: a thread stuck on a dead mount may release its claim while the process
// ends.
Claims& claims() {
    static auto* const all = new Claims;
    return *all;
}

} // namespace

bool claim(const QString& place) {
    Claims& all = claims();
    const std::lock_guard guard(all.lock);
    if (all.places.contains(place))
        return false;
    all.places.insert(place);
    return true;
}

void release(const QString& place) {
    Claims& all = claims();
    const std::lock_guard guard(all.lock);
    all.places.remove(place);
}

bool startDetached(std::function<void()> work) {
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

int threadId() {
    return int(::syscall(SYS_gettid));
}

bool waitingOnKernel(int id) {
    if (id == 0)
        return false;
    // "TID (name) S …": the state follows the name's closing parenthesis. /proc never waits.
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(id));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.read(512);
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line[close + 2] != 'R';
}

} // namespace tunevane::files::bounded
