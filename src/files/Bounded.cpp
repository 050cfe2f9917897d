#include "files/Bounded.h"

#include <QSet>

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

} // namespace tunevane::files::bounded
