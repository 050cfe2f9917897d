#include "files/FileOps.h"
#include "files/Fd.h"
#include "files/ProgramFolder.h"
#include "files/TrustedCode.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"

#include <acl/libacl.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <map>
#include <optional>
#include <sys/acl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace tunevane::files;
using namespace Qt::StringLiterals;

namespace {

// A forked child copies as another user; its exit code says what copyFileTo answered.
constexpr int childAnswered = 10; // + the Failure
constexpr int childNoUser = 9;
constexpr uid_t nobody = 65534;
// As a destination mode: no destination file at all.
constexpr mode_t noFile = 010000;

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

QByteArray pattern(int seed, qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 7919) ^ (i >> 9));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes, mode_t mode) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool makeLink(const QString& target, const QString& link) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) ==
           0;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// Everything a failed operation must leave alone. Folders carry no ctime and no size:
// adding to a folder changes both (tmpfs counts entries in the size), and the entries
// inside already show that.
struct Entry {
    char kind = '?';
    QByteArray content; // a file's bytes or a link's target
    qint64 size = 0;
    uint mode = 0;
    uint uid = 0;
    uint gid = 0;
    quint64 inode = 0;
    qint64 ctimeNs = 0;
    QByteArray acl; // an access list beyond the mode bits, as text
    friend bool operator==(const Entry&, const Entry&) = default;
};
using Tree = std::map<QString, Entry>;

QByteArray extendedAcl(const QByteArray& path) {
    const acl_t acl = ::acl_get_file(path.constData(), ACL_TYPE_ACCESS);
    if (!acl)
        return {};
    QByteArray text;
    if (::acl_equiv_mode(acl, nullptr) == 1) {
        char* chars = ::acl_to_any_text(acl, nullptr, ',', TEXT_NUMERIC_IDS);
        text = chars;
        ::acl_free(chars);
    }
    ::acl_free(acl);
    return text;
}

// Without root a write-only file cannot be read back; its size still tells.
const QByteArray unreadable = QByteArrayLiteral("(unreadable)");

void collect(const QString& root, const QString& relative, Tree& tree) {
    const QDir dir(relative.isEmpty() ? root : root + u'/' + relative);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString path = relative.isEmpty() ? name : relative + u'/' + name;
        const QByteArray full = QFile::encodeName(root + u'/' + path);
        struct stat st;
        if (::lstat(full.constData(), &st) != 0)
            continue;
        Entry entry;
        entry.size = st.st_size;
        entry.mode = st.st_mode & 07777;
        entry.uid = st.st_uid;
        entry.gid = st.st_gid;
        entry.inode = st.st_ino;
        entry.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
        if (S_ISDIR(st.st_mode)) {
            entry.kind = 'd';
            entry.ctimeNs = 0;
            entry.size = 0;
            collect(root, path, tree);
        } else if (S_ISLNK(st.st_mode)) {
            entry.kind = 'l';
            char target[4096];
            const ssize_t n = ::readlink(full.constData(), target, sizeof target);
            entry.content = QByteArray(target, n > 0 ? n : 0);
        } else if (S_ISREG(st.st_mode)) {
            entry.kind = 'f';
            entry.acl = extendedAcl(full);
            QFile file(root + u'/' + path);
            entry.content = file.open(QIODevice::ReadOnly) ? file.readAll() : unreadable;
        } else {
            entry.kind = 'p';
        }
        tree[path] = entry;
    }
}

Tree snapshot(const QString& root) {
    Tree tree;
    collect(root, {}, tree);
    return tree;
}

QString describe(const Entry& e) {
    return u"%1 mode %2 owner %3:%4 size %5 inode %6 acl %7"_s.arg(QChar::fromLatin1(e.kind))
        .arg(e.mode, 4, 8, QChar(u'0'))
        .arg(e.uid)
        .arg(e.gid)
        .arg(e.size)
        .arg(e.inode)
        .arg(QString::fromLatin1(e.acl));
}

QString difference(const Tree& expected, const Tree& actual) {
    QStringList lines;
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end())
            lines << u"missing %1"_s.arg(path);
        else if (!(found->second == entry))
            lines << u"changed %1: expected %2, got %3"_s.arg(path, describe(entry),
                                                              describe(found->second));
    }
    for (const auto& [path, entry] : actual)
        if (!expected.contains(path))
            lines << u"unexpected %1 (%2)"_s.arg(path, describe(entry));
    return lines.join(u"; ");
}

// What the files layer logged, so a test can see that a failure names its path.
QStringList fileWarnings;
QtMessageHandler passOn = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && qstrcmp(context.category, "tunevane.files") == 0) {
        fileWarnings << message;
        return;
    }
    passOn(type, context, message);
}

enum class Setup {
    Plain,
    EmptySourceFile,
    LargeSource,
    SourceOtherFilesystem,
    KeepsOwner,
    SourceMissing,
    SourceFolder,
    SourceFifo,
    SourceUnreadable,
    SourcePathEmpty,
    SourcePathNul,
    DestinationPathEmpty,
    DestinationPathNul,
    DestinationFolderMissing,
    DestinationParentIsFile,
    DestinationIsFolder,
    DestinationTrailingSlash,
    FolderNotWritable,
    DiskFull,
    UnprivilegedReplace,
    SameFile,
    SameFileDoubledSlashes,
    SameFileLinkedSource,
    SameFileHardLink,
    DestinationLink,
    DestinationLinkChain,
    DestinationLinkDangling,
    DestinationHardLinked,
    SourceShrinks,
    SourceGrows,
    SourceTouched,
    SourceTimesRestored,
    SourceRewrittenAfterRead,
    DestinationAcl,
    FolderDefaultAcl,
    AccessListRefused,
    NamedTemporary,
};

struct Scene {
    QString source;
    QString destination;
    QByteArray newBytes;
    QString changed; // relative path of the file that takes the new bytes on success
    uint expectedMode = 0;
    std::optional<std::pair<uint, uint>> owner; // unset: the old file's owner
    std::optional<QByteArray> acl;              // unset: the old file's list
    bool unprivileged = false;
    CopyHooks hooks;     // changes the source mid-copy, or takes another file system's path
    QStringList touched; // names whose change time moves with the old file's link count
    QString logged;      // what the log must say; empty: nothing on success, a failure's path
    QString skip;
};

