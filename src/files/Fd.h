// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Owned file descriptors, and safe ways to open a file, name it by descriptor, rename it.

#include "files/Result.h"

#include <QString>
#include <unistd.h>
#include <utility>

namespace tunevane::files {

// Owns one file descriptor and closes it once.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        reset(std::exchange(other.m_fd, -1));
        return *this;
    }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Linux releases the descriptor even when close fails, so it is never retried.
    bool close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }
    void reset(int fd = -1) {
        close();
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// The name under which the kernel reaches an open file, "/proc/self/fd/N": what it names
// cannot be swapped, and using it needs no permission on the file itself.
QByteArray descriptorPath(int fd);

// Opens a regular file for reading without blocking on FIFOs or devices.
Result<Fd> openRegularFile(const QString& path);

// Renames `from` in one folder to `to` in another (AT_FDCWD for the current one), but never
// over anything already named `to`. 0, or the error number: EEXIST when `to` is taken.
int renameNoReplace(int fromFolder, const char* from, int toFolder, const char* to);

} // namespace tunevane::files
