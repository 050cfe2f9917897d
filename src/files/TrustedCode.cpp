// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/TrustedCode.h"
#include "files/Log.h"
#include "files/Path.h"

#include <acl/libacl.h>
#include <sys/acl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane::files {

namespace {

bool trustedOwner(uid_t uid) {
    return uid == 0 || uid == ::geteuid();
}

// Any entry that lets another user or a group write, whatever the mask says now: the mask is
// one chmod away.
bool listLetsOthersWrite(int fd) {
    const std::unique_ptr<std::remove_pointer_t<acl_t>, int (*)(void*)> acl(
        ::acl_get_file(descriptorPath(fd).constData(), ACL_TYPE_ACCESS), ::acl_free);
    if (!acl)
        return false; // no lists here: the mode says everything
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl.get(), which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t permissions;
        if (::acl_get_tag_type(entry, &tag) != 0 || ::acl_get_permset(entry, &permissions) != 0 ||
            ::acl_get_perm(permissions, ACL_WRITE) != 1)
            continue;
        if (tag == ACL_GROUP || tag == ACL_GROUP_OBJ)
            return true;
        if (tag == ACL_USER) {
            const auto* uid = static_cast<const uid_t*>(::acl_get_qualifier(entry));
            const bool other = !uid || !trustedOwner(*uid);
            ::acl_free(const_cast<uid_t*>(uid));
            if (other)
                return true;
        }
    }
    return false;
}

bool closed(int fd, const QByteArray& path, bool folder) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        logError("code in", path, errno);
        return false;
    }
    const bool kind = folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    const bool sticky = folder && (st.st_mode & S_ISVTX) != 0;
    const bool othersWrite =
        !sticky && ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || listLetsOthersWrite(fd));
    if (trustedOwner(st.st_uid) && kind && !othersWrite)
        return true;
    qCWarning(lcFiles, "refusing code in %s: owned by user %u, mode %o%s", shown(path).constData(),
              unsigned(st.st_uid), unsigned(st.st_mode & 07777),
              othersWrite ? ", others may write" : "");
    return false;
}

} // namespace

std::optional<Fd> openTrustedCode(const QString& path) {
    const QByteArray asked = encodePath(path);
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(asked.constData(), nullptr),
                                                           &std::free);
    if (!real) {
        logError("code in", asked, errno);
        return std::nullopt;
    }
    // Down from "/" one name at a time, never through a link: a folder swapped for a link
    // after realpath() looked ends the walk.
    const QByteArray file(real.get());
    QByteArray walked = "/";
    Fd folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        logError("code in", walked, errno);
        return std::nullopt;
    }
    if (!closed(folder.get(), walked, true))
        return std::nullopt;
    const QList<QByteArray> names = file.mid(1).split('/');
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        walked += (i == 0 ? "" : "/") + names[i];
        Fd next(::openat(folder.get(), names[i].constData(),
                         (last ? O_RDONLY | O_NONBLOCK : O_PATH | O_DIRECTORY) | O_NOFOLLOW |
                             O_CLOEXEC));
        if (!next.valid()) {
            logError("code in", walked, errno);
            return std::nullopt;
        }
        if (!closed(next.get(), walked, !last))
            return std::nullopt;
        folder = std::move(next);
    }
    return folder;
}

} // namespace tunevane::files
