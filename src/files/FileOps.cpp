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
// Small enough that the disk writes one piece while the next is copied.
constexpr size_t kernelChunk = size_t(8) << 20;

std::function<void(const QString&)>& beforeReadHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

QByteArray shown(const QByteArray& path) {
    return readableName(decodeName(path)).toUtf8();
}

void logFailure(const char* step, const QByteArray& path, const char* why) {
    qCWarning(lcFiles, "%s %s: %s", step, shown(path).constData(), why);
}

void logError(const char* step, const QByteArray& path, int error) {
    logFailure(step, path, std::strerror(error));
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

// Only our own names, only plain files with no other name, and only those no copy holds.
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
            st.st_nlink != 1 || lockExclusive(temp.get()) != Lock::Held ||
            !stillNamed(folder, entry->d_name, temp.get()))
            continue;
        const QByteArray path = folderPath + '/' + entry->d_name;
        if (::unlinkat(folder, entry->d_name, 0) == 0)
            qCInfo(lcFiles, "removed %s, left by an interrupted copy", shown(path).constData());
        else
            logError("remove", path, errno);
    }
}

// Made with O_EXCL so that it never reuses a file that someone else owns.
std::optional<QByteArray> createTemporary(int folder, Fd& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName();
        // 0644 through the umask, like any new file; an existing destination's bits come later.
        fd.reset(openAtRetrying(folder, name.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0644));
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        switch (lockExclusive(fd.get())) {
        case Lock::Unsupported: // such a folder is never cleaned either
            return name;
        case Lock::Held:
            if (stillNamed(folder, name.constData(), fd.get()))
                return name;
            break;
        case Lock::Busy:
            break;
        }
        // Another copy's clean-up took it for a leftover in the instant before the lock.
        fd.reset();
    }
    errno = EEXIST;
    return std::nullopt;
}

struct AclFree {
    void operator()(acl_t acl) const { ::acl_free(acl); }
};
using Acl = std::unique_ptr<std::remove_pointer_t<acl_t>, AclFree>;

// The owning group's own bits in an access control list; where a file has a list, the mode's
// group bits are the list's mask, which may grant more.
mode_t owningGroupBits(acl_t acl) {
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl, which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t permissions;
        if (::acl_get_tag_type(entry, &tag) != 0 || tag != ACL_GROUP_OBJ ||
            ::acl_get_permset(entry, &permissions) != 0)
            continue;
        return (::acl_get_perm(permissions, ACL_READ) == 1 ? 040 : 0) |
               (::acl_get_perm(permissions, ACL_WRITE) == 1 ? 020 : 0) |
               (::acl_get_perm(permissions, ACL_EXECUTE) == 1 ? 010 : 0);
    }
    return 0;
}

// The old file's permission bits and, where it has one, its access control list. Read by path:
// unlike an open descriptor, that needs no read permission on the old file.
bool copyPermissions(int temp, const QByteArray& tempPath, const QByteArray& destination,
                     mode_t mode) {
    mode &= 0777;
    const Acl acl(::acl_get_file(destination.constData(), ACL_TYPE_ACCESS));
    if (!acl) {
        const int error = errno;
        // Without lists on this filesystem the mode says everything; otherwise a list we
        // cannot read might be one the mode would widen.
        if (error != ENOTSUP && error != ENOSYS) {
            logError("read the access list of", destination, error);
            return false;
        }
    } else if (::acl_equiv_mode(acl.get(), nullptr) == 1) {
        if (::acl_set_fd(temp, acl.get()) == 0)
            return true;
        logError("set the access list of", tempPath, errno);
        mode = (mode & ~mode_t(070)) | owningGroupBits(acl.get());
    }
    if (::fchmod(temp, mode) == 0)
        return true;
    logError("set the mode of", tempPath, errno);
    return false;
}

