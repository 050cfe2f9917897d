// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/FileOps.h"

#include "Snapshot.h"
#include "TestSupport.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <tuple>

using namespace tunevane::files;
using namespace filetests;

namespace {

// A forked child copies as another user; its exit code says what copyFileTo answered.
constexpr int childAnswered = 10; // + the Failure
constexpr int childNoUser = 9;
// As a destination mode: no destination file at all.
constexpr mode_t noFile = 010000;

// One copy and all around it. Before a row's arrangement runs, src/NEW.WAV holds `newBytes`
// and game/GAME.WAV the old bytes with the row's mode (unless it is noFile); real/ is empty.
struct Scene {
    QString root, src, game, real;
    mode_t destMode = 0;
    testsupport::Mount* mount = nullptr;
    QString source;
    QString destination;
    QByteArray newBytes;
    QString changed; // relative path of the file that takes the new bytes; empty: none does
    uint expectedMode = 0;
    std::optional<std::pair<uint, uint>> owner; // unset: the old file's owner
    std::optional<QByteArray> acl;              // unset: the old file's list
    bool unprivileged = false;
    CopyHooks hooks;     // changes the source mid-copy, or takes another file system's path
    QStringList touched; // names whose change time moves with the old file's link count
    QString logged;      // what the log must say; empty: nothing on success, a failure's path
    QString skip;
};

// What a row does to the scene before the copy; false when it could not.
using Arrange = std::function<bool(Scene&)>;

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

bool prepare(Scene& scene, const QString& root, mode_t destMode, testsupport::Mount& mount,
             const Arrange& arrange) {
    scene.root = root;
    scene.destMode = destMode;
    scene.mount = &mount;
    scene.src = scene.root + u"/src";
    scene.game = scene.root + u"/game";
    scene.real = scene.root + u"/real";
    scene.newBytes = pattern(2, 70'001);
    scene.source = scene.src + u"/NEW.WAV";
    scene.destination = scene.game + u"/GAME.WAV";
    scene.changed = QStringLiteral("game/GAME.WAV");
    scene.expectedMode =
        scene.destMode != noFile ? scene.destMode & 0777 : (0644 & ~currentUmask());
    return QDir().mkpath(scene.src) && QDir().mkpath(scene.game) && QDir().mkpath(scene.real) &&
           writeFile(scene.source, scene.newBytes) &&
           (scene.destMode == noFile ||
            writeFile(scene.destination, pattern(1, 40'000), scene.destMode)) &&
           (!arrange || arrange(scene));
}

// A tmpfs over `folder`; false, with the row skipped, where none can be mounted.
bool mounted(Scene& s, const QString& folder, const char* options) {
    if (!s.mount->mount(folder, options))
        s.skip = QString::fromUtf8(s.mount->why());
    return s.skip.isEmpty();
}

// A source of `size` bytes, on a tmpfs of its own when `options` says how big.
Arrange source(qsizetype size, const char* options = nullptr) {
    return [=](Scene& s) {
        if (options && !mounted(s, s.src, options))
            return true;
        s.newBytes = pattern(2, size);
        return writeFile(s.source, s.newBytes);
    };
}

// The source or the destination as `name` under the root, or empty.
Arrange named(QString Scene::*path, const QString& name) {
    return [=](Scene& s) {
        s.*path = name.isEmpty() ? QString() : s.root + name;
        return true;
    };
}

// The source is the destination, which nothing changes.
Arrange sameFile(bool doubledSlashes) {
    return [=](Scene& s) {
        s.source = s.destination;
        if (doubledSlashes)
            s.destination = u'/' + s.root + u"//game//GAME.WAV";
        s.changed.clear();
        return true;
    };
}

// The game file moved to real/ and named by a link (or a chain of two) at its old place.
Arrange linked(bool chain) {
    return [=](Scene& s) {
        s.changed = QStringLiteral("real/GAME.WAV");
        const QString target = s.real + u"/GAME.WAV";
        return (s.destMode == noFile || QFile::rename(s.destination, target)) &&
               (chain ? makeLink(QStringLiteral("NEXT.WAV"), s.destination) &&
                            makeLink(target, s.game + u"/NEXT.WAV")
                      : makeLink(QStringLiteral("../real/GAME.WAV"), s.destination));
    };
}

// Copied by a process without root, which `path` under the root, with `mode`, may stop.
Arrange unprivileged(const QString& path, mode_t mode) {
    return [=](Scene& s) {
        s.unprivileged = true;
        return setMode(s.root, 0755) && setMode(s.root + path, mode);
    };
}

Arrange beforeRead(std::function<void(const QString&)> change) {
    return [=](Scene& s) {
        s.hooks.beforeRead = change;
        return true;
    };
}

// `text` set on the destination (a file's list) or on its folder (a default list).
Arrange accessList(bool folder, const char* text) {
    return [=](Scene& s) {
        const acl_t acl = ::acl_from_text(text);
        const int set = ::acl_set_file(QFile::encodeName(folder ? s.game : s.destination),
                                       folder ? ACL_TYPE_DEFAULT : ACL_TYPE_ACCESS, acl);
        ::acl_free(acl);
        if (set != 0)
            s.skip = QStringLiteral("no access lists on this filesystem");
        return true;
    };
}

} // namespace

Q_DECLARE_METATYPE(Arrange)
Q_DECLARE_METATYPE(Failure)

class FileOpsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyFileToReplacesOrRefuses_data() {
        QTest::addColumn<int>("destMode");
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<Arrange>("arrange");
        const auto row = [](const char* tag, int destMode, Failure failure, Arrange arrange = {}) {
            QTest::newRow(tag) << destMode << failure << arrange;
        };
        const int none = int(noFile);

        row("replace keeps the mode", 0640, Failure::None);
        row("replace keeps an odd mode", 0604, Failure::None);
        row("write-only file is not read-only", 0200, Failure::None);
        row("new destination", none, Failure::None);
        row("empty source file", 0644, Failure::None, source(0));
        row("source larger than a buffer", 0644, Failure::None, source(3 * 1024 * 1024 + 17));
        // The kernel copies only within one kind of filesystem; plain reads and writes take
        // over.
        row("source on another filesystem", 0644, Failure::None,
            source(3 * 1024 * 1024 + 17, "size=16m"));
        row("root keeps the owner", 0644, Failure::None, [](Scene& s) {
            if (::geteuid() != 0)
                s.skip = QStringLiteral("only root can give a file to another user");
            return !s.skip.isEmpty() ||
                   ::chown(QFile::encodeName(s.destination), nobody, nobody) == 0;
        });
        row("set-id bits are not kept", 06755, Failure::None);
        // The list's mask shows as the mode's group bits: 0640 becomes 0660.
        row("access list kept, group not widened", 0640, Failure::None, [](Scene& s) {
            s.expectedMode = 0660;
            return accessList(false, "u::rw-,u:65534:rw-,g::r--,m::rw-,o::---")(s);
        });
        row("a hard link keeps the old bytes", 0640, Failure::None, [](Scene& s) {
            s.touched = {QStringLiteral("real/OTHER.WAV")};
            return ::link(QFile::encodeName(s.destination),
                          QFile::encodeName(s.real + u"/OTHER.WAV")) == 0;
        });

        row("read-only destination 0444", 0444, Failure::ReadOnly);
        row("read-only destination 0400", 0400, Failure::ReadOnly);
        row("read-only destination 0000", 0000, Failure::ReadOnly);
        row("source missing", 0644, Failure::SourceMissing,
            [](Scene& s) { return QFile::remove(s.source); });
        row("source is a folder", 0644, Failure::SourceUnreadable,
            [](Scene& s) { return QFile::remove(s.source) && QDir().mkpath(s.source); });
        row("source is a fifo", 0644, Failure::SourceUnreadable, [](Scene& s) {
            return QFile::remove(s.source) && ::mkfifo(QFile::encodeName(s.source), 0644) == 0;
        });
        row("source unreadable", 0666, Failure::SourceUnreadable,
            unprivileged(QStringLiteral("/src/NEW.WAV"), 0000));
        row("source path empty", 0644, Failure::NoSource, named(&Scene::source, {}));
        // Cut at the NUL, this would name the real source file.
        row("source path holds NUL", 0644, Failure::Other,
            named(&Scene::source, u"/src/NEW.WAV" + QChar(0) + u"/ignored"));
        row("destination path empty", 0644, Failure::NoDestination, named(&Scene::destination, {}));
        row("destination path holds NUL", 0644, Failure::Other,
            named(&Scene::destination, u"/game/GAME.WAV" + QChar(0) + u".bak"));
        row("destination folder missing", 0644, Failure::FolderMissing,
            named(&Scene::destination, QStringLiteral("/game/Missing/GAME.WAV")));
        row("destination parent is a file", 0644, Failure::FolderMissing,
            named(&Scene::destination, QStringLiteral("/game/GAME.WAV/NEW.WAV")));
        row("destination is a folder", 0644, Failure::Other, [](Scene& s) {
            s.destination = s.game + u"/MUSIC.WAV";
            return QDir().mkpath(s.destination);
        });
        row("destination with trailing slash", 0644, Failure::Other,
            named(&Scene::destination, QStringLiteral("/game/GAME.WAV/")));
        row("destination folder not writable", 0666, Failure::FolderNotWritable,
            unprivileged(QStringLiteral("/game"), 0555));
        row("disk full", 0644, Failure::DiskFull, [](Scene& s) {
            return !mounted(s, s.game, "size=1m") ||
                   (writeFile(s.destination, pattern(1, 40'000)) && source(2 * 1024 * 1024)(s));
        });
        const Arrange shrinks = beforeRead([](const QString& source) {
            (void)::truncate(QFile::encodeName(source).constData(), 1000);
        });
        row("source shrinks while read", 0644, Failure::SourceChanged, shrinks);
        row("source shrinks, no old file", none, Failure::SourceChanged, shrinks);
        row("source grows while read", 0644, Failure::SourceChanged,
            beforeRead([](const QString& source) {
                QFile file(source);
                if (file.open(QIODevice::Append))
                    file.write("more");
            }));
        // Rewritten in place at the same size; only the time tells.
        row("source rewritten while read", 0644, Failure::SourceChanged,
            beforeRead([](const QString& source) {
                const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
                (void)::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0);
            }));
        // As touch -r or rsync --inplace -t leave it: other bytes, the old times.
        row("source rewritten, its times restored", 0644, Failure::SourceChanged,
            beforeRead([](const QString& source) {
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
            }));
        // Proves that the child can copy at all, so its refusals mean something. Root's group
        // cannot be kept, and its bits must not go to nobody's group.
        row("unprivileged replace, group not kept", 0666, Failure::None, [](Scene& s) {
            if (::geteuid() == 0) {
                s.owner = std::pair{uint(nobody), uint(nobody)};
                s.expectedMode &= ~0070U;
            }
            return unprivileged(QStringLiteral("/game"), 0777)(s);
        });
        // A folder's default list names others; a file's list has a mask below its group.
        row("a folder's default list is not inherited", 0640, Failure::None, [](Scene& s) {
            s.acl = QByteArray();
            return accessList(true, "u::rwx,g::r-x,o::r-x,u:1001:rwx,g:1002:rw-,m::rwx")(s);
        });
        row("a list that cannot be set: the mask holds", 0640, Failure::None, [](Scene& s) {
            s.acl = QByteArray();
            s.hooks.accessListsRefused = true;
            s.logged = QStringLiteral("access list");
            return accessList(false, "u::rw-,g::rw-,m::r--,o::---")(s);
        });
        const Arrange namedTemporary = [](Scene& s) {
            s.hooks.namedTemporaries = true;
            return true;
        };
        row("named temporary", 0640, Failure::None, namedTemporary);
        row("named temporary, new destination", none, Failure::None, namedTemporary);
        // As sshfs shows a rewrite within the second: same size, same times. Only the bytes
        // can tell, so the log must speak of them.
        row("source rewritten within its times", 0644, Failure::SourceChanged, [](Scene& s) {
            s.logged = QStringLiteral("bytes");
            s.hooks.afterRead = [](const QString& source) {
                QFile file(source);
                if (file.open(QIODevice::ReadWrite))
                    file.write(pattern(3, 100));
            };
            return true;
        });

        row("same file", 0640, Failure::None, sameFile(false));
        row("same read-only file", 0444, Failure::None, sameFile(false));
        row("same file, doubled slashes", 0640, Failure::None, sameFile(true));
        row("same file through a linked source", 0640, Failure::None, [](Scene& s) {
            s.changed.clear();
            s.source = s.src + u"/LINK.WAV";
            return makeLink(QStringLiteral("../game/GAME.WAV"), s.source);
        });
        row("same file through a hard link", 0640, Failure::None, [](Scene& s) {
            s.changed.clear();
            s.source = s.src + u"/HARD.WAV";
            return ::link(QFile::encodeName(s.destination), QFile::encodeName(s.source)) == 0;
        });

        row("linked destination", 0640, Failure::None, linked(false));
        row("chain of links", 0640, Failure::None, linked(true));
        row("dangling link", none, Failure::None, linked(false));
        row("link to a read-only file", 0444, Failure::ReadOnly, linked(false));
    }

    void copyFileToReplacesOrRefuses() {
        QFETCH(int, destMode);
        QFETCH(Failure, failure);
        QFETCH(Arrange, arrange);
        const bool copies = failure == Failure::None;

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        testsupport::Mount mount;
        // A non-root run could not delete a folder it made unwritable.
        const auto restore = qScopeGuard([&] { setMode(tmp.path() + u"/game", 0755); });
        Scene scene;
        QVERIFY(prepare(scene, tmp.path(), mode_t(destMode), mount, arrange));
        if (!scene.skip.isEmpty())
            QSKIP(qPrintable(scene.skip));

        const Tree before = snapshot(tmp.path());
        fileWarnings().clear();
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
            // The log gives the real cause: the path, and for a full disk the system's word
            // for it.
            const QString cause = failure == Failure::DiskFull
                                      ? QString::fromLocal8Bit(std::strerror(ENOSPC))
                                  : scene.logged.isEmpty() ? tmp.path()
                                                           : scene.logged;
            const QStringList& lines = fileWarnings();
            const bool named = std::any_of(lines.cbegin(), lines.cend(), [&](const QString& line) {
                return line.contains(cause);
            });
            QVERIFY2(copies && scene.logged.isEmpty() ? lines.isEmpty() : named,
                     qPrintable(lines.join(u'\n')));
        }

        Tree expected = before;
        if (scene.hooks.beforeRead || scene.hooks.afterRead)
            expected[QStringLiteral("src/NEW.WAV")] = after.at(QStringLiteral("src/NEW.WAV"));
        for (const QString& name : scene.touched)
            expected[name].ctimeNs = after.at(name).ctimeNs;
        if (copies && !scene.changed.isEmpty()) {
            QVERIFY2(after.contains(scene.changed), qPrintable(scene.changed));
            const Entry& now = after.at(scene.changed);
            // A new file: its inode and change time are whatever they are.
            Entry entry = now;
            entry.kind = 'f';
            entry.content = now.content == unreadable ? unreadable : scene.newBytes;
            entry.size = scene.newBytes.size();
            entry.mode = scene.expectedMode;
            const auto old = before.find(scene.changed);
            std::tie(entry.uid, entry.gid) = scene.owner.value_or(
                old != before.end() ? std::pair{old->second.uid, old->second.gid}
                                    : std::pair{uint(::geteuid()), uint(::getegid())});
            entry.acl = scene.acl.value_or(old != before.end() ? old->second.acl : QByteArray());
            expected[scene.changed] = entry;
        }
        QVERIFY2(after == expected, qPrintable(difference(expected, after)));
    }

    void copyRunStopsAtFirstFailure_data() {
        QTest::addColumn<int>("pairCount");
        QTest::addColumn<int>("broken");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<Failure>("failure");

        QTest::newRow("all copied") << 4 << -1 << QString() << Failure::None;
        QTest::newRow("no pairs") << 0 << -1 << QString() << Failure::None;
        QTest::newRow("first source empty")
            << 4 << 0 << QStringLiteral("empty source") << Failure::NoSource;
        QTest::newRow("second source missing")
            << 4 << 1 << QStringLiteral("missing source") << Failure::SourceMissing;
        QTest::newRow("third destination read-only")
            << 4 << 2 << QStringLiteral("read-only") << Failure::ReadOnly;
        QTest::newRow("last destination folder missing")
            << 4 << 3 << QStringLiteral("missing folder") << Failure::FolderMissing;
        QTest::newRow("empty pair in the middle")
            << 4 << 1 << QStringLiteral("empty pair") << Failure::NoSource;
    }

    void copyRunStopsAtFirstFailure() {
        QFETCH(int, pairCount);
        QFETCH(int, broken);
        QFETCH(QString, fault);
        QFETCH(Failure, failure);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QList<CopyPair> pairs;
        for (int i = 0; i < pairCount; ++i) {
            CopyPair pair{tmp.filePath(QStringLiteral("new%1.wav").arg(i)),
                          tmp.filePath(QStringLiteral("GAME%1.WAV").arg(i))};
            QVERIFY(writeFile(pair.source, pattern(100 + i, 5000 + i)));
            QVERIFY(writeFile(pair.destination, pattern(200 + i, 3000 + i)));
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
                pair.destination = tmp.filePath(QStringLiteral("none/GAME.WAV"));
            else if (fault == u"empty pair")
                pair = CopyPair{};
        }

        const qsizetype expected = broken >= 0 ? broken : pairCount;
        const RunResult run = copyRun(pairs);
        QCOMPARE(run.copied, expected);
        QCOMPARE(run.failure, failure);
        for (int i = 0; i < pairCount; ++i) {
            const QByteArray wanted =
                i < expected ? pattern(100 + i, 5000 + i) : pattern(200 + i, 3000 + i);
            QVERIFY2(readFile(tmp.filePath(QStringLiteral("GAME%1.WAV").arg(i))) == wanted,
                     qPrintable(QStringLiteral("pair %1").arg(i)));
        }
    }
};

QTEST_GUILESS_MAIN(FileOpsTest)
#include "FileOpsTest.moc"
