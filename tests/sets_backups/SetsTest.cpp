// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "SetsFixture.h"

#include "files/Fd.h"
#include "sets_backups/FrmSetName.h"
#include "switching/FrmCopyWavs.h"

#include <QApplication>

#include <sys/file.h>

using testsupport::readFile;
using testsupport::topLevel;
using testsupport::visibleWindows;
using testsupport::writeFile;

namespace {

const QString setSaved = QStringLiteral("Set Confirmation|Your set has been saved.");
const QString inUse = QStringLiteral("Set Name Select|Please select a set name not already in use");

QString incomplete(int slot, const QString& file, const char* why) {
    return QStringLiteral("Set Confirmation|Set incomplete: Selection %1 (%2) and the selections "
                          "after it were not saved. %3")
        .arg(slot)
        .arg(file, QLatin1String(why));
}

// What the user was told when the name was taken: the confirmation or a message.
QString outcome(SetsFixture& f, const QString& said) {
    if (!said.isEmpty())
        return said;
    QWidget* confirmation = topLevel(QStringLiteral("FrmSetConfirm"));
    if (!confirmation || !confirmation->isVisible())
        return {};
    const QString shown = confirmation->windowTitle() + u'|' +
                          confirmation->findChild<QLabel*>(QStringLiteral("LblSetConfirm"))->text();
    f.confirm(u"FrmSetConfirm", u"CmdSetConfirm");
    return shown;
}

} // namespace

class SetsTest : public QObject {
    Q_OBJECT

