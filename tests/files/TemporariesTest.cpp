// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/FileOps.h"

#include "Snapshot.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/xattr.h>

using namespace tunevane::files;
using namespace filetests;

enum class Leftover { File, Unmarked, Locked, HardLinked, Link, Folder, Killed, KilledNamed };
Q_DECLARE_METATYPE(Leftover)

// The names copyFileTo gives its temporaries, and which of them the next copy removes.
class TemporariesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void temporaryNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("temporary");

        QTest::newRow("temporary") << QStringLiteral(".tunevane-aZ09xy.part") << true;
        QTest::newRow("game file") << QStringLiteral("JUMP.WAV") << false;
        QTest::newRow("short random part") << QStringLiteral(".tunevane-aZ09x.part") << false;
        QTest::newRow("long random part") << QStringLiteral(".tunevane-aZ09xyz.part") << false;
        QTest::newRow("other suffix") << QStringLiteral(".tunevane-aZ09xy.wav") << false;
        QTest::newRow("prefixed") << QStringLiteral("x.tunevane-aZ09xy.part") << false;
        QTest::newRow("not hidden") << QStringLiteral("tunevane-aZ09xy.part") << false;
        QTest::newRow("odd character") << QStringLiteral(".tunevane-aZ09x!.part") << false;
        QTest::newRow("with a folder") << QStringLiteral("/tmp/.tunevane-aZ09xy.part") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void temporaryNames() {
        QFETCH(QString, name);
        QFETCH(bool, temporary);
        QCOMPARE(isTemporaryName(name), temporary);
    }

    void staleTemporaries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Leftover>("leftover");
        QTest::addColumn<bool>("removed");

        const QString temporary = QStringLiteral(".tunevane-Ab12cd.part");
        QTest::newRow("a killed copy's temporary") << temporary << Leftover::File << true;
        QTest::newRow("a user's file named like ours") << temporary << Leftover::Unmarked << false;
        // Killed with the new bytes written: an unnamed file leaves nothing, a named one is
        // marked.
        QTest::newRow("a copy killed while writing") << QString() << Leftover::Killed << false;
        QTest::newRow("a copy killed while writing a named temporary")
            << QString() << Leftover::KilledNamed << true;
        QTest::newRow("a running copy's temporary") << temporary << Leftover::Locked << false;
        QTest::newRow("a temporary with a second name")
            << temporary << Leftover::HardLinked << false;
        QTest::newRow("a link named like a temporary") << temporary << Leftover::Link << false;
        QTest::newRow("a folder named like a temporary") << temporary << Leftover::Folder << false;
        QTest::newRow("a near miss")
            << QStringLiteral(".tunevane-Ab12c.part") << Leftover::File << false;
        QTest::newRow("another suffix")
            << QStringLiteral(".tunevane-Ab12cd.wav") << Leftover::File << false;
        QTest::newRow("a user's file") << QStringLiteral("notes.part") << Leftover::File << false;
    }

    void staleTemporaries() {
        QFETCH(QString, name);
        QFETCH(Leftover, leftover);
        QFETCH(bool, removed);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("game"))) &&
                QDir().mkpath(tmp.filePath(QStringLiteral("keep"))));
        const QString source = tmp.filePath(QStringLiteral("NEW.WAV"));
        const QString destination = tmp.filePath(QStringLiteral("game/GAME.WAV"));
        const QString candidate = tmp.filePath(u"game/" + name);
        const QByteArray encoded = QFile::encodeName(candidate);
        QVERIFY(writeFile(source, pattern(2, 5000)));
        QVERIFY(writeFile(destination, pattern(1, 3000)));
        QFile held(candidate);
        switch (leftover) {
        case Leftover::File:
        case Leftover::Locked:
        case Leftover::HardLinked:
        case Leftover::Unmarked:
            QVERIFY(writeFile(candidate, pattern(3, 700)));
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
            QCOMPARE(QDir(tmp.filePath(QStringLiteral("game")))
                         .entryList(QDir::Files | QDir::Hidden)
                         .filter(QStringLiteral(".tunevane-"))
                         .size(),
                     leftover == Leftover::KilledNamed ? 1 : 0);
            break;
        }
        case Leftover::Link:
            QVERIFY(writeFile(tmp.filePath(QStringLiteral("keep/target")), pattern(3, 700)));
            QVERIFY(makeLink(QStringLiteral("../keep/target"), candidate));
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
            QCOMPARE(::link(encoded.constData(),
                            QFile::encodeName(tmp.filePath(QStringLiteral("keep/x")))),
                     0);

        const Tree before = snapshot(tmp.path());
        QCOMPARE(copyFileTo(source, destination), Failure::None);
        Tree after = snapshot(tmp.path());

        Tree expected = before;
        if (removed)
            std::erase_if(expected,
                          [](const auto& entry) { return entry.first.contains(u"/.tunevane-"); });
        QCOMPARE(after.at(QStringLiteral("game/GAME.WAV")).content, pattern(2, 5000));
        expected[QStringLiteral("game/GAME.WAV")] = after.at(QStringLiteral("game/GAME.WAV"));
        QVERIFY2(after == expected, qPrintable(difference(expected, after)));
    }
};

QTEST_GUILESS_MAIN(TemporariesTest)
#include "TemporariesTest.moc"