// Unset when no unprivileged process could be had.
std::optional<Failure> runCopy(const Scene& scene) {
    if (!scene.unprivileged || ::geteuid() != 0)
        return copyFileTo(scene.source, scene.destination);
    // Root may read and write anything, so permission faults need a process without it. A
    // fork, unlike a new program, needs nothing from the checkout, wherever it lies.
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(childNoUser);
        ::_exit(childAnswered + int(copyFileTo(scene.source, scene.destination)));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) < childAnswered)
        return std::nullopt;
    return Failure(WEXITSTATUS(status) - childAnswered);
}

bool prepare(Setup setup, mode_t destMode, const QString& root, testsupport::Mount& mount,
             Scene& scene) {
    const QString src = root + u"/src"_s;
    const QString game = root + u"/game"_s;
    const QString real = root + u"/real"_s;
    if (!QDir().mkpath(src) || !QDir().mkpath(game) || !QDir().mkpath(real))
        return false;

    qsizetype newSize = 70'001;
    if (setup == Setup::EmptySourceFile)
        newSize = 0;
    else if (setup == Setup::LargeSource || setup == Setup::SourceOtherFilesystem)
        newSize = 3 * 1024 * 1024 + 17;
    else if (setup == Setup::DiskFull)
        newSize = 2 * 1024 * 1024;
    scene.newBytes = pattern(2, newSize);
    scene.source = src + u"/NEW.WAV"_s;
    scene.destination = game + u"/GAME.WAV"_s;
    scene.changed = u"game/GAME.WAV"_s;
    scene.expectedMode = destMode != noFile ? destMode & 0777 : (0644 & ~currentUmask());

    if (setup == Setup::DiskFull || setup == Setup::SourceOtherFilesystem) {
        const bool full = setup == Setup::DiskFull;
        if (!mount.mount(full ? game : src, full ? "size=1m" : "size=16m")) {
            scene.skip = u"a tmpfs cannot be mounted here"_s;
            return true;
        }
    }
    if (setup != Setup::SourceMissing && setup != Setup::SourceFolder &&
        setup != Setup::SourceFifo && !writeFile(scene.source, scene.newBytes, 0644))
        return false;

    QString destFile = scene.destination;
    if (setup == Setup::DestinationLink || setup == Setup::DestinationLinkChain ||
        setup == Setup::DestinationLinkDangling) {
        destFile = real + u"/GAME.WAV"_s;
        scene.changed = u"real/GAME.WAV"_s;
    }
    if (destMode != noFile && !writeFile(destFile, pattern(1, 40'000), destMode))
        return false;

    const bool asRoot = ::geteuid() == 0;
    switch (setup) {
    case Setup::Plain:
    case Setup::EmptySourceFile:
    case Setup::LargeSource:
    case Setup::SourceOtherFilesystem:
        break;
    case Setup::KeepsOwner:
        if (!asRoot) {
            scene.skip = u"only root can give a file to another user"_s;
            return true;
        }
        if (::chown(QFile::encodeName(destFile).constData(), nobody, nobody) != 0)
            return false;
        break;
    case Setup::SourceMissing:
        break;
    case Setup::SourceFolder:
        return QDir().mkpath(scene.source);
    case Setup::SourceFifo:
        return ::mkfifo(QFile::encodeName(scene.source).constData(), 0644) == 0;
    case Setup::SourceUnreadable:
        scene.unprivileged = true;
        return setMode(root, 0755) && setMode(scene.source, 0000);
    case Setup::SourcePathEmpty:
        scene.source.clear();
        break;
    case Setup::SourcePathNul:
        // Cut at the NUL, this would name the real source file.
        scene.source += QChar(0) + u"/ignored"_s;
        break;
    case Setup::DestinationPathEmpty:
        scene.destination.clear();
        break;
    case Setup::DestinationPathNul:
        scene.destination += QChar(0) + u".bak"_s;
        break;
    case Setup::DestinationFolderMissing:
        scene.destination = game + u"/Missing/GAME.WAV"_s;
        break;
    case Setup::DestinationParentIsFile:
        scene.destination = game + u"/GAME.WAV/NEW.WAV"_s;
        break;
    case Setup::DestinationIsFolder:
        scene.destination = game + u"/MUSIC.WAV"_s;
        return QDir().mkpath(scene.destination);
    case Setup::DestinationTrailingSlash:
        scene.destination += u'/';
        break;
    case Setup::FolderNotWritable:
        scene.unprivileged = true;
        return setMode(root, 0755) && setMode(game, 0555);
    case Setup::DiskFull:
        break;
    case Setup::UnprivilegedReplace:
        // Proves that the child can copy at all, so its refusals mean something. Root's group
        // cannot be kept, and its bits must not go to nobody's group.
        scene.unprivileged = true;
        if (asRoot) {
            scene.owner = std::pair{uint(nobody), uint(nobody)};
            scene.expectedMode &= ~0070U;
        }
        return setMode(root, 0755) && setMode(game, 0777);
    case Setup::SameFile:
        scene.source = scene.destination;
        break;
    case Setup::SameFileDoubledSlashes:
        scene.source = scene.destination;
        scene.destination = u'/' + root + u"//game//GAME.WAV"_s;
        break;
    case Setup::SameFileLinkedSource:
        scene.source = src + u"/LINK.WAV"_s;
        return makeLink(u"../game/GAME.WAV"_s, scene.source);
    case Setup::SameFileHardLink:
        scene.source = src + u"/HARD.WAV"_s;
        return ::link(QFile::encodeName(scene.destination).constData(),
                      QFile::encodeName(scene.source).constData()) == 0;
    case Setup::DestinationLink:
    case Setup::DestinationLinkDangling:
        return makeLink(u"../real/GAME.WAV"_s, scene.destination);
    case Setup::DestinationLinkChain:
        return makeLink(u"NEXT.WAV"_s, scene.destination) &&
               makeLink(real + u"/GAME.WAV"_s, game + u"/NEXT.WAV"_s);
    case Setup::DestinationHardLinked:
        scene.touched = {u"real/OTHER.WAV"_s};
        return ::link(QFile::encodeName(scene.destination).constData(),
                      QFile::encodeName(real + u"/OTHER.WAV"_s).constData()) == 0;
    case Setup::SourceShrinks:
        scene.hooks.beforeRead = [](const QString& source) {
            (void)::truncate(QFile::encodeName(source).constData(), 1000);
        };
        break;
    case Setup::SourceGrows:
        scene.hooks.beforeRead = [](const QString& source) {
            QFile file(source);
            if (file.open(QIODevice::Append))
                file.write("more");
        };
        break;
    case Setup::SourceTouched:
        // Rewritten in place at the same size; only the time tells.
        scene.hooks.beforeRead = [](const QString& source) {
            const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
            (void)::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0);
        };
        break;
    case Setup::SourceTimesRestored:
        // As touch -r or rsync --inplace -t leave it: other bytes, the old times.
        scene.hooks.beforeRead = [](const QString& source) {
            const QByteArray path = QFile::encodeName(source);
            struct stat st;
            if (::stat(path.constData(), &st) != 0)
                return;
            QFile file(source);
            if (file.open(QIODevice::ReadWrite))
                file.write(pattern(3, st.st_size));
            file.close();
            const timespec times[2] = {st.st_atim, st.st_mtim};
            (void)::utimensat(AT_FDCWD, path.constData(), times, 0);
        };
        break;
    case Setup::SourceRewrittenAfterRead:
        // As sshfs shows a rewrite within the second: same size, same times. Only the bytes
        // can tell, so the log must speak of them.
        scene.logged = u"bytes"_s;
        scene.hooks.afterRead = [](const QString& source) {
            QFile file(source);
            if (file.open(QIODevice::ReadWrite))
                file.write(pattern(3, 100));
        };
        break;
    case Setup::NamedTemporary:
        scene.hooks.namedTemporaries = true;
        break;
    case Setup::FolderDefaultAcl:
    case Setup::AccessListRefused: {
        const bool folder = setup == Setup::FolderDefaultAcl;
        // A folder's default list names others; a file's list has a mask below its group.
        const acl_t acl =
            ::acl_from_text(folder ? "u::rwx,g::r-x,o::r-x,u:1001:rwx,g:1002:rw-,m::rwx"
                                   : "u::rw-,g::rw-,m::r--,o::---");
        const int set = ::acl_set_file(QFile::encodeName(folder ? game : destFile).constData(),
                                       folder ? ACL_TYPE_DEFAULT : ACL_TYPE_ACCESS, acl);
        ::acl_free(acl);
        if (set != 0) {
            scene.skip = u"no access lists on this filesystem"_s;
            return true;
        }
        scene.hooks.accessListsRefused = !folder;
        if (!folder)
            scene.logged = u"access list"_s;
        scene.acl = QByteArray();
        break;
    }
    case Setup::DestinationAcl: {
        // The list's mask shows as the mode's group bits: 0640 becomes 0660.
        const acl_t acl = ::acl_from_text("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---");
        const int set =
            ::acl_set_file(QFile::encodeName(destFile).constData(), ACL_TYPE_ACCESS, acl);
        ::acl_free(acl);
        if (set != 0) {
            scene.skip = u"no access lists on this filesystem"_s;
            return true;
        }
        scene.expectedMode = 0660;
        break;
    }
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Failure)

enum class Leftover { File, Unmarked, Locked, HardLinked, Link, Folder, Killed, KilledNamed };
Q_DECLARE_METATYPE(Leftover)

class FileOpsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void copyFileToReplacesOrRefuses_data();
    void copyFileToReplacesOrRefuses();

    void copyRunStopsAtFirstFailure_data();
    void copyRunStopsAtFirstFailure();

    void temporaryNames_data();
    void temporaryNames();

    void staleTemporaries_data();
    void staleTemporaries();

    void renameSubfolder_data();
    void renameSubfolder();
    void renameSubfolderInMissingProgramFolder();

    void setAsideUnlessEmpty_data();
    void setAsideUnlessEmpty();

    void trustedCode_data();
    void trustedCode();

    void makeSubfolder_data();
    void makeSubfolder();
    void makeSubfolderInMissingProgramFolder();

    void programFolderPath_data();
    void programFolderPath();
    void filePath_data();
    void filePath();
    void standardLocation();
};

void FileOpsTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QLoggingCategory::setFilterRules(u"tunevane.files.warning=true"_s);
    passOn = qInstallMessageHandler(collectWarnings);
}

void FileOpsTest::copyFileToReplacesOrRefuses_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("destMode");
    QTest::addColumn<Failure>("failure");

    QTest::newRow("replace keeps the mode") << Setup::Plain << 0640 << Failure::None;
    QTest::newRow("replace keeps an odd mode") << Setup::Plain << 0604 << Failure::None;
    QTest::newRow("write-only file is not read-only") << Setup::Plain << 0200 << Failure::None;
    QTest::newRow("new destination") << Setup::Plain << int(noFile) << Failure::None;
    QTest::newRow("empty source file") << Setup::EmptySourceFile << 0644 << Failure::None;
    QTest::newRow("source larger than a buffer") << Setup::LargeSource << 0644 << Failure::None;
    // The kernel copies only within one kind of filesystem; plain reads and writes take over.
    QTest::newRow("source on another filesystem")
        << Setup::SourceOtherFilesystem << 0644 << Failure::None;
    QTest::newRow("root keeps the owner") << Setup::KeepsOwner << 0644 << Failure::None;
    QTest::newRow("set-id bits are not kept") << Setup::Plain << 06755 << Failure::None;
    QTest::newRow("access list kept, group not widened")
        << Setup::DestinationAcl << 0640 << Failure::None;
    QTest::newRow("a hard link keeps the old bytes")
        << Setup::DestinationHardLinked << 0640 << Failure::None;

    QTest::newRow("read-only destination 0444") << Setup::Plain << 0444 << Failure::ReadOnly;
    QTest::newRow("read-only destination 0400") << Setup::Plain << 0400 << Failure::ReadOnly;
    QTest::newRow("read-only destination 0000") << Setup::Plain << 0000 << Failure::ReadOnly;
    QTest::newRow("source missing") << Setup::SourceMissing << 0644 << Failure::SourceMissing;
    QTest::newRow("source is a folder") << Setup::SourceFolder << 0644 << Failure::SourceUnreadable;
    QTest::newRow("source is a fifo") << Setup::SourceFifo << 0644 << Failure::SourceUnreadable;
    QTest::newRow("source unreadable")
        << Setup::SourceUnreadable << 0666 << Failure::SourceUnreadable;
    QTest::newRow("source path empty") << Setup::SourcePathEmpty << 0644 << Failure::NoSource;
    QTest::newRow("source path holds NUL") << Setup::SourcePathNul << 0644 << Failure::Other;
    QTest::newRow("destination path empty")
        << Setup::DestinationPathEmpty << 0644 << Failure::NoDestination;
    QTest::newRow("destination path holds NUL")
        << Setup::DestinationPathNul << 0644 << Failure::Other;
    QTest::newRow("destination folder missing")
        << Setup::DestinationFolderMissing << 0644 << Failure::FolderMissing;
    QTest::newRow("destination parent is a file")
        << Setup::DestinationParentIsFile << 0644 << Failure::FolderMissing;
    QTest::newRow("destination is a folder")
        << Setup::DestinationIsFolder << 0644 << Failure::Other;
    QTest::newRow("destination with trailing slash")
        << Setup::DestinationTrailingSlash << 0644 << Failure::Other;
    QTest::newRow("destination folder not writable")
        << Setup::FolderNotWritable << 0666 << Failure::FolderNotWritable;
    QTest::newRow("disk full") << Setup::DiskFull << 0644 << Failure::DiskFull;
    QTest::newRow("source shrinks while read")
        << Setup::SourceShrinks << 0644 << Failure::SourceChanged;
    QTest::newRow("source shrinks, no old file")
        << Setup::SourceShrinks << int(noFile) << Failure::SourceChanged;
    QTest::newRow("source grows while read")
        << Setup::SourceGrows << 0644 << Failure::SourceChanged;
    QTest::newRow("source rewritten while read")
        << Setup::SourceTouched << 0644 << Failure::SourceChanged;
    QTest::newRow("source rewritten, its times restored")
        << Setup::SourceTimesRestored << 0644 << Failure::SourceChanged;
    QTest::newRow("unprivileged replace, group not kept")
        << Setup::UnprivilegedReplace << 0666 << Failure::None;
    QTest::newRow("a folder's default list is not inherited")
        << Setup::FolderDefaultAcl << 0640 << Failure::None;
    QTest::newRow("a list that cannot be set: the mask holds")
        << Setup::AccessListRefused << 0640 << Failure::None;
    QTest::newRow("named temporary") << Setup::NamedTemporary << 0640 << Failure::None;
    QTest::newRow("named temporary, new destination")
        << Setup::NamedTemporary << int(noFile) << Failure::None;
    QTest::newRow("source rewritten within its times")
        << Setup::SourceRewrittenAfterRead << 0644 << Failure::SourceChanged;

    QTest::newRow("same file") << Setup::SameFile << 0640 << Failure::None;
    QTest::newRow("same read-only file") << Setup::SameFile << 0444 << Failure::None;
    QTest::newRow("same file, doubled slashes")
        << Setup::SameFileDoubledSlashes << 0640 << Failure::None;
    QTest::newRow("same file through a linked source")
        << Setup::SameFileLinkedSource << 0640 << Failure::None;
    QTest::newRow("same file through a hard link")
        << Setup::SameFileHardLink << 0640 << Failure::None;

    QTest::newRow("linked destination") << Setup::DestinationLink << 0640 << Failure::None;
    QTest::newRow("chain of links") << Setup::DestinationLinkChain << 0640 << Failure::None;
    QTest::newRow("dangling link")
        << Setup::DestinationLinkDangling << int(noFile) << Failure::None;
    QTest::newRow("link to a read-only file")
        << Setup::DestinationLink << 0444 << Failure::ReadOnly;
}

