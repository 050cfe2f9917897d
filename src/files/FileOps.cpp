// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/FileOps.h"
#include "files/Fd.h"
#include "files/Log.h"
#include "files/Path.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <acl/libacl.h>
#include <sys/acl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <type_traits>
#include <unistd.h>
#include <utility>

namespace tunevane::files {

namespace {

constexpr std::string_view tempPrefix = ".tunevane-";
constexpr std::string_view tempSuffix = ".part";
constexpr int tempRandomLength = 6;
constexpr std::string_view tempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Set on a named temporary when it is made, and taken off once it has its final name: only a
// file that carries it is ever removed as a leftover.
constexpr char tempMark[] = "user.tunevane.temporary";
// Small enough that the disk writes one piece while the next is copied.
constexpr size_t kernelChunk = size_t(8) << 20;
// Two pieces of this size stay in a core's cache while they are compared.
constexpr size_t compareChunk = size_t(128) << 10;

CopyHooks& hooks() {
    static CopyHooks installed;
    return installed;
}

void logFailure(const char* step, const QByteArray& path, const char* why) {
    qCWarning(lcFiles, "%s %s: %s", step, shown(path).constData(), why);
}

// Takes the error number as an argument so that it is read before anything else can change it.
Failure failed(Failure why, const char* step, const QByteArray& path, int error) {
    logError(step, path, error);
    return why;
}

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openAtRetrying(int folder, const char* name, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::openat(folder, name, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Errors that only say the kernel cannot copy between these two files; plain reads and
// writes still can.
bool kernelCopyUnsupported(int error) {
    switch (error) {
    case EXDEV:
    case ENOSYS:
    case EOPNOTSUPP:
    case EINVAL:
    case EBADF:
    case EPERM:
    case ETXTBSY:
    case ENOTTY:
        return true;
    default:
        return false;
    }
}

// Copies from the current offsets to the end of the source, counting the bytes in `copied`.
Failure copyContents(int from, int to, const QByteArray& sourcePath, const QByteArray& tempPath,
                     off_t& copied) {
    copied = 0;
    // In the kernel first, as cp does: no trip through user memory, and a shared extent where
    // the filesystem offers one.
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, kernelChunk, 0);
        if (n > 0) {
            // Writing back now, not at the final fsync, overlaps the disk with the copy.
            (void)::sync_file_range(to, copied, n, SYNC_FILE_RANGE_WRITE);
            copied += n;
            continue;
        }
        // 0 is the end, or a file whose size the kernel does not know (procfs): read tells.
        if (n == 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (kernelCopyUnsupported(error))
            break;
        qCWarning(lcFiles, "copy %s to %s: %s", shown(sourcePath).constData(),
                  shown(tempPath).constData(), std::strerror(error));
        // The kernel does not say which side failed; only a full disk is certain.
        return isDiskFull(error) ? Failure::DiskFull : Failure::Other;
    }
    std::array<char, 256 * 1024> buffer;
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            return failed(Failure::SourceUnreadable, "read", sourcePath, error);
        }
        if (n == 0)
            return Failure::None;
        if (!writeAll(to, buffer.data(), static_cast<size_t>(n))) {
            const int error = errno;
            return failed(destinationFailure(error), "write", tempPath, error);
        }
        copied += n;
    }
}

// Fills `buffer` from `offset` on, short only at the end of the file; -1 with errno on error.
ssize_t readAt(int fd, char* buffer, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += size_t(n);
    }
    return ssize_t(done);
}

