// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/ProgramFolder.h"

#include "Snapshot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tunevane::files;
using namespace filetests;

class ProgramFolderTest : public QObject {
    Q_OBJECT

    // A program folder "prog": a staging folder and "Taken" that hold a file each, the empty
    // folders "a" and "Empty", and a file "taken.txt".
    static QString makeProgramFolder(const QTemporaryDir& tmp) {
        const QString prog = tmp.filePath(QStringLiteral("prog"));
        for (const char* folder : {"TempDir", "Taken", "a", "Empty"})
            QDir().mkpath(prog + u'/' + QLatin1StringView(folder));
        return writeFile(prog + u"/TempDir/JUMP.WAV", pattern(3, 1000)) &&
                       writeFile(prog + u"/Taken/keep.txt", pattern(4, 10)) &&
                       writeFile(prog + u"/taken.txt", pattern(5, 10))
                   ? prog
                   : QString();
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void renameSubfolder_data() {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("renamed");
        const auto row = [](const char* tag, QStringView oldName, QStringView newName,
                            bool renamed) {
            QTest::newRow(tag) << oldName.toString() << newName.toString() << renamed;
        };
        const QStringView staging = u"TempDir";
        row("dot-dot", staging, u"..", false);
        row("dot", staging, u".", false);
        row("empty", staging, {}, false);
        row("into a subfolder", staging, u"a/b", false);
        row("out of the program folder", staging, u"../x", false);
        row("trailing slash", staging, u"Set/", false);
        row("NUL", staging, QString(u"Set" + QChar(0) + u"x"), false);
        row("300 characters", staging, QString(300, u'n'), false);
        row("existing folder", staging, u"Taken", false);
        row("existing empty folder", staging, u"Empty", false);
        row("existing file", staging, u"taken.txt", false);
        row("its own name", staging, staging, false);
        row("old missing", u"Gone", u"Set", false);
        row("old empty", {}, u"Set", false);
        row("old dot-dot", u"..", u"Set", false);
        row("old outside", u"../prog/TempDir", u"Set", false);
        row("old is a file", u"taken.txt", u"Set", false);

        row("plain", staging, u"Mario Sounds", true);
        row("leading spaces", staging, u"  Set", true);
        row("trailing spaces", staging, u"Set  ", true);
        row("inner spaces", staging, u"My   Set", true);
        row("spaces only", staging, u"   ", true);
        row("letter case differs", staging, u"tempdir", true);
        row("255 characters", staging, QString(255, u'n'), true);
        row("non-ASCII", staging, u"Füße ♪", true);
        row("backslash", staging, u"a\\b", true);
        row("hidden", staging, u".set", true);
    }

    void renameSubfolder() {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(bool, renamed);

        QTemporaryDir tmp;
        const QString prog = makeProgramFolder(tmp);
        QVERIFY(!prog.isEmpty());

        const Tree before = snapshot(tmp.path());
        fileWarnings().clear();
        QCOMPARE(ProgramFolder(prog).renameSubfolder(oldName, newName), renamed);
        QCOMPARE(fileWarnings().size(), renamed ? 0 : 1);
        const Tree after = snapshot(tmp.path());

        const Tree expected =
            renamed ? moved(before, u"prog/" + oldName, u"prog/" + newName) : before;
        QVERIFY2(after == expected, qPrintable(difference(expected, after)));
    }

    void setAsideUnlessEmpty_data() {
        QTest::addColumn<QString>("left");  // what stands under "BackDir" beforehand
        QTest::addColumn<QString>("aside"); // where it is afterwards; empty: where it was
        const QString stamp = QStringLiteral("BackDir unfinished 2026-12-08 14.03.22");
        QTest::newRow("nothing") << QStringLiteral("nothing") << QString();
        QTest::newRow("an empty folder") << QStringLiteral("empty") << QString();
        QTest::newRow("a folder with files") << QStringLiteral("files") << stamp;
        QTest::newRow("its dated name taken")
            << QStringLiteral("files taken") << stamp + QStringLiteral(" 2");
        QTest::newRow("a file") << QStringLiteral("file") << stamp;
        QTest::newRow("a link, moved and not followed") << QStringLiteral("link") << stamp;
    }

    // What an abandoned backup left is moved whole, byte for byte, and nothing else moves.
    void setAsideUnlessEmpty() {
        QFETCH(QString, left);
        QFETCH(QString, aside);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString prog = tmp.filePath(QStringLiteral("prog"));
        const QString staging = prog + u"/BackDir";
        QVERIFY(QDir().mkpath(prog));
        if (left == u"empty" || left.startsWith(u"files"))
            QVERIFY(
                QDir().mkpath(staging + (left == u"empty" ? QString() : QStringLiteral("/sub"))));
        if (left.startsWith(u"files"))
            QVERIFY(writeFile(staging + u"/sub/JUMP.WAV", pattern(6, 900), 0640));
        if (left == u"files taken" || left == u"file")
            QVERIFY(writeFile(left == u"file" ? staging : prog + u'/' + aside.chopped(2), "x"));
        if (left == u"link")
            QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("elsewhere"))) &&
                    makeLink(tmp.filePath(QStringLiteral("elsewhere")), staging));

        const Tree before = snapshot(tmp.path());
        const QDateTime now(QDate(2026, 12, 8), QTime(14, 3, 22));
        QCOMPARE(ProgramFolder(prog).setAsideUnlessEmpty(QStringLiteral("BackDir"), now),
                 Failure::None);
        const Tree after = snapshot(tmp.path());

        const QString to = u"prog/" + aside;
        Tree expected =
            aside.isEmpty() ? before : moved(before, QStringLiteral("prog/BackDir"), to);
        // A rename moves the change time of what it renames.
        if (!aside.isEmpty() && after.contains(to))
            expected[to].ctimeNs = after.at(to).ctimeNs;
        QVERIFY2(after == expected, qPrintable(difference(expected, after)));
    }

    void makeSubfolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("made");
        const auto row = [](const char* tag, QStringView name, bool made) {
            QTest::newRow(tag) << name.toString() << made;
        };
        row("favourites", u"Favorite Midi", true);
        row("staging", u"BackDir", true);
        row("spaces only", u"   ", true);
        row("already there", u"TempDir", false);
        row("name of a file", u"taken.txt", false);
        row("empty", {}, false);
        row("dot", u".", false);
        row("dot-dot", u"..", false);
        row("outside", u"../Escape", false);
        row("nested", u"a/b", false);
        row("NUL", QString(u"New" + QChar(0) + u"x"), false);
        row("300 characters", QString(300, u'n'), false);
    }

    void makeSubfolder() {
        QFETCH(QString, name);
        QFETCH(bool, made);

        QTemporaryDir tmp;
        const QString prog = makeProgramFolder(tmp);
        QVERIFY(!prog.isEmpty());

        const Tree before = snapshot(tmp.path());
        ProgramFolder(prog).makeSubfolder(name);
        Tree after = snapshot(tmp.path());

        if (made) {
            const auto node = after.extract(QStringLiteral("prog/") + name);
            QVERIFY2(!node.empty(), "folder not made");
            QCOMPARE(node.mapped().kind, 'd');
            QCOMPARE(node.mapped().mode, uint(0777 & ~currentUmask()));
        }
        QVERIFY2(after == before, qPrintable(difference(before, after)));
    }

    // Neither makes the program folder that is not there, nor anything in it.
    void missingProgramFolder() {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const ProgramFolder missing(tmp.filePath(QStringLiteral("none")));
        QVERIFY(!missing.renameSubfolder(QStringLiteral("TempDir"), QStringLiteral("Set")));
        missing.makeSubfolder(QStringLiteral("TempDir"));
        QVERIFY(snapshot(tmp.path()).empty());
    }

    void programFolderPath_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* tag, QStringView given, QStringView stored) {
            QTest::newRow(tag) << given.toString() << stored.toString();
        };
        row("plain", u"/home/u/.local/share/Tunevane", u"/home/u/.local/share/Tunevane");
        row("trailing slash", u"/opt/tv/", u"/opt/tv");
        row("trailing slashes", u"/opt/tv///", u"/opt/tv");
        row("root", u"/", u"/");
        row("root spelled twice", u"//", u"/");
        row("relative", u"tv/", u"tv");
        row("inner slashes kept", u"/opt//tv", u"/opt//tv");
    }

    void programFolderPath() {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QCOMPARE(ProgramFolder(given).path(), stored);
    }

    void filePath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("joined");
        const auto row = [](const char* tag, QStringView folder, QStringView literal,
                            QStringView name, QStringView joined) {
            QTest::newRow(tag) << folder.toString() << literal.toString() << name.toString()
                               << joined.toString();
        };
        row("staging", u"/home/u/tv", u"/TempDir/", u"JUMP.WAV", u"/home/u/tv/TempDir/JUMP.WAV");
        row("favourites", u"/home/u/tv/", u"/Favorite Midi/", u"a b.mid",
            u"/home/u/tv/Favorite Midi/a b.mid");
        row("at the root", u"/", u"/BackDir/", u"X.WAV", u"//BackDir/X.WAV");
        row("name kept as given", u"/p", u"/TempDir/", u" odd\\Name.Wav ",
            u"/p/TempDir/ odd\\Name.Wav ");
    }

    void filePath() {
        QFETCH(QString, folder);
        QFETCH(QString, literal);
        QFETCH(QString, name);
        QFETCH(QString, joined);
        QCOMPARE(ProgramFolder(folder).filePath(literal, name), joined);
    }

    void standardLocation() {
        QCoreApplication::setOrganizationName(QString());
        QCoreApplication::setApplicationName(QStringLiteral("Tunevane"));
        const QString wanted = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QVERIFY(!wanted.isEmpty());
        // Test mode keeps this away from the user's real folder.
        QVERIFY(QDir(wanted).removeRecursively());
        QCOMPARE(ProgramFolder::standardLocation(), wanted);
        QVERIFY(QFileInfo(wanted).isDir());
    }
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "ProgramFolderTest.moc"