void FileOpsTest::copyFileToReplacesOrRefuses() {
    QFETCH(Setup, setup);
    QFETCH(int, destMode);
    QFETCH(Failure, failure);
    const bool copies = failure == Failure::None;

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    testsupport::Mount mount;
    // A non-root run could not delete a folder it made unwritable.
    const auto restore = qScopeGuard([&] { setMode(tmp.path() + u"/game"_s, 0755); });
    Scene scene;
    QVERIFY(prepare(setup, mode_t(destMode), tmp.path(), mount, scene));
    if (!scene.skip.isEmpty())
        QSKIP(qPrintable(scene.skip));

    const Tree before = snapshot(tmp.path());
    fileWarnings.clear();
    setCopyHooks(scene.hooks);
    const std::optional<Failure> outcome = runCopy(scene);
    setCopyHooks({});
    if (!outcome) {
        if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_UNPRIVILEGED"))
            QFAIL("cannot copy as an unprivileged user, but TUNEVANE_REQUIRE_UNPRIVILEGED=1");
        QSKIP("cannot copy as an unprivileged user here");
    }
    const Tree after = snapshot(tmp.path());
    QCOMPARE(*outcome, failure);
    // A forked child logs into its own memory.
    if (!scene.unprivileged || ::geteuid() != 0) {
        // The log gives the real cause: the path, and for a full disk the system's word for it.
        const QString cause = failure == Failure::DiskFull
                                  ? QString::fromLocal8Bit(std::strerror(ENOSPC))
                              : scene.logged.isEmpty() ? tmp.path()
                                                       : scene.logged;
        const bool named = std::any_of(fileWarnings.cbegin(), fileWarnings.cend(),
                                       [&](const QString& line) { return line.contains(cause); });
        QVERIFY2(copies && scene.logged.isEmpty() ? fileWarnings.isEmpty() : named,
                 qPrintable(fileWarnings.join(u'\n')));
    }

    Tree expected = before;
    if (scene.hooks.beforeRead || scene.hooks.afterRead)
        expected[u"src/NEW.WAV"_s] = after.at(u"src/NEW.WAV"_s);
    for (const QString& name : scene.touched)
        expected[name].ctimeNs = after.at(name).ctimeNs;
    const bool sameFile = setup == Setup::SameFile || setup == Setup::SameFileDoubledSlashes ||
                          setup == Setup::SameFileLinkedSource || setup == Setup::SameFileHardLink;
    if (copies && !sameFile) {
        QVERIFY2(after.contains(scene.changed), qPrintable(scene.changed));
        const Entry& now = after.at(scene.changed);
        Entry entry;
        entry.kind = 'f';
        entry.content = now.content == unreadable ? unreadable : scene.newBytes;
        entry.size = scene.newBytes.size();
        entry.mode = scene.expectedMode;
        const auto old = before.find(scene.changed);
        const auto [uid, gid] = scene.owner.value_or(
            old != before.end() ? std::pair{old->second.uid, old->second.gid}
                                : std::pair{uint(::geteuid()), uint(::getegid())});
        entry.uid = uid;
        entry.gid = gid;
        entry.inode = now.inode;
        entry.ctimeNs = now.ctimeNs;
        entry.acl = scene.acl.value_or(old != before.end() ? old->second.acl : QByteArray());
        expected[scene.changed] = entry;
    }
    QVERIFY2(after == expected, qPrintable(difference(expected, after)));
}