    // The effects side with slot N paired as G<N>.WAV and R<N>.WAV for N up to `filled`.
    static void fill(SetsFixture& f, int filled) {
        for (int slot = 1; slot <= filled; ++slot) {
            SideFixture::write(f.gameFolder(), QStringLiteral("G%1.WAV").arg(slot));
            SideFixture::write(f.replacementFolder(), QStringLiteral("R%1.WAV").arg(slot));
            f.chooseGame(slot, QStringLiteral("G%1.WAV").arg(slot));
            f.chooseReplacement(slot, QStringLiteral("R%1.WAV").arg(slot));
        }
        f.next();
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char* tag, const QString& name, bool accepted) {
            QTest::newRow(tag) << name << accepted;
        };
        row("dot", QStringLiteral("."), false);
        row("dot dot", QStringLiteral(".."), false);
        row("slash", QStringLiteral("/"), false);
        row("inner slash", QStringLiteral("a/b"), false);
        row("climbs out", QStringLiteral("../escape"), false);
        row("absolute", QStringLiteral("/tmp/elsewhere"), false);
        row("trailing slash", QStringLiteral("trail/"), false);
        row("NUL inside", u"nul" + QChar(0) + u"mid", false);
        row("NUL alone", QString(QChar(0)), false);
        row("tab", QStringLiteral("tab\there"), false);
        row("newline", QStringLiteral("line\nbreak"), false);
        row("carriage return", QStringLiteral("\r"), false);
        row("escape sequence", QStringLiteral("\x1b[31mred"), false);
        row("DEL", QStringLiteral("del\x7f"), false);
        row("C1 control", u"next" + QChar(0x85) + u"line", false);
        row("lone surrogate", QChar(0xDC80) + u"abc", false);
        row("set staging", QStringLiteral("TempDir"), false);
        row("backup staging", QStringLiteral("BackDir"), false);
        row("favourites", QStringLiteral("Favorite Midi"), false);
        row("existing set", QStringLiteral("Old Set"), false);
        row("existing file", QStringLiteral("notes.txt"), false);
        row("256 bytes", QString(256, u'a'), false);
        row("258 bytes in 86 characters", QString(86, QChar(0x20AC)), false);
        row("one space", QStringLiteral(" "), true);
        row("spaces only", QStringLiteral("   "), true);
        row("leading blank", QStringLiteral(" lead"), true);
        row("trailing blank", QStringLiteral("trail "), true);
        row("blanks around", QStringLiteral("  both  "), true);
        row("staging name with a blank", QStringLiteral("TempDir "), true);
        row("staging name in other case", QStringLiteral("tempdir"), true);
        row("three dots", QStringLiteral("..."), true);
        row("hidden", QStringLiteral(".hidden"), true);
        row("dash", QStringLiteral("-rf"), true);
        row("backslash", QStringLiteral("a\\b"), true);
        row("Windows-illegal", QStringLiteral("*?<>|:\""), true);
        row("shell", QStringLiteral("$HOME `id`"), true);
        row("accents", QStringLiteral("Ünïcödé Sét"), true);
        row("CJK", QStringLiteral("日本語セット"), true);
        row("emoji", QStringLiteral("MrPatt 🎵"), true);
        row("255 bytes", QString(255, u'a'), true);
        row("255 bytes in 85 characters", QString(85, QChar(0x20AC)), true);
    }

    // A typed name becomes a folder directly under the program folder, exactly as typed, or
    // is refused; nothing else anywhere changes.
    void names() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        SetsFixture f(Side::soundEffects());
        QDir(f.programFolder()).mkdir(QStringLiteral("Old Set"));
        QVERIFY(writeFile(f.programFolder() + u"/notes.txt", "notes"));
        fill(f, 1);
        const QStringList outside = f.outsideTree();
        const QStringList before = f.programTree();

        f.clickSwitch(u"CmdCreateSet");
        const QString said = f.enterName(u"FrmSetName", name);
        QCOMPARE(outcome(f, said), accepted ? setSaved : inUse);

        QStringList expected = before;
        const QString folder = accepted ? name : QStringLiteral("TempDir");
        expected << folder + u'/' << folder + QStringLiteral("/G1.WAV=replacements/R1.WAV");
        expected.sort();
        QStringList now = f.programTree();
        now.sort();
        QCOMPARE(now, expected);
        QCOMPARE(f.outsideTree(), outside);
        // Refused: the dialog stays with the text as typed.
        QCOMPARE(SetsFixture::nameBox(u"FrmSetName")->currentText(), accepted ? QString() : name);
        QCOMPARE(topLevel(QStringLiteral("FrmSetName"))->isVisible(), !accepted);
    }

    void saveSet_data() {
        QTest::addColumn<int>("filled");       // slots 1..filled paired G<N> with R<N>
        QTest::addColumn<QStringList>("then"); // steps after "Next", before "Save Set"
        QTest::addColumn<QString>("said");     // "" for the confirmation
        QTest::addColumn<QStringList>("set");  // the set folder afterwards
        const QString g1 = QStringLiteral("G1.WAV=replacements/R1.WAV");
        QTest::newRow("three slots")
            << 3 << QStringList{} << QString()
            << QStringList{g1, QStringLiteral("G2.WAV=replacements/R2.WAV"),
                           QStringLiteral("G3.WAV=replacements/R3.WAV")};
        QTest::newRow("slot 2 cleared, slot 3 filled")
            << 3 << QStringList{QStringLiteral("remove 2")}
            << incomplete(3, QStringLiteral("R3.WAV"), "Selection 2 is empty.") << QStringList{g1};
        QTest::newRow("nothing filled") << 0 << QStringList{} << QString() << QStringList{};
        QTest::newRow("slot 1 cleared")
            << 2 << QStringList{QStringLiteral("remove 1")}
            << incomplete(2, QStringLiteral("R2.WAV"), "Selection 1 is empty.") << QStringList{};
        QTest::newRow("replacement gone from disk")
            << 2 << QStringList{QStringLiteral("delete replacements/R2.WAV")}
            << incomplete(2, QStringLiteral("R2.WAV"),
                          "The replacement file R2.WAV is no longer there.")
            << QStringList{g1};
        QTest::newRow("game file only")
            << 1 << QStringList{QStringLiteral("game 2 G2.WAV")}
            << incomplete(2, QStringLiteral("G2.WAV"), "It has no replacement file.")
            << QStringList{g1};
        QTest::newRow("one game file name in two slots: the later wins")
            << 2 << QStringList{QStringLiteral("game 2 G1.WAV")} << QString()
            << QStringList{QStringLiteral("G1.WAV=replacements/R2.WAV")};
        // They stay, set aside whole, and none of them joins the new set.
        QTest::newRow("leftovers of an abandoned save")
            << 1
            << QStringList{QStringLiteral("leftover G1.WAV"), QStringLiteral("leftover OLD.WAV")}
            << QString() << QStringList{g1};
    }

    void saveSet() {
        QFETCH(int, filled);
        QFETCH(QStringList, then);
        QFETCH(QString, said);
        QFETCH(QStringList, set);
        SetsFixture f(Side::soundEffects());
        fill(f, filled);
        auto& window = *f.switchWindow();
        QStringList leftovers;
        for (const QString& step : then) {
            const QStringList words = step.split(u' ');
            if (words[0] == u"remove") {
                f.clickSwitch(f.side().clear, words[1].toInt());
            } else if (words[0] == u"delete") {
                QVERIFY(QFile::remove(f.root() + u'/' + words[1]));
            } else if (words[0] == u"game") {
                // What a pick of another folder's file of that name in the game pane writes.
                const QString path = SideFixture::write(f.otherFolder(), words[2]);
                window.setGame(words[1].toInt(), words[2], path);
            } else if (words[0] == u"leftover") {
                QDir(f.programFolder()).mkdir(QStringLiteral("TempDir"));
                QVERIFY(writeFile(f.programFolder() + u"/TempDir/" + words[1],
                                  f.contentPrefix() + "left over"));
                leftovers << QStringLiteral("TempDir unfinished */") + words[1] +
                                 QStringLiteral("=left over");
            }
        }
        std::vector<tunevane::SlotPair> slots;
        for (int slot = 1; slot <= 6; ++slot)
            slots.push_back(window.slot(slot));
        const QStringList game = disk::tree(f.gameFolder());

        f.clickSwitch(u"CmdCreateSet");
        auto* dialog = topLevel(QStringLiteral("FrmSetName"));
        QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
        QCOMPARE(f.enterName(u"FrmSetName", u"MrPattTZone"), said);
        if (said.isEmpty())
            QVERIFY(f.confirm(u"FrmSetConfirm", u"CmdSetConfirm"));
        QCOMPARE(disk::tree(f.programFolder() + u"/MrPattTZone", f.contentPrefix()), set);
        QVERIFY(!disk::isFolder(f.programFolder() + u"/TempDir"));
        if (!leftovers.isEmpty())
            leftovers.prepend(QStringLiteral("TempDir unfinished */"));
        QCOMPARE(f.programTree().filter(QStringLiteral("unfinished")), leftovers);
        // Back in the switch window with its slots as they were; the game is untouched.
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmCopyWavs")});
        for (int slot = 1; slot <= 6; ++slot) {
            QCOMPARE(window.slot(slot).gamePath, slots[size_t(slot - 1)].gamePath);
            QCOMPARE(window.slot(slot).replacementPath, slots[size_t(slot - 1)].replacementPath);
        }
        QCOMPARE(disk::tree(f.gameFolder()), game);
    }

    // An empty box, a name in use, then a free one; the next save starts empty.
    void nameDialogRounds() {
        SetsFixture f(Side::soundEffects());
        fill(f, 2);
        QDir(f.programFolder()).mkdir(QStringLiteral("Old Set"));
        f.clickSwitch(u"CmdCreateSet");
        auto* dialog = topLevel(QStringLiteral("FrmSetName"));
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.enterName(u"FrmSetName", QString()),
                 QStringLiteral("Set Name Select|Please Enter a Set Name"));
        QCOMPARE(f.enterName(u"FrmSetName", u"Old Set"), inUse);
        QCOMPARE(disk::entries(f.programFolder() + u"/TempDir"),
                 (QStringList{QStringLiteral("G1.WAV"), QStringLiteral("G2.WAV")}));
        QVERIFY(dialog->isVisible());
        // Held while it waits for a name, so that a second running copy stays out.
        const tunevane::files::Fd other(
            ::open(QFile::encodeName(f.programFolder() + u"/TempDir").constData(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        QVERIFY(::flock(other.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK);
        QCOMPARE(f.enterName(u"FrmSetName", u"New Set"), QString());
        // The confirmation is modal above the switch window; the dialog waits hidden.
        QCOMPARE(visibleWindows(),
                 (QStringList{QStringLiteral("FrmCopyWavs"), QStringLiteral("FrmSetConfirm")}));
        QVERIFY(f.app().forms().isLoaded<tunevane::FrmSetName>());
        QVERIFY(f.confirm(u"FrmSetConfirm", u"CmdSetConfirm"));
        QCOMPARE(disk::entries(f.programFolder() + u"/New Set"),
                 (QStringList{QStringLiteral("G1.WAV"), QStringLiteral("G2.WAV")}));

        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(topLevel(QStringLiteral("FrmSetName")), dialog);
        QCOMPARE(SetsFixture::nameBox(u"FrmSetName")->currentText(), QString());
        QCOMPARE(SetsFixture::nameBox(u"FrmSetName")->count(), 0);
        QCOMPARE(f.enterName(u"FrmSetName", u"New Set"), inUse);
        QCOMPARE(f.enterName(u"FrmSetName", u"Second"), QString());
        // Its close box does what its OK does.
        topLevel(QStringLiteral("FrmSetConfirm"))->close();
        testsupport::settle();
        QVERIFY(!topLevel(QStringLiteral("FrmSetConfirm")));
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmCopyWavs")});
        QCOMPARE(disk::entries(f.programFolder()),
                 (QStringList{QStringLiteral("Favorite Midi"), QStringLiteral("New Set"),
                              QStringLiteral("Old Set"), QStringLiteral("Second")}));
    }

    void stagingNotTouched_data() {
        QTest::addColumn<bool>("held"); // by another running copy; else on a read-only disk
        QTest::addColumn<QString>("said");
        QTest::newRow("leftovers that cannot be moved")
            << false
            << QStringLiteral("Set Confirmation|Set incomplete: nothing was saved. The program "
                              "folder cannot be written.");
        QTest::newRow("held by another running copy")
            << true
            << QStringLiteral("Set Confirmation|Set incomplete: nothing was saved. Another "
                              "running copy of Tunevane is saving a set or a backup.");
    }

    // A staging folder the program cannot have is never copied into, moved or named.
    void stagingNotTouched() {
        QFETCH(bool, held);
        QFETCH(QString, said);
        SetsFixture f(Side::soundEffects());
        fill(f, 1);
        testsupport::Mount mount;
        if (!held && !mount.mount(f.programFolder(), "size=1m")) {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_MOUNT"))
                QFAIL(mount.why().constData());
            QSKIP(mount.why().constData());
        }
        QDir(f.programFolder()).mkdir(QStringLiteral("TempDir"));
        QVERIFY(
            writeFile(f.programFolder() + u"/TempDir/OLD.WAV", f.contentPrefix() + "left over"));
        // An open of its own holds the lock as another process would.
        const tunevane::files::Fd other(
            ::open(QFile::encodeName(f.programFolder() + u"/TempDir").constData(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (held)
            QCOMPARE(::flock(other.get(), LOCK_EX | LOCK_NB), 0);
        else
            QVERIFY2(mount.makeReadOnly(), mount.why().constData());
        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(testsupport::dismissMessageBox(), said);
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmCopyWavs")});
        QCOMPARE(
            f.programTree().filter(QStringLiteral("TempDir")),
            (QStringList{QStringLiteral("TempDir/"), QStringLiteral("TempDir/OLD.WAV=left over")}));
    }

    void leaving_data() { SetsFixture::leavingRows(); }

    // Leaving without a name ends the save and keeps its copies; the next save sets them aside
    // and holds exactly its own files.
    void leaving() {
        QFETCH(bool, escape);
        SetsFixture f(Side::soundEffects());
        fill(f, 2);
        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(SetsFixture::leave(u"FrmSetName", escape),
                 QStringList{QStringLiteral("FrmCopyWavs")});
        QStringList abandoned{QStringLiteral("TempDir/G1.WAV=replacements/R1.WAV"),
                              QStringLiteral("TempDir/G2.WAV=replacements/R2.WAV")};
        QCOMPARE(f.programTree(),
                 QStringList({QStringLiteral("Favorite Midi/"), QStringLiteral("TempDir/")}) +
                     abandoned);

        // The next save starts with an empty box.
        f.clickSwitch(f.side().clear, 2);
        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(SetsFixture::nameBox(u"FrmSetName")->currentText(), QString());
        // Return in the box presses its OK, and Esc answers the confirmation as its OK would.
        SetsFixture::nameBox(u"FrmSetName")->setEditText(QStringLiteral("Kept"));
        QTest::keyClick(SetsFixture::nameBox(u"FrmSetName")->lineEdit(), Qt::Key_Return);
        testsupport::settle();
        QTest::keyClick(topLevel(QStringLiteral("FrmSetConfirm")), Qt::Key_Escape);
        testsupport::settle();
        QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmCopyWavs")});
        // The keys go back to the switch window, even with no window manager to give them.
        QCOMPARE(QApplication::activeWindow(), topLevel(QStringLiteral("FrmCopyWavs")));
        QCOMPARE(f.programTree(),
                 QStringList({QStringLiteral("Favorite Midi/"), QStringLiteral("Kept/"),
                              QStringLiteral("Kept/G1.WAV=replacements/R1.WAV"),
                              QStringLiteral("TempDir unfinished */")}) +
                     abandoned.replaceInStrings(QStringLiteral("TempDir/"),
                                                QStringLiteral("TempDir unfinished */")));
    }
};

TUNEVANE_TEST_MAIN(SetsTest)
#include "SetsTest.moc"
