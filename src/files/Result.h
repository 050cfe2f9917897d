// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Lets a file read return its value or why it failed, in place of C++23's std::expected.

#include <QByteArray>
#include <QStringBuilder>

#include <cerrno>
#include <cstring>
#include <utility>
#include <variant>

namespace tunevane::files {

// The error side of an Expected, as std::unexpected wraps it.
template <typename E> struct Unexpected {
    explicit Unexpected(E why) : error(std::move(why)) {}
    E error;
};

// A value, or the reason there is none: std::expected as far as we need it, until C++23.
template <typename T, typename E> class Expected {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(Unexpected<E> failed) : m_state(std::in_place_index<1>, std::move(failed.error)) {}

    bool has_value() const { return m_state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& operator*() & { return *std::get_if<0>(&m_state); }
    const T& operator*() const& { return *std::get_if<0>(&m_state); }
    T&& operator*() && { return std::move(*std::get_if<0>(&m_state)); }
    T* operator->() { return std::get_if<0>(&m_state); }
    const T* operator->() const { return std::get_if<0>(&m_state); }

    const E& error() const { return *std::get_if<1>(&m_state); }

    // `next` of the value, or this reason again: each step of a read hands on the first fault.
    template <typename F> auto and_then(F&& next) const& -> decltype(next(**this)) {
        if (has_value())
            return next(**this);
        return Unexpected(error());
    }

private:
    std::variant<T, E> m_state;
};

// Why a file gave nothing to read. A call that failed keeps its error number, so that the
// log can say what the system said; the other kinds are faults of the file itself.
struct ReadError {
    enum class Kind {
        System,     // `error` is the errno of the call that failed
        NotRegular, // a folder, a pipe, a device
        TooLarge,   // over the reader's bound
        Damaged,    // bytes the reader cannot take; `detail` says where or what
    };
    Kind kind = Kind::System;
    int error = 0;
    QByteArray detail;

    static ReadError system(int error) { return {Kind::System, error, {}}; }
    static ReadError notRegular() { return {Kind::NotRegular, 0, "not a regular file"}; }
    static ReadError tooLarge(qint64 bound) {
        return {Kind::TooLarge, 0,
                QByteArrayLiteral("over ") + QByteArray::number(bound) + " bytes"};
    }
    static ReadError damaged(QByteArray what) { return {Kind::Damaged, 0, std::move(what)}; }

    // Most readers pass over a file that is simply not there without a word.
    bool missing() const { return kind == Kind::System && (error == ENOENT || error == ENOTDIR); }
    // As a log line gives it.
    QByteArray text() const {
        return kind == Kind::System ? QByteArray(std::strerror(error)) : detail;
    }
};

template <typename T> using Result = Expected<T, ReadError>;

} // namespace tunevane::files
