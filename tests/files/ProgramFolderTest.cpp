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

    // A program folder "prog" with a staging folder that holds a file, a folder "a" and a
    // file "taken.txt"; `more` adds "Taken" with a file and an empty "Empty".
    static QString makeProgramFolder(const QTemporaryDir& tmp, bool more) {
        const QString prog = tmp.filePath(QStringLiteral("prog"));
        const bool made =
            QDir().mkpath(prog + QStringLiteral("/TempDir")) &&
            writeFile(prog + QStringLiteral("/TempDir/JUMP.WAV"), pattern(3, 1000)) &&
            QDir().mkpath(prog + QStringLiteral("/a")) &&
            writeFile(prog + QStringLiteral("/taken.txt"), pattern(5, 10)) &&
            (!more || (QDir().mkpath(prog + QStringLiteral("/Taken")) &&
                       writeFile(prog + QStringLiteral("/Taken/keep.txt"), pattern(4, 10)) &&
                       QDir().mkpath(prog + QStringLiteral("/Empty"))));
        return made ? prog : QString();
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void renameSubfolder_data() {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("renamed");

        const QString staging = QStringLiteral("TempDir");
        const auto row = [&](const char* tag, const QString& newName, bool renamed) {
            QTest::newRow(tag) << staging << newName << renamed;
        };
        row("dot-dot", QStringLiteral(".."), false);
        row("dot", QStringLiteral("."), false);
        row("empty", QString(), false);
        row("into a subfolder", QStringLiteral("a/b"), false);
        row("out of the program folder", QStringLiteral("../x"), false);
        row("trailing slash", QStringLiteral("Set/"), false);
        row("NUL", QStringLiteral("Set") + QChar(0) + QStringLiteral("x"), false);
        row("300 characters", QString(300, u'n'), false);
        row("existing folder", QStringLiteral("Taken"), false);
        row("existing empty folder", QStringLiteral("Empty"), false);
        row("existing file", QStringLiteral("taken.txt"), false);
        row("its own name", staging, false);
        QTest::newRow("old missing") << QStringLiteral("Gone") << QStringLiteral("Set") << false;
        QTest::newRow("old empty") << QString() << QStringLiteral("Set") << false;
        QTest::newRow("old dot-dot") << QStringLiteral("..") << QStringLiteral("Set") << false;
        QTest::newRow("old outside")
            << QStringLiteral("../prog/TempDir") << QStringLiteral("Set") << false;
        QTest::newRow("old is a file")
            << QStringLiteral("taken.txt") << QStringLiteral("Set") << false;

        row("plain", QStringLiteral("Mario Sounds"), true);
        row("leading spaces", QStringLiteral("  Set"), true);
        row("trailing spaces", QStringLiteral("Set  "), true);
        row("inner spaces", QStringLiteral("My   Set"), true);
        row("spaces only", QStringLiteral("   "), true);
        row("letter case differs", QStringLiteral("tempdir"), true);
        row("255 characters", QString(255, u'n'), true);
        row("non-ASCII", QStringLiteral("Füße ♪"), true);
        row("backslash", QStringLiteral("a\\b"), true);
        row("hidden", QStringLiteral(".set"), true);
    }

    void renameSubfolder() {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(bool, renamed);

        QTemporaryDir tmp;
        const QString prog = makeProgramFolder(tmp, true);
        QVERIFY(!prog.isEmpty());

        const Tree before = snapshot(tmp.path());
        fileWarnings().clear();
        QCOMPARE(ProgramFolder(prog).renameSubfolder(oldName, newName), renamed);
        QCOMPARE(fileWarnings().size(), renamed ? 0 : 1);
        const Tree after = snapshot(tmp.path());

        const Tree expected = renamed ? moved(before, QStringLiteral("prog/") + oldName,
                                              QStringLiteral("prog/") + newName)
                                      : before;
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
        const QString staging = prog + QStringLiteral("/BackDir");
        QVERIFY(QDir().mkpath(prog));
        if (left == u"empty" || left.startsWith(u"files"))
            QVERIFY(
                QDir().mkpath(staging + (left == u"empty" ? QString() : QStringLiteral("/sub"))));
        if (left.startsWith(u"files"))
            QVERIFY(writeFile(staging + QStringLiteral("/sub/JUMP.WAV"), pattern(6, 900), 0640));
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

        const QString to = QStringLiteral("prog/") + aside;
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

        QTest::newRow("favourites") << QStringLiteral("Favorite Midi") << true;
        QTest::newRow("staging") << QStringLiteral("BackDir") << true;
        QTest::newRow("spaces only") << QStringLiteral("   ") << true;
        QTest::newRow("already there") << QStringLiteral("TempDir") << false;
        QTest::newRow("name of a file") << QStringLiteral("taken.txt") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot-dot") << QStringLiteral("..") << false;
        QTest::newRow("outside") << QStringLiteral("../Escape") << false;
        QTest::newRow("nested") << QStringLiteral("a/b") << false;
        QTest::newRow("NUL") << (QStringLiteral("New") + QChar(0) + QStringLiteral("x")) << false;
        QTest::newRow("300 characters") << QString(300, u'n') << false;
    }

    void makeSubfolder() {
        QFETCH(QString, name);
        QFETCH(bool, made);

        QTemporaryDir tmp;
        const QString prog = makeProgramFolder(tmp, false);
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

        QTest::newRow("plain") << QStringLiteral("/home/u/.local/share/Tunevane")
                               << QStringLiteral("/home/u/.local/share/Tunevane");
        QTest::newRow("trailing slash") << QStringLiteral("/opt/tv/") << QStringLiteral("/opt/tv");
        QTest::newRow("trailing slashes")
            << QStringLiteral("/opt/tv///") << QStringLiteral("/opt/tv");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("root spelled twice") << QStringLiteral("//") << QStringLiteral("/");
        QTest::newRow("relative") << QStringLiteral("tv/") << QStringLiteral("tv");
        QTest::newRow("inner slashes kept")
            << QStringLiteral("/opt//tv") << QStringLiteral("/opt//tv");
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

        QTest::newRow("staging") << QStringLiteral("/home/u/tv") << QStringLiteral("/TempDir/")
                                 << QStringLiteral("JUMP.WAV")
                                 << QStringLiteral("/home/u/tv/TempDir/JUMP.WAV");
        QTest::newRow("favourites")
            << QStringLiteral("/home/u/tv/") << QStringLiteral("/Favorite Midi/")
            << QStringLiteral("a b.mid") << QStringLiteral("/home/u/tv/Favorite Midi/a b.mid");
        QTest::newRow("at the root")
            << QStringLiteral("/") << QStringLiteral("/BackDir/") << QStringLiteral("X.WAV")
            << QStringLiteral("//BackDir/X.WAV");
        QTest::newRow("name kept as given")
            << QStringLiteral("/p") << QStringLiteral("/TempDir/")
            << QStringLiteral(" odd\\Name.Wav ") << QStringLiteral("/p/TempDir/ odd\\Name.Wav ");
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
