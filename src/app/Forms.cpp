#include "app/Forms.h"

#include "app/App.h"

namespace tunevane {

void Forms::unload(Form& form) {
    for (auto it = m_loaded.begin(); it != m_loaded.end(); ++it) {
        if (it->second != &form)
            continue;
        m_loaded.erase(it);
        form.unloadSteps();
        form.hide();
        form.deleteLater();
        m_app.endIfNoWindowLeft();
        return;
    }
}

void Forms::discardAll() {
    auto loaded = std::exchange(m_loaded, {});
    for (auto& [kind, form] : loaded) {
        if (form) {
            form->hide();
            form->deleteLater();
        }
    }
}

Forms::~Forms() {
    // No event loop is left to run a deferred delete.
    for (auto& [kind, form] : std::exchange(m_loaded, {}))
        delete form.data();
}

namespace {

// Filled while the program's statics are made, before main(); read-only after.
std::vector<Forms::Kind>& kinds() {
    static std::vector<Forms::Kind> known;
    return known;
}

} // namespace

bool Forms::know(std::type_index type, Form* (*make)(App&)) {
    kinds().push_back({type, make});
    return true;
}

std::span<const Forms::Kind> Forms::knownKinds() {
    return kinds();
}

bool Forms::empty() const {
    return m_loaded.empty();
}

} // namespace tunevane