void FileOpsTest::copyRunStopsAtFirstFailure_data() {
    QTest::addColumn<int>("pairCount");
    QTest::addColumn<int>("broken");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Failure>("failure");

    QTest::newRow("all copied") << 4 << -1 << QString() << Failure::None;
    QTest::newRow("no pairs") << 0 << -1 << QString() << Failure::None;
    QTest::newRow("first source empty") << 4 << 0 << u"empty source"_s << Failure::NoSource;
    QTest::newRow("second source missing")
        << 4 << 1 << u"missing source"_s << Failure::SourceMissing;
    QTest::newRow("third destination read-only") << 4 << 2 << u"read-only"_s << Failure::ReadOnly;
    QTest::newRow("last destination folder missing")
        << 4 << 3 << u"missing folder"_s << Failure::FolderMissing;
    QTest::newRow("empty pair in the middle") << 4 << 1 << u"empty pair"_s << Failure::NoSource;
}

void FileOpsTest::copyRunStopsAtFirstFailure() {
    QFETCH(int, pairCount);
    QFETCH(int, broken);
    QFETCH(QString, fault);
    QFETCH(Failure, failure);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QList<CopyPair> pairs;
    for (int i = 0; i < pairCount; ++i) {
        CopyPair pair{tmp.filePath(u"new%1.wav"_s.arg(i)), tmp.filePath(u"GAME%1.WAV"_s.arg(i))};
        QVERIFY(writeFile(pair.source, pattern(100 + i, 5000 + i), 0644));
        QVERIFY(writeFile(pair.destination, pattern(200 + i, 3000 + i), 0644));
        pairs << pair;
    }
    if (broken >= 0) {
        CopyPair& pair = pairs[broken];
        if (fault == u"empty source")
            pair.source.clear();
        else if (fault == u"missing source")
            QVERIFY(QFile::remove(pair.source));
        else if (fault == u"read-only")
            QVERIFY(setMode(pair.destination, 0444));
        else if (fault == u"missing folder")
            pair.destination = tmp.filePath(u"none/GAME.WAV"_s);
        else if (fault == u"empty pair")
            pair = CopyPair{};
    }

    const qsizetype expected = broken >= 0 ? broken : pairCount;
    const RunResult run = copyRun(pairs);
    QCOMPARE(run.copied, expected);
    QCOMPARE(run.failure, failure);
    for (int i = 0; i < pairCount; ++i) {
        QFile game(tmp.filePath(u"GAME%1.WAV"_s.arg(i)));
        QVERIFY(game.open(QIODevice::ReadOnly));
        const QByteArray wanted =
            i < expected ? pattern(100 + i, 5000 + i) : pattern(200 + i, 3000 + i);
        QVERIFY2(game.readAll() == wanted, qPrintable(u"pair %1"_s.arg(i)));
    }
}