Failure replaceWith(int source, const struct stat& sourceAtOpen, const QByteArray& sourcePath,
                    const QByteArray& destination, const struct stat* existing) {
    const auto [folderPath, destinationName] = splitPath(destination);
    Fd folder(openRetrying(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        const int error = errno;
        return failed(destinationFailure(error), "open folder", folderPath, error);
    }
    removeStaleTemporaries(folder.get(), folderPath);

    Fd temp;
    const std::optional<QByteArray> tempName = createTemporary(folder.get(), temp);
    if (!tempName) {
        const int error = errno;
        return failed(destinationFailure(error), "create a temporary in", folderPath, error);
    }
    const QByteArray tempPath = folderPath + '/' + *tempName;
    // Closing the temporary is where some filesystems report late write errors; this second
    // descriptor keeps the lock until the temporary has its final name.
    const Fd lockHolder(::fcntl(temp.get(), F_DUPFD_CLOEXEC, 0));

    if (const auto& hook = beforeReadHook())
        hook(decodeName(sourcePath));
    off_t copied = 0;
    Failure failure = copyContents(source, temp.get(), sourcePath, tempPath, copied);
    if (failure == Failure::None)
        failure = sourceUnchanged(source, sourceAtOpen, copied, sourcePath);
    if (failure == Failure::None && existing) {
        struct stat mine;
        // Ownership is kept where we are allowed to keep it; root replacing a user's file
        // must not leave it owned by root. fchown may clear set-id bits, so it goes first.
        if (::fstat(temp.get(), &mine) == 0 &&
            (mine.st_uid != existing->st_uid || mine.st_gid != existing->st_gid)) {
            if (::fchown(temp.get(), existing->st_uid, existing->st_gid) != 0)
                (void)::fchown(temp.get(), static_cast<uid_t>(-1), existing->st_gid);
        }
        if (!copyPermissions(temp.get(), tempPath, destination, existing->st_mode))
            failure = Failure::Other;
    }
    if (failure == Failure::None && ::fsync(temp.get()) != 0) {
        const int error = errno;
        failure = failed(destinationFailure(error), "flush", tempPath, error);
    }
    if (!temp.close() && failure == Failure::None) {
        const int error = errno;
        failure = failed(destinationFailure(error), "close", tempPath, error);
    }
    if (failure == Failure::None && ::renameat(folder.get(), tempName->constData(), folder.get(),
                                               destinationName.constData()) != 0) {
        const int error = errno;
        failure = failed(destinationFailure(error), "rename a temporary over", destination, error);
    }
    if (failure != Failure::None) {
        ::unlinkat(folder.get(), tempName->constData(), 0);
        return failure;
    }
    // The file is in place either way; this only makes the new name survive a power cut.
    if (::fsync(folder.get()) != 0)
        logError("flush folder", folderPath, errno);
    return Failure::None;
}

} // namespace

Failure copyFileTo(const QString& source, const QString& destination) {
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

    struct stat existing;
    if (::stat(target->constData(), &existing) == 0) {
        if (existing.st_dev == sourceStat.st_dev && existing.st_ino == sourceStat.st_ino)
            return Failure::None;
        if (!S_ISREG(existing.st_mode)) {
            logFailure("replace", *target, "not a plain file");
            return Failure::Other;
        }
        // Mode bits, not access(): root may write anything, but the user protected this file.
        if ((existing.st_mode & 0222) == 0) {
            logFailure("replace", *target, "the file is read-only");
            return Failure::ReadOnly;
        }
        return replaceWith(in.get(), sourceStat, sourcePath, *target, &existing);
    }
    const int error = errno;
    if (error != ENOENT)
        return failed(destinationFailure(error), "replace", *target, error);
    return replaceWith(in.get(), sourceStat, sourcePath, *target, nullptr);
}

RunResult copyRun(const QList<CopyPair>& pairs) {
    RunResult run;
    for (const CopyPair& pair : pairs) {
        run.failure = copyFileTo(pair.source, pair.destination);
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

void setBeforeReadHook(std::function<void(const QString& source)> hook) {
    beforeReadHook() = std::move(hook);
}

} // namespace tunevane::files
