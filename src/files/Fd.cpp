// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/Fd.h"
#include "files/Path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>

namespace tunevane::files {

QByteArray descriptorPath(int fd) {
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
}

Result<Fd> openRegularFile(const QString& path) {
    if (path.isEmpty())
        return Unexpected(ReadError::system(ENOENT));
    // O_NONBLOCK so that a FIFO given as a file name cannot hang the player.
    Fd fd(::open(encodePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
        return Unexpected(ReadError::system(errno));
    if (!S_ISREG(st.st_mode))
        return Unexpected(ReadError::notRegular());
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int renameNoReplace(int fromFolder, const char* from, int toFolder, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0)
        return 0;
#else
    constexpr unsigned noReplace = 1U << 0;
    if (::syscall(SYS_renameat2, fromFolder, from, toFolder, to, noReplace) == 0)
        return 0;
#endif
    // Some filesystems do not know the flag; there a check just before the rename has to do.
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat st;
    if (::fstatat(toFolder, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(fromFolder, from, toFolder, to) == 0 ? 0 : errno;
}

} // namespace tunevane::files
