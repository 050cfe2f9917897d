// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The registry that keeps at most one window per kind and loads, switches and unloads them.

#include "app/Form.h"

#include <QPointer>
#include <map>
#include <span>
#include <typeindex>

namespace tunevane {

class App;

// One instance at most per window kind; reaching a kind that is not loaded loads it, hidden.
class Forms {
public:
    explicit Forms(App& app) : m_app(app) {}
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;
    ~Forms();

    template <class T> T& get() {
        Q_ASSERT_X(isKnown(typeid(T)), "Forms::get", "a window kind missing from windowKinds()");
        if (T* form = find<T>())
            return *form;
        auto* form = new T(m_app);
        m_loaded[std::type_index(typeid(T))] = form;
        form->loadSteps();
        return *form;
    }

    template <class T> T* find() const {
        auto it = m_loaded.find(std::type_index(typeid(T)));
        return it == m_loaded.end() ? nullptr : static_cast<T*>(it->second.data());
    }

    // Leaves `current` for good (hide, unload) and shows the window of kind T, modeless.
    template <class T> T& moveOn(Form& current) {
        current.hide();
        unload(current);
        T& next = get<T>();
        next.showModeless();
        return next;
    }

    template <class T> bool isLoaded() const { return find<T>() != nullptr; }

    template <class T> void unload() {
        if (T* form = find<T>())
            unload(*form);
    }

    // Runs the unload steps, forgets the instance at once and deletes it later, so a handler
    // may unload its own window.
    void unload(Form& form);

    // Ending the program: every window goes, and no unload step runs.
    void discardAll();

    bool empty() const;

    struct Kind {
        std::type_index type;
        Form* (*make)(App&); // a new window of the kind, without its load steps
    };
    template <class T> static Kind kind() {
        return {typeid(T), [](App& app) -> Form* { return new T(app); }};
    }
    // The program's window kinds, handed over by the layer that composes the program; from
    // then on, loading a kind that is not among them is a mistake that debug builds stop at.
    void know(std::span<const Kind> kinds) { m_kinds = kinds; }

private:
    bool isKnown(std::type_index type) const;

    App& m_app;
    std::map<std::type_index, QPointer<Form>> m_loaded;
    std::span<const Kind> m_kinds;
};

} // namespace tunevane
