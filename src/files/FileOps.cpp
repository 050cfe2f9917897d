#include "files/FileOps.h"
#include "files/Fd.h"
#include "files/Path.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tunevane::files {

namespace {

constexpr QLatin1StringView tempPrefix{".tunevane-"};
constexpr QLatin1StringView tempSuffix{".part"};
constexpr int tempRandomLength = 6;
constexpr std::string_view tempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Owns a descriptor so that every early return closes it.

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
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
        if (n == 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool copyContents(int from, int to) {
    std::array<char, 256 * 1024> buffer;
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        if (!writeAll(to, buffer.data(), static_cast<size_t>(n)))
            return false;
    }
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
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
        if (n <= 0 || n >= target.size())
            return std::nullopt;
        target.truncate(n);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return std::nullopt;
}

QByteArray temporaryName() {
    QByteArray name(tempPrefix.data(), tempPrefix.size());
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < tempRandomLength; ++i)
        name += tempAlphabet[random->bounded(int(tempAlphabet.size()))];
    return name + QByteArray(tempSuffix.data(), tempSuffix.size());
}

// Made with O_EXCL so that it never reuses a file that someone else owns.
std::optional<QByteArray> createTemporary(const QByteArray& folder, Fd& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray path = folder + '/' + temporaryName();
        // 0644 through the umask, like any new file; an existing destination's bits come later.
        fd.reset(openRetrying(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (fd.valid())
            return path;
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

void syncFolder(const QByteArray& folder) {
    Fd fd(openRetrying(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

bool replaceWith(int source, const QByteArray& destination, const struct stat* existing) {
    const QByteArray folder = folderOf(destination);
    Fd temp;
    const std::optional<QByteArray> tempPath = createTemporary(folder, temp);
    if (!tempPath)
        return false;

    bool ok = copyContents(source, temp.get());
    if (ok && existing) {
        struct stat mine;
        // Ownership is kept where we are allowed to keep it; root replacing a user's file
        // must not leave it owned by root. fchown may clear set-id bits, so it goes first.
        if (::fstat(temp.get(), &mine) == 0 &&
            (mine.st_uid != existing->st_uid || mine.st_gid != existing->st_gid)) {
            if (::fchown(temp.get(), existing->st_uid, existing->st_gid) != 0)
                (void)::fchown(temp.get(), static_cast<uid_t>(-1), existing->st_gid);
        }
        ok = ::fchmod(temp.get(), existing->st_mode & 0777) == 0;
    }
    ok = ok && ::fsync(temp.get()) == 0;
    ok = temp.close() && ok; // late write errors show up here on some filesystems
    ok = ok && ::rename(tempPath->constData(), destination.constData()) == 0;
    if (!ok) {
        ::unlink(tempPath->constData());
        return false;
    }
    // The file is in place either way; this only makes the new name survive a power cut.
    syncFolder(folder);
    return true;
}

} // namespace

bool copyFileTo(const QString& source, const QString& destination) {
    // A NUL would cut the encoded path short and name another file.
    if (source.isEmpty() || destination.isEmpty() || source.contains(QChar(0)) ||
        destination.contains(QChar(0)))
        return false;

    const std::optional<QByteArray> target = resolveLinks(encodePath(destination));
    if (!target || target->endsWith('/'))
        return false;

    // O_NONBLOCK keeps a FIFO from hanging the open; it means nothing for a regular file.
    Fd in(
        openRetrying(encodePath(source).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat sourceStat;
    if (!in.valid() || ::fstat(in.get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;

    struct stat existing;
    if (::stat(target->constData(), &existing) == 0) {
        if (existing.st_dev == sourceStat.st_dev && existing.st_ino == sourceStat.st_ino)
            return true;
        // Mode bits, not access(): root may write anything, but the user protected this file.
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)
            return false;
        return replaceWith(in.get(), *target, &existing);
    }
    if (errno != ENOENT)
        return false;
    return replaceWith(in.get(), *target, nullptr);
}

qsizetype copyRun(const QList<CopyPair>& pairs) {
    qsizetype copied = 0;
    for (const CopyPair& pair : pairs) {
        if (!copyFileTo(pair.source, pair.destination))
            break;
        ++copied;
    }
    return copied;
}

bool isTemporaryName(const QString& fileName) {
    const qsizetype expected = tempPrefix.size() + tempRandomLength + tempSuffix.size();
    if (fileName.size() != expected || !fileName.startsWith(tempPrefix) ||
        !fileName.endsWith(tempSuffix))
        return false;
    const QStringView random = QStringView(fileName).mid(tempPrefix.size(), tempRandomLength);
    return std::all_of(random.begin(), random.end(), [](QChar c) {
        return c.unicode() < 128 && tempAlphabet.find(char(c.unicode())) != std::string_view::npos;
    });
}

} // namespace tunevane::files