// Reads the source a second time, through an open of its own (on FUSE a new open drops what
// the kernel cached of the file), and compares it with what was written. On a file system
// whose times are too coarse to show a rewrite (sshfs), only the bytes can.
Failure sameBytes(int source, int temp, const QByteArray& sourcePath, const QByteArray& tempPath) {
    const Fd again(
        openRetrying(descriptorPath(source).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    const int reread = again.valid() ? again.get() : source;
    const std::unique_ptr<char[]> written(new char[compareChunk]);
    const std::unique_ptr<char[]> read(new char[compareChunk]);
    for (off_t offset = 0;;) {
        const ssize_t mine = readAt(temp, written.get(), compareChunk, offset);
        if (mine < 0) {
            const int error = errno;
            return failed(Failure::Other, "read back", tempPath, error);
        }
        const ssize_t theirs = readAt(reread, read.get(), compareChunk, offset);
        if (theirs < 0) {
            const int error = errno;
            return failed(Failure::SourceUnreadable, "read again", sourcePath, error);
        }
        if (mine != theirs || std::memcmp(written.get(), read.get(), size_t(mine)) != 0) {
            qCWarning(lcFiles, "copy %s: the source's bytes changed while it was read",
                      shown(sourcePath).constData());
            return Failure::SourceChanged;
        }
        if (mine == 0)
            return Failure::None;
        offset += mine;
    }
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A source still being written (a download, a flaky share) would otherwise pass as whole.
// The change time, unlike the modification time, cannot be set back by the writer.
Failure sourceUnchanged(int source, const struct stat& atOpen, off_t copied,
                        const QByteArray& sourcePath) {
    struct stat atEnd;
    if (::fstat(source, &atEnd) != 0) {
        const int error = errno;
        return failed(Failure::SourceUnreadable, "stat", sourcePath, error);
    }
    if (copied == atOpen.st_size && atEnd.st_size == atOpen.st_size &&
        sameTime(atEnd.st_mtim, atOpen.st_mtim) && sameTime(atEnd.st_ctim, atOpen.st_ctim))
        return Failure::None;
    qCWarning(lcFiles,
              "copy %s: the source changed while it was read (%lld bytes at the start, "
              "%lld read, %lld at the end)",
              shown(sourcePath).constData(), static_cast<long long>(atOpen.st_size),
              static_cast<long long>(copied), static_cast<long long>(atEnd.st_size));
    return Failure::SourceChanged;
}

std::pair<QByteArray, QByteArray> splitPath(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), path};
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

// The rename must land on the file a link points to, or it would replace the link itself.
std::optional<QByteArray> resolveLinks(QByteArray path) {
    constexpr int maxHops = 40; // the kernel's own limit
    for (int hop = 0; hop < maxHops; ++hop) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path; // a missing final name is a new file; other faults surface later
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), target.size());
        if (n <= 0 || n >= target.size()) {
            logError("read link", path, n < 0 ? errno : ENAMETOOLONG);
            return std::nullopt;
        }
        target.truncate(n);
        path = target.startsWith('/') ? target : splitPath(path).first + '/' + target;
    }
    logError("follow links to", path, ELOOP);
    return std::nullopt;
}

bool isTemporaryBytes(std::string_view name) {
    if (name.size() != tempPrefix.size() + tempRandomLength + tempSuffix.size() ||
        !name.starts_with(tempPrefix) || !name.ends_with(tempSuffix))
        return false;
    const std::string_view random = name.substr(tempPrefix.size(), tempRandomLength);
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return tempAlphabet.find(c) != std::string_view::npos; });
}

QByteArray temporaryName() {
    QByteArray name(tempPrefix.data(), tempPrefix.size());
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < tempRandomLength; ++i)
        name += tempAlphabet[random->bounded(int(tempAlphabet.size()))];
    return name + QByteArray(tempSuffix.data(), tempSuffix.size());
}

// A copy holds this lock on its temporary for its whole life, and the kernel drops it with
// the process, so an unlocked temporary is a leftover.
enum class Lock { Held, Busy, Unsupported };

Lock lockExclusive(int fd) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return Lock::Held;
    return errno == EWOULDBLOCK ? Lock::Busy : Lock::Unsupported;
}