void FileOpsTest::temporaryNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("temporary");

    QTest::newRow("temporary") << u".tunevane-aZ09xy.part"_s << true;
    QTest::newRow("game file") << u"JUMP.WAV"_s << false;
    QTest::newRow("short random part") << u".tunevane-aZ09x.part"_s << false;
    QTest::newRow("long random part") << u".tunevane-aZ09xyz.part"_s << false;
    QTest::newRow("other suffix") << u".tunevane-aZ09xy.wav"_s << false;
    QTest::newRow("prefixed") << u"x.tunevane-aZ09xy.part"_s << false;
    QTest::newRow("not hidden") << u"tunevane-aZ09xy.part"_s << false;
    QTest::newRow("odd character") << u".tunevane-aZ09x!.part"_s << false;
    QTest::newRow("with a folder") << u"/tmp/.tunevane-aZ09xy.part"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void FileOpsTest::temporaryNames() {
    QFETCH(QString, name);
    QFETCH(bool, temporary);
    QCOMPARE(isTemporaryName(name), temporary);
}

void FileOpsTest::staleTemporaries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Leftover>("leftover");
    QTest::addColumn<bool>("removed");

    const QString temporary = u".tunevane-Ab12cd.part"_s;
    QTest::newRow("a killed copy's temporary") << temporary << Leftover::File << true;
    QTest::newRow("a user's file named like ours") << temporary << Leftover::Unmarked << false;
    // Killed with the new bytes written: an unnamed file leaves nothing, a named one is marked.
    QTest::newRow("a copy killed while writing") << QString() << Leftover::Killed << false;
    QTest::newRow("a copy killed while writing a named temporary")
        << QString() << Leftover::KilledNamed << true;
    QTest::newRow("a running copy's temporary") << temporary << Leftover::Locked << false;
    QTest::newRow("a temporary with a second name") << temporary << Leftover::HardLinked << false;
    QTest::newRow("a link named like a temporary") << temporary << Leftover::Link << false;
    QTest::newRow("a folder named like a temporary") << temporary << Leftover::Folder << false;
    QTest::newRow("a near miss") << u".tunevane-Ab12c.part"_s << Leftover::File << false;
    QTest::newRow("another suffix") << u".tunevane-Ab12cd.wav"_s << Leftover::File << false;
    QTest::newRow("a user's file") << u"notes.part"_s << Leftover::File << false;
}

