// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Forms.h"

#include "app/App.h"

#include <algorithm>

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

bool Forms::isKnown(std::type_index type) const {
    return m_kinds.empty() ||
           std::ranges::any_of(m_kinds, [type](const Kind& kind) { return kind.type == type; });
}

bool Forms::empty() const {
    return m_loaded.empty();
}

} // namespace tunevane