bool stillNamed(int folder, const char* name, int fd) {
    struct stat byName;
    struct stat byFd;
    return ::fstatat(folder, name, &byName, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &byFd) == 0 &&
           byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

// Without the mark a leftover can never be told from a user's file, and a kill may leave it:
// worth a note in the log, not a failure.
void markAsTemporary(int fd, const QByteArray& path) {
    if (::fsetxattr(fd, tempMark, "1", 1, XATTR_CREATE) != 0)
        qCInfo(lcFiles, "mark %s as temporary: %s", shown(path).constData(), std::strerror(errno));
}

bool carriesMark(int fd) {
    return ::fgetxattr(fd, tempMark, nullptr, 0) >= 0;
}

// Only our own names, only plain files with no other name that carry our mark, and only those
// no copy holds: a file the user happened to name like ours stays.
void removeStaleTemporaries(int folder, const QByteArray& folderPath) {
    const int listingFd = openAtRetrying(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) {
        logError("list", folderPath, errno);
        return;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::fdopendir(listingFd), ::closedir);
    if (!listing) {
        logError("list", folderPath, errno);
        ::close(listingFd);
        return;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        if (!isTemporaryBytes(entry->d_name))
            continue;
        Fd temp(openAtRetrying(folder, entry->d_name,
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st;
        if (!temp.valid() || ::fstat(temp.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_nlink != 1 || !carriesMark(temp.get()) ||
            lockExclusive(temp.get()) != Lock::Held ||
            !stillNamed(folder, entry->d_name, temp.get()))
            continue;
        const QByteArray path = folderPath + '/' + entry->d_name;
        if (::unlinkat(folder, entry->d_name, 0) == 0)
            qCInfo(lcFiles, "removed %s, left by an interrupted copy", shown(path).constData());
        else
            logError("remove", path, errno);
    }
}

// Where the new bytes are written. Unnamed until it is complete where the file system has
// such files; otherwise, and for a moment before the final rename, under a temporary name.
struct Temporary {
    Fd fd;
    // Closing a named temporary is where some file systems report late write errors; this
    // second descriptor keeps the lock, and the file, until it has its final name.
    Fd holder;
    QByteArray name;
    dev_t device = 0;
    ino_t inode = 0;
};

// Made with O_EXCL so that it never reuses a file that someone else owns.
bool createNamed(int folder, mode_t mode, Temporary& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName();
        temp.fd.reset(openAtRetrying(folder, name.constData(),
                                     O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode));
        if (!temp.fd.valid()) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        markAsTemporary(temp.fd.get(), name);
        switch (lockExclusive(temp.fd.get())) {
        case Lock::Unsupported: // such a folder is never cleaned either
            temp.name = name;
            return true;
        case Lock::Held:
            if (stillNamed(folder, name.constData(), temp.fd.get())) {
                temp.name = name;
                return true;
            }
            break;
        case Lock::Busy:
            break;
        }
        // Another copy's clean-up took it for a leftover in the instant before the lock.
        temp.fd.reset();
    }
    errno = EEXIST;
    return false;
}

// `mode` is what the file may grant while it is written, before the umask or a folder's
// default access list; false with errno when no temporary can be made.
bool createTemporary(int folder, mode_t mode, Temporary& temp) {
    if (!hooks().namedTemporaries) {
        temp.fd.reset(openAtRetrying(folder, ".", O_TMPFILE | O_RDWR | O_NOCTTY | O_CLOEXEC, mode));
        // EISDIR and EOPNOTSUPP say the kernel or the file system has no unnamed files.
        if (!temp.fd.valid() && errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL)
            return false;
    }
    if (!temp.fd.valid() && !createNamed(folder, mode, temp))
        return false;
    // Held as long as the file may carry a temporary name, so that no clean-up takes it.
    if (temp.name.isEmpty())
        (void)lockExclusive(temp.fd.get());
    temp.holder.reset(::fcntl(temp.fd.get(), F_DUPFD_CLOEXEC, 0));
    struct stat st;
    if (::fstat(temp.fd.get(), &st) == 0) {
        temp.device = st.st_dev;
        temp.inode = st.st_ino;
    }
    return true;
}

// Removes the temporary's name, and only while that name is still the temporary.
void removeTemporary(int folder, const QByteArray& folderPath, const Temporary& temp) {
    struct stat st;
    if (temp.name.isEmpty() ||
        ::fstatat(folder, temp.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        st.st_dev != temp.device || st.st_ino != temp.inode)
        return;
    if (::unlinkat(folder, temp.name.constData(), 0) != 0)
        logError("remove", folderPath + '/' + temp.name, errno);
}

struct AclFree {
    void operator()(acl_t acl) const { ::acl_free(acl); }
};
using Acl = std::unique_ptr<std::remove_pointer_t<acl_t>, AclFree>;

bool hasAccessLists(int error) {
    return error != ENOTSUP && error != ENOSYS;
}

mode_t bitsOf(acl_entry_t entry) {
    acl_permset_t permissions;
    if (::acl_get_permset(entry, &permissions) != 0)
        return 0;
    return (::acl_get_perm(permissions, ACL_READ) == 1 ? 4 : 0) |
           (::acl_get_perm(permissions, ACL_WRITE) == 1 ? 2 : 0) |
           (::acl_get_perm(permissions, ACL_EXECUTE) == 1 ? 1 : 0);
}

// What the owning group may really do under an access list: its own entry as the mask
// limits it. The mode's group bits show the mask, which may grant more.
mode_t effectiveGroupBits(acl_t acl) {
    mode_t group = 0;
    mode_t mask = 07;
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl, which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        if (::acl_get_tag_type(entry, &tag) != 0)
            continue;
        if (tag == ACL_GROUP_OBJ)
            group = bitsOf(entry);
        else if (tag == ACL_MASK)
            mask = bitsOf(entry);
    }
    return (group & mask) << 3;
}

// The owning group's entry grants nothing: for a file whose group could not be kept.
void clearOwningGroup(acl_t acl) {
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl, which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t permissions;
        if (::acl_get_tag_type(entry, &tag) == 0 && tag == ACL_GROUP_OBJ &&
            ::acl_get_permset(entry, &permissions) == 0) {
            ::acl_clear_perms(permissions);
            ::acl_set_permset(entry, permissions);
        }
    }
}

// A folder's default list gives a new file entries of its own, which a chmod leaves in place.
bool dropInheritedList(int temp, mode_t mode, const QByteArray& tempPath) {
    const Acl inherited(::acl_get_fd(temp));
    if (!inherited || ::acl_equiv_mode(inherited.get(), nullptr) != 1)
        return true;
    const Acl plain(::acl_from_mode(mode));
    if (!hooks().accessListsRefused && plain && ::acl_set_fd(temp, plain.get()) == 0)
        return true;
    logFailure("set the access list of", tempPath, "a list the folder gave it is left");
    return false;
}

// The old file's owner and group where they can be kept, and its access or less: its whole
// access list where it has one, else its mode; never what the folder's default list gave the
// temporary. `old` is the old file, opened through the folder the rename uses.
bool giveOldAccess(int temp, int old, const struct stat& oldStat, const QByteArray& tempPath,
                   const QByteArray& destination) {
    struct stat mine;
    if (::fstat(temp, &mine) != 0) {
        logError("stat", tempPath, errno);
        return false;
    }
    // Root replacing a user's file must not leave it owned by root. fchown may clear set-id
    // bits, so it goes first.
    bool groupKept = mine.st_gid == oldStat.st_gid;
    if (mine.st_uid != oldStat.st_uid || !groupKept) {
        groupKept = ::fchown(temp, oldStat.st_uid, oldStat.st_gid) == 0 ||
                    ::fchown(temp, static_cast<uid_t>(-1), oldStat.st_gid) == 0;
    }
    mode_t mode = oldStat.st_mode & 0777;
    // Read by the descriptor's path: unlike the descriptor, that needs no read permission.
    Acl acl(::acl_get_file(descriptorPath(old).constData(), ACL_TYPE_ACCESS));
    if (!acl && hasAccessLists(errno)) {
        // A list we cannot read might be one the mode would widen.
        logError("read the access list of", destination, errno);
        return false;
    }
    const bool extended = acl && ::acl_equiv_mode(acl.get(), nullptr) == 1;
    if (!groupKept) {
        // The group bits would otherwise go to whatever group the copy was given.
        qCWarning(lcFiles, "replace %s: its group %u cannot be kept, so the group gets no access",
                  shown(destination).constData(), unsigned(oldStat.st_gid));
        mode &= ~mode_t(070);
        if (extended)
            clearOwningGroup(acl.get());
    }
    if (extended) {
        const int error = hooks().accessListsRefused           ? EPERM
                          : ::acl_set_fd(temp, acl.get()) == 0 ? 0
                                                               : errno;
        if (error == 0)
            return true;
        if (hasAccessLists(error))
            logError("set the access list of", tempPath, error);
        // The named entries are lost; the owning group gets what the list really gave it.
        mode = (mode & ~mode_t(070)) | (groupKept ? effectiveGroupBits(acl.get()) : 0);
    }
    // The mode itself, not a list that stands for it: some FUSE file systems take a list and
    // leave the mode as it was.
    if (::fchmod(temp, mode) != 0) {
        logError("set the mode of", tempPath, errno);
        return false;
    }
    return dropInheritedList(temp, mode, tempPath);
}

// Gives the finished temporary the destination's name: over the old file, or, with
// Existing::Keep, only where no file has that name.
Failure putInPlace(int folder, const QByteArray& folderPath, Temporary& temp,
                   const QByteArray& destination, const QByteArray& name, Existing existing) {
    const bool keep = existing == Existing::Keep;
    if (temp.name.isEmpty()) {
        // An unnamed file gets a name by linking it; a link never replaces anything.
        const QByteArray linked = keep ? name : temporaryName();
        if (!keep)
            markAsTemporary(temp.fd.get(), folderPath + '/' + linked);
        if (::linkat(AT_FDCWD, descriptorPath(temp.fd.get()).constData(), folder,
                     linked.constData(), AT_SYMLINK_FOLLOW) != 0) {
            const int error = errno;
            if (error == EEXIST && keep)
                return failed(Failure::AlreadyThere, "copy to", destination, error);
            return failed(destinationFailure(error), "name a copy in", folderPath, error);
        }
        if (keep)
            return Failure::None;
        temp.name = linked;
    }
    const int error =
        keep ? renameNoReplace(folder, temp.name.constData(), folder, name.constData())
             : (::renameat(folder, temp.name.constData(), folder, name.constData()) == 0 ? 0
                                                                                         : errno);
    if (error == 0) {
        // Taken off only now: a kill before the rename leaves a temporary that the next copy
        // knows as ours. One after it leaves the mark on a file that no clean-up looks at.
        (void)::fremovexattr(temp.holder.get(), tempMark);
        return Failure::None;
    }
    if (error == EEXIST && keep)
        return failed(Failure::AlreadyThere, "copy to", destination, error);
    return failed(destinationFailure(error), "rename a temporary over", destination, error);
}

// Looks at what stands at the destination, through the folder the rename uses; `old` is left
// invalid where nothing does. An answer ends the copy there: a refusal, or success for the
// source itself.
std::optional<Failure> findOld(int folder, const QByteArray& name, const QByteArray& destination,
                               const struct stat& source, Existing existing, Fd& old,
                               struct stat& oldStat) {
    old.reset(openAtRetrying(folder, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!old.valid() || ::fstat(old.get(), &oldStat) != 0) {
        const int error = errno;
        if (error == ENOENT && !old.valid())
            return std::nullopt;
        return failed(destinationFailure(error), "replace", destination, error);
    }
    if (oldStat.st_dev == source.st_dev && oldStat.st_ino == source.st_ino)
        return Failure::None;
    if (!S_ISREG(oldStat.st_mode)) {
        logFailure("replace", destination, "not a plain file");
        return Failure::Other;
    }
    if (existing == Existing::Keep) {
        logFailure("copy to", destination, "a file of that name is there already");
        return Failure::AlreadyThere;
    }
    // Mode bits, not access(): root may write anything, but the user protected this file.
    if ((oldStat.st_mode & 0222) == 0) {
        logFailure("replace", destination, "the file is read-only");
        return Failure::ReadOnly;
    }
    return std::nullopt;
}

Failure replaceWith(int source, const struct stat& sourceAtOpen, const QByteArray& sourcePath,
                    const QByteArray& destination, Existing existing) {
    const auto [folderPath, destinationName] = splitPath(destination);
    Fd folder(openRetrying(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        const int error = errno;
        return failed(destinationFailure(error), "open folder", folderPath, error);
    }
    Fd old;
    struct stat oldStat {};
    if (const std::optional<Failure> answer = findOld(folder.get(), destinationName, destination,
                                                      sourceAtOpen, existing, old, oldStat))
        return *answer;
    removeStaleTemporaries(folder.get(), folderPath);

    Temporary temp;
    // A replacement grants no one but its owner anything until it has the old file's access.
    if (!createTemporary(folder.get(), old.valid() ? 0600 : 0644, temp)) {
        const int error = errno;
        return failed(destinationFailure(error), "create a temporary in", folderPath, error);
    }
    const QByteArray tempPath =
        folderPath + '/' + (temp.name.isEmpty() ? QByteArrayLiteral("(unnamed)") : temp.name);

    if (hooks().beforeRead)
        hooks().beforeRead(decodeName(sourcePath));
    off_t copied = 0;
    Failure failure = copyContents(source, temp.fd.get(), sourcePath, tempPath, copied);
    if (failure == Failure::None && hooks().afterRead)
        hooks().afterRead(decodeName(sourcePath));
    if (failure == Failure::None)
        failure = sameBytes(source, temp.fd.get(), sourcePath, tempPath);
    if (failure == Failure::None && hooks().afterCheck)
        hooks().afterCheck(decodeName(sourcePath));
    if (failure == Failure::None)
        failure = sourceUnchanged(source, sourceAtOpen, copied, sourcePath);
    if (failure == Failure::None && old.valid() &&
        !giveOldAccess(temp.fd.get(), old.get(), oldStat, tempPath, destination))
        failure = Failure::Other;
    if (failure == Failure::None && ::fsync(temp.fd.get()) != 0) {
        const int error = errno;
        failure = failed(destinationFailure(error), "flush", tempPath, error);
    }
    // Closing an unnamed file would lose it; only a named one is closed before its rename.
    if (!temp.name.isEmpty() && !temp.fd.close() && failure == Failure::None) {
        const int error = errno;
        failure = failed(destinationFailure(error), "close", tempPath, error);
    }
    if (failure == Failure::None)
        failure =
            putInPlace(folder.get(), folderPath, temp, destination, destinationName, existing);
    if (failure != Failure::None) {
        removeTemporary(folder.get(), folderPath, temp);
        return failure;
    }
    // The file is in place either way; this only makes the new name survive a power cut.
    if (::fsync(folder.get()) != 0)
        logError("flush folder", folderPath, errno);
    return Failure::None;
}

} // namespace

Failure copyFileTo(const QString& source, const QString& destination, Existing existing) {
    if (source.isEmpty() || destination.isEmpty()) {
        qCWarning(lcFiles, "copy %s to %s: a path is empty", qUtf8Printable(readableName(source)),
                  qUtf8Printable(readableName(destination)));
        return source.isEmpty() ? Failure::NoSource : Failure::NoDestination;
    }
    // A NUL would cut the encoded path short and name another file.
    if (source.contains(QChar(0)) || destination.contains(QChar(0))) {
        qCWarning(lcFiles, "copy %s to %s: a path holds a NUL",
                  qUtf8Printable(readableName(source)), qUtf8Printable(readableName(destination)));
        return Failure::Other;
    }

    const std::optional<QByteArray> target = resolveLinks(encodePath(destination));
    if (!target)
        return Failure::Other;
    if (target->endsWith('/'))
        return failed(Failure::Other, "copy to", *target, EISDIR);

    // O_NONBLOCK keeps a FIFO from hanging the open; it means nothing for a regular file.
    const QByteArray sourcePath = encodePath(source);
    Fd in(openRetrying(sourcePath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat sourceStat;
    if (!in.valid() || ::fstat(in.get(), &sourceStat) != 0) {
        const int error = errno;
        return failed(sourceFailure(error), "open", sourcePath, error);
    }
    if (!S_ISREG(sourceStat.st_mode)) {
        logFailure("copy", sourcePath, "not a plain file");
        return Failure::SourceUnreadable;
    }
    return replaceWith(in.get(), sourceStat, sourcePath, *target, existing);
}

RunResult copyRun(const QList<CopyPair>& pairs, Existing existing) {
    RunResult run;
    for (const CopyPair& pair : pairs) {
        run.failure = copyFileTo(pair.source, pair.destination, existing);
        if (run.failure != Failure::None) {
            qCWarning(lcFiles, "copy run stopped at pair %lld of %lld",
                      static_cast<long long>(run.copied + 1), static_cast<long long>(pairs.size()));
            break;
        }
        ++run.copied;
    }
    return run;
}

bool isTemporaryName(const QString& fileName) {
    for (const QChar c : fileName) {
        if (c.unicode() >= 128)
            return false;
    }
    const QByteArray bytes = fileName.toLatin1();
    return isTemporaryBytes(std::string_view(bytes.constData(), size_t(bytes.size())));
}

void setCopyHooks(CopyHooks installed) {
    hooks() = std::move(installed);
}

} // namespace tunevane::files