void FileOpsTest::staleTemporaries() {
    QFETCH(QString, name);
    QFETCH(Leftover, leftover);
    QFETCH(bool, removed);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir().mkpath(tmp.filePath(u"game"_s)) && QDir().mkpath(tmp.filePath(u"keep"_s)));
    const QString source = tmp.filePath(u"NEW.WAV"_s);
    const QString destination = tmp.filePath(u"game/GAME.WAV"_s);
    const QString candidate = tmp.filePath(u"game/"_s + name);
    const QByteArray encoded = QFile::encodeName(candidate);
    QVERIFY(writeFile(source, pattern(2, 5000), 0644));
    QVERIFY(writeFile(destination, pattern(1, 3000), 0644));
    QFile held(candidate);
    switch (leftover) {
    case Leftover::File:
    case Leftover::Locked:
    case Leftover::HardLinked:
    case Leftover::Unmarked:
        QVERIFY(writeFile(candidate, pattern(3, 700), 0644));
        if (leftover != Leftover::Unmarked &&
            ::setxattr(encoded.constData(), "user.tunevane.temporary", "1", 1, 0) != 0)
            QSKIP("no extended attributes on this filesystem");
        break;
    case Leftover::Killed:
    case Leftover::KilledNamed: {
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            setCopyHooks({.afterRead = [](const QString&) { ::raise(SIGKILL); },
                          .namedTemporaries = leftover == Leftover::KilledNamed});
            (void)copyFileTo(source, destination);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(QDir(tmp.filePath(u"game"_s))
                     .entryList(QDir::Files | QDir::Hidden)
                     .filter(u".tunevane-"_s)
                     .size(),
                 leftover == Leftover::KilledNamed ? 1 : 0);
        break;
    }
    case Leftover::Link:
        QVERIFY(writeFile(tmp.filePath(u"keep/target"_s), pattern(3, 700), 0644));
        QVERIFY(makeLink(u"../keep/target"_s, candidate));
        break;
    case Leftover::Folder:
        QVERIFY(QDir().mkpath(candidate));
        break;
    }
    if (leftover == Leftover::Locked) {
        // A lock on another open file of this process blocks the copy's own, as a running
        // copy's lock would.
        QVERIFY(held.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);
    }
    if (leftover == Leftover::HardLinked)
        QCOMPARE(::link(encoded.constData(), QFile::encodeName(tmp.filePath(u"keep/x"_s))), 0);

    const Tree before = snapshot(tmp.path());
    QCOMPARE(copyFileTo(source, destination), Failure::None);
    Tree after = snapshot(tmp.path());

    Tree expected = before;
    if (removed)
        std::erase_if(expected,
                      [](const auto& entry) { return entry.first.contains(u"/.tunevane-"); });
    QCOMPARE(after.at(u"game/GAME.WAV"_s).content, pattern(2, 5000));
    expected[u"game/GAME.WAV"_s] = after.at(u"game/GAME.WAV"_s);
    QVERIFY2(after == expected, qPrintable(difference(expected, after)));
}

void FileOpsTest::renameSubfolder_data() {
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("renamed");

    const QString staging = u"TempDir"_s;
    QTest::newRow("dot-dot") << staging << u".."_s << false;
    QTest::newRow("dot") << staging << u"."_s << false;
    QTest::newRow("empty") << staging << QString() << false;
    QTest::newRow("into a subfolder") << staging << u"a/b"_s << false;
    QTest::newRow("out of the program folder") << staging << u"../x"_s << false;
    QTest::newRow("trailing slash") << staging << u"Set/"_s << false;
    QTest::newRow("NUL") << staging << (u"Set"_s + QChar(0) + u"x"_s) << false;
    QTest::newRow("300 characters") << staging << QString(300, u'n') << false;
    QTest::newRow("existing folder") << staging << u"Taken"_s << false;
    QTest::newRow("existing empty folder") << staging << u"Empty"_s << false;
    QTest::newRow("existing file") << staging << u"taken.txt"_s << false;
    QTest::newRow("its own name") << staging << staging << false;
    QTest::newRow("old missing") << u"Gone"_s << u"Set"_s << false;
    QTest::newRow("old empty") << QString() << u"Set"_s << false;
    QTest::newRow("old dot-dot") << u".."_s << u"Set"_s << false;
    QTest::newRow("old outside") << u"../prog/TempDir"_s << u"Set"_s << false;
    QTest::newRow("old is a file") << u"taken.txt"_s << u"Set"_s << false;

    QTest::newRow("plain") << staging << u"Mario Sounds"_s << true;
    QTest::newRow("leading spaces") << staging << u"  Set"_s << true;
    QTest::newRow("trailing spaces") << staging << u"Set  "_s << true;
    QTest::newRow("inner spaces") << staging << u"My   Set"_s << true;
    QTest::newRow("spaces only") << staging << u"   "_s << true;
    QTest::newRow("letter case differs") << staging << u"tempdir"_s << true;
    QTest::newRow("255 characters") << staging << QString(255, u'n') << true;
    QTest::newRow("non-ASCII") << staging << u"Füße ♪"_s << true;
    QTest::newRow("backslash") << staging << u"a\\b"_s << true;
    QTest::newRow("hidden") << staging << u".set"_s << true;
}

