// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

// The input as a file, so that the whole open path runs, descriptor and all: a memory
// file, named through /proc so that no disk is touched.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_fd(memfd_create("fuzz", MFD_CLOEXEC)) {
        for (size_t done = 0; m_fd >= 0 && done < size;) {
            const ssize_t wrote = ::write(m_fd, data + done, size - done);
            if (wrote <= 0)
                break;
            done += size_t(wrote);
        }
    }
    ~FuzzInput() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;

    QString path() const { return QStringLiteral("/proc/self/fd/") + QString::number(m_fd); }

private:
    int m_fd;
};
