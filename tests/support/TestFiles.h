// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Files as the tests write and read them, header-only for the benchmarks and the corpus maker
// too. Names go through the program's own encoder, so an odd name reaches its very bytes.

#include "files/Path.h"

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// Writes `bytes` over the file, made if need be, and gives it exactly `mode`, whatever the
// umask; false when any step fails.
inline bool writeFile(const QString& path, const QByteArray& bytes, mode_t mode = 0644) {
    const int fd = ::open(tunevane::files::encodePath(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put <= 0)
            break;
        done += put;
    }
    const bool written = done == bytes.size() && ::fchmod(fd, mode) == 0;
    return ::close(fd) == 0 && written;
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QByteArray bytes;
    const int fd = ::open(tunevane::files::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    ::close(fd);
    return bytes;
}

} // namespace testsupport