void FileOpsTest::renameSubfolder() {
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(bool, renamed);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString prog = tmp.filePath(u"prog"_s);
    QVERIFY(QDir().mkpath(prog + u"/TempDir"_s));
    QVERIFY(writeFile(prog + u"/TempDir/JUMP.WAV"_s, pattern(3, 1000), 0644));
    QVERIFY(QDir().mkpath(prog + u"/Taken"_s));
    QVERIFY(writeFile(prog + u"/Taken/keep.txt"_s, pattern(4, 10), 0644));
    QVERIFY(QDir().mkpath(prog + u"/Empty"_s));
    QVERIFY(QDir().mkpath(prog + u"/a"_s));
    QVERIFY(writeFile(prog + u"/taken.txt"_s, pattern(5, 10), 0644));

    const Tree before = snapshot(tmp.path());
    fileWarnings.clear();
    QCOMPARE(ProgramFolder(prog).renameSubfolder(oldName, newName), renamed);
    QCOMPARE(fileWarnings.size(), renamed ? 0 : 1);
    const Tree after = snapshot(tmp.path());

    Tree expected;
    const QString from = u"prog/"_s + oldName;
    for (const auto& [path, entry] : before) {
        if (renamed && (path == from || path.startsWith(from + u'/')))
            expected[u"prog/"_s + newName + path.mid(from.size())] = entry;
        else
            expected[path] = entry;
    }
    QVERIFY2(after == expected, qPrintable(difference(expected, after)));
}

void FileOpsTest::renameSubfolderInMissingProgramFolder() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(!ProgramFolder(tmp.filePath(u"none"_s)).renameSubfolder(u"TempDir"_s, u"Set"_s));
    QVERIFY(snapshot(tmp.path()).empty());
}

void FileOpsTest::setAsideUnlessEmpty_data() {
    QTest::addColumn<QString>("left");  // what stands under "BackDir" beforehand
    QTest::addColumn<QString>("aside"); // where it is afterwards; empty: where it was
    const QString stamp = u"BackDir unfinished 2026-12-08 14.03.22"_s;
    QTest::newRow("nothing") << u"nothing"_s << QString();
    QTest::newRow("an empty folder") << u"empty"_s << QString();
    QTest::newRow("a folder with files") << u"files"_s << stamp;
    QTest::newRow("its dated name taken") << u"files taken"_s << stamp + u" 2"_s;
    QTest::newRow("a file") << u"file"_s << stamp;
    QTest::newRow("a link, moved and not followed") << u"link"_s << stamp;
}

// What an abandoned backup left is moved whole, byte for byte, and nothing else moves.
void FileOpsTest::setAsideUnlessEmpty() {
    QFETCH(QString, left);
    QFETCH(QString, aside);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString prog = tmp.filePath(u"prog"_s);
    const QString staging = prog + u"/BackDir"_s;
    QVERIFY(QDir().mkpath(prog));
    if (left == u"empty" || left.startsWith(u"files"))
        QVERIFY(QDir().mkpath(staging + (left == u"empty" ? u""_s : u"/sub"_s)));
    if (left.startsWith(u"files"))
        QVERIFY(writeFile(staging + u"/sub/JUMP.WAV"_s, pattern(6, 900), 0640));
    if (left == u"files taken" || left == u"file")
        QVERIFY(writeFile(left == u"file" ? staging : prog + u'/' + aside.chopped(2), "x", 0644));
    if (left == u"link")
        QVERIFY(QDir().mkpath(tmp.filePath(u"elsewhere"_s)) &&
                makeLink(tmp.filePath(u"elsewhere"_s), staging));

    const Tree before = snapshot(tmp.path());
    const QDateTime now(QDate(2026, 12, 8), QTime(14, 3, 22));
    QCOMPARE(ProgramFolder(prog).setAsideUnlessEmpty(u"BackDir"_s, now), Failure::None);
    const Tree after = snapshot(tmp.path());

    Tree expected;
    const QString from = u"prog/BackDir"_s;
    for (const auto& [path, entry] : before) {
        if (!aside.isEmpty() && (path == from || path.startsWith(from + u'/')))
            expected[u"prog/"_s + aside + path.mid(from.size())] = entry;
        else
            expected[path] = entry;
    }
    // A rename moves the change time of what it renames.
    if (!aside.isEmpty() && after.contains(u"prog/"_s + aside))
        expected[u"prog/"_s + aside].ctimeNs = after.at(u"prog/"_s + aside).ctimeNs;
    QVERIFY2(after == expected, qPrintable(difference(expected, after)));
}

void FileOpsTest::trustedCode_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("trusted");
    QTest::newRow("ours, closed") << u"plain"_s << true;
    QTest::newRow("through a link") << u"link"_s << true;
    QTest::newRow("under a sticky folder all may write") << u"root 1777"_s << true;
    QTest::newRow("missing") << u"missing"_s << false;
    QTest::newRow("writable by others") << u"file o+w"_s << false;
    QTest::newRow("writable by its group") << u"file g+w"_s << false;
    QTest::newRow("in a folder writable by others") << u"folder o+w"_s << false;
    QTest::newRow("in a folder writable by its group") << u"folder g+w"_s << false;
    QTest::newRow("under a folder all may write") << u"root 0777"_s << false;
    QTest::newRow("another user may write, by its list") << u"file acl"_s << false;
    QTest::newRow("another user's") << u"nobody's"_s << false;
    QTest::newRow("a folder") << u"folder"_s << false;
}

void FileOpsTest::trustedCode() {
    QFETCH(QString, how);
    QFETCH(bool, trusted);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString folder = tmp.filePath(u"plugins"_s);
    const QString plugin = folder + u"/tunevane-audio.so"_s;
    QVERIFY(QDir().mkpath(folder) && setMode(folder, 0755) && setMode(tmp.path(), 0700));
    if (how == u"folder")
        QVERIFY(QDir().mkpath(plugin));
    else if (how != u"missing")
        QVERIFY(writeFile(plugin, "code", how == u"file o+w" ? 0757 : 0755));
    if (how.startsWith(u"folder ") || how == u"file g+w")
        QVERIFY(setMode(how == u"file g+w" ? plugin : folder, how.endsWith(u"o+w") ? 0757 : 0775));
    if (how.startsWith(u"root "))
        QVERIFY(setMode(tmp.path(), how.mid(5).toUInt(nullptr, 8)));
    if (how == u"nobody's" && ::chown(QFile::encodeName(plugin).constData(), nobody, nobody) != 0)
        QSKIP("only root can give a file to another user");
    if (how == u"file acl") {
        // The mask keeps the entry from writing now; the owner's next chmod would not.
        const acl_t acl = ::acl_from_text("u::rwx,u:1001:rwx,g::r-x,m::r-x,o::r-x");
        const int set = ::acl_set_file(QFile::encodeName(plugin).constData(), ACL_TYPE_ACCESS, acl);
        ::acl_free(acl);
        if (set != 0)
            QSKIP("no access lists on this filesystem");
    }
    QString asked = plugin;
    if (how == u"link") {
        asked = tmp.filePath(u"link.so"_s);
        QVERIFY(makeLink(plugin, asked));
    }
    const std::optional<Fd> code = openTrustedCode(asked);
    QCOMPARE(code.has_value(), trusted);
    if (!trusted)
        return;
    // What is loaded is what was checked, even once another file takes its name.
    QVERIFY(writeFile(folder + u"/other.so"_s, "swapped", 0755));
    QVERIFY(QFile::remove(plugin) && QFile::rename(folder + u"/other.so"_s, plugin));
    QFile loaded(QFile::decodeName(descriptorPath(code->get())));
    QVERIFY(loaded.open(QIODevice::ReadOnly));
    QCOMPARE(loaded.readAll(), "code");
}

void FileOpsTest::makeSubfolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("made");

    QTest::newRow("favourites") << u"Favorite Midi"_s << true;
    QTest::newRow("staging") << u"BackDir"_s << true;
    QTest::newRow("spaces only") << u"   "_s << true;
    QTest::newRow("already there") << u"TempDir"_s << false;
    QTest::newRow("name of a file") << u"taken.txt"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("dot-dot") << u".."_s << false;
    QTest::newRow("outside") << u"../Escape"_s << false;
    QTest::newRow("nested") << u"a/b"_s << false;
    QTest::newRow("NUL") << (u"New"_s + QChar(0) + u"x"_s) << false;
    QTest::newRow("300 characters") << QString(300, u'n') << false;
}

void FileOpsTest::makeSubfolder() {
    QFETCH(QString, name);
    QFETCH(bool, made);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString prog = tmp.filePath(u"prog"_s);
    QVERIFY(QDir().mkpath(prog + u"/TempDir"_s));
    QVERIFY(writeFile(prog + u"/TempDir/JUMP.WAV"_s, pattern(3, 1000), 0644));
    QVERIFY(QDir().mkpath(prog + u"/a"_s));
    QVERIFY(writeFile(prog + u"/taken.txt"_s, pattern(5, 10), 0644));

    const Tree before = snapshot(tmp.path());
    ProgramFolder(prog).makeSubfolder(name);
    Tree after = snapshot(tmp.path());

    if (made) {
        const auto node = after.extract(u"prog/"_s + name);
        QVERIFY2(!node.empty(), "folder not made");
        QCOMPARE(node.mapped().kind, 'd');
        QCOMPARE(node.mapped().mode, uint(0777 & ~currentUmask()));
    }
    QVERIFY2(after == before, qPrintable(difference(before, after)));
}

void FileOpsTest::makeSubfolderInMissingProgramFolder() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    ProgramFolder(tmp.filePath(u"none"_s)).makeSubfolder(u"TempDir"_s);
    QVERIFY(snapshot(tmp.path()).empty());
}

void FileOpsTest::programFolderPath_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");

    QTest::newRow("plain") << u"/home/u/.local/share/Tunevane"_s
                           << u"/home/u/.local/share/Tunevane"_s;
    QTest::newRow("trailing slash") << u"/opt/tv/"_s << u"/opt/tv"_s;
    QTest::newRow("trailing slashes") << u"/opt/tv///"_s << u"/opt/tv"_s;
    QTest::newRow("root") << u"/"_s << u"/"_s;
    QTest::newRow("root spelled twice") << u"//"_s << u"/"_s;
    QTest::newRow("relative") << u"tv/"_s << u"tv"_s;
    QTest::newRow("inner slashes kept") << u"/opt//tv"_s << u"/opt//tv"_s;
}

void FileOpsTest::programFolderPath() {
    QFETCH(QString, given);
    QFETCH(QString, stored);
    QCOMPARE(ProgramFolder(given).path(), stored);
}

void FileOpsTest::filePath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("joined");

    QTest::newRow("staging") << u"/home/u/tv"_s << u"/TempDir/"_s << u"JUMP.WAV"_s
                             << u"/home/u/tv/TempDir/JUMP.WAV"_s;
    QTest::newRow("favourites") << u"/home/u/tv/"_s << u"/Favorite Midi/"_s << u"a b.mid"_s
                                << u"/home/u/tv/Favorite Midi/a b.mid"_s;
    QTest::newRow("at the root") << u"/"_s << u"/BackDir/"_s << u"X.WAV"_s << u"//BackDir/X.WAV"_s;
    QTest::newRow("name kept as given")
        << u"/p"_s << u"/TempDir/"_s << u" odd\\Name.Wav "_s << u"/p/TempDir/ odd\\Name.Wav "_s;
}

void FileOpsTest::filePath() {
    QFETCH(QString, folder);
    QFETCH(QString, literal);
    QFETCH(QString, name);
    QFETCH(QString, joined);
    QCOMPARE(ProgramFolder(folder).filePath(literal, name), joined);
}

void FileOpsTest::standardLocation() {
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(u"Tunevane"_s);
    const QString wanted = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(!wanted.isEmpty());
    // Test mode keeps this away from the user's real folder.
    QVERIFY(QDir(wanted).removeRecursively());
    QCOMPARE(ProgramFolder::standardLocation(), wanted);
    QVERIFY(QFileInfo(wanted).isDir());
}

QTEST_GUILESS_MAIN(FileOpsTest)

#include "FileOpsTest.moc"
