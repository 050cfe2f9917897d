// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "SideFixture.h"

#include "switching/FrmCopyMidi.h"

using testsupport::dismissMessageBox;
using testsupport::messageBox;
using testsupport::readFile;
using testsupport::topLevel;
using testsupport::visibleWindows;

namespace {

QString name(int slot) {
    return QStringLiteral("TRACK%1.MID").arg(slot);
}
QString replacementName(int slot) {
    return QStringLiteral("tune%1.mid").arg(slot);
}

const QString incompleteSlot3 =
    QStringLiteral("Replacement Confirmation|Replacement incomplete: Selection 3 (TRACK3.MID) "
                   "and the selections after it were not replaced. Selection 2 is empty.");

} // namespace

class MusicTest : public QObject {
    Q_OBJECT

    // Game files and replacements for slots 1..3; returns the game files' bytes.
    static QMap<int, QByteArray> makeFiles(SideFixture& f) {
        QMap<int, QByteArray> before;
        for (int slot = 1; slot <= 3; ++slot) {
            before[slot] = readFile(SideFixture::write(f.gameFolder(), name(slot)));
            SideFixture::write(f.replacementFolder(), replacementName(slot));
        }
        return before;
    }

    static QString favourite(SideFixture& f, const QString& file) {
        return f.programFolder() + u"/Favorite Midi/" + file;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void threePairsSwitchedAndKeptAsFavourites() {
        SideFixture f(Side::music());
        const Side& s = f.side();
        makeFiles(f);
        for (int slot = 1; slot <= 3; ++slot) {
            f.chooseGame(slot, name(slot));
            f.chooseReplacement(slot, replacementName(slot));
        }
        f.next();
        QCOMPARE(visibleWindows(), QStringList{s.switchWindow});
        for (int slot = 1; slot <= 3; ++slot)
            QCOMPARE(f.selectionLabel(s.gameLabel, slot), QString());
        f.clickSwitch(s.switchButton);
        QVERIFY(topLevel(QStringLiteral("FrmReplaceConfirm"))->isVisible());
        for (int slot = 1; slot <= 3; ++slot) {
            QCOMPARE(readFile(f.gameFolder() + u'/' + name(slot)),
                     readFile(f.replacementFolder() + u'/' + replacementName(slot)));
        }

        // Twice: one copy of each, the second run replacing the first.
        for (int run = 0; run < 2; ++run) {
            if (run == 1)
                SideFixture::write(f.replacementFolder(), replacementName(2), "changed");
            f.clickSwitch(u"CmdFavorites");
            QVERIFY(!messageBox());
            QVERIFY(topLevel(QStringLiteral("FrmFavorites"))->isVisible());
        }
        QDir favourites(f.programFolder() + u"/Favorite Midi");
        QCOMPARE(favourites.entryList(QDir::Files | QDir::Hidden),
                 (QStringList{replacementName(1), replacementName(2), replacementName(3)}));
        QCOMPARE(readFile(favourite(f, replacementName(2))), QByteArray("changed"));

        f.clickSwitch(s.close);
        // The modeless confirmations stay until their own OK.
        QCOMPARE(visibleWindows(), (QStringList{QStringLiteral("FrmFavorites"), s.selection,
                                                QStringLiteral("FrmReplaceConfirm")}));
        QVERIFY(!f.app().forms().isLoaded<tunevane::FrmCopyMidi>());
    }

    void sameNameFromTwoFoldersLaterSlotWins() {
        SideFixture f(Side::music());
        makeFiles(f);
        SideFixture::write(f.otherFolder(), replacementName(1), "from the other folder");
        f.chooseReplacement(1, replacementName(1));
        f.chooseReplacement(2, replacementName(1), f.otherFolder());
        f.next();
        f.clickSwitch(u"CmdFavorites");
        QVERIFY(topLevel(QStringLiteral("FrmFavorites")));
        QCOMPARE(readFile(favourite(f, replacementName(1))), QByteArray("from the other folder"));
    }

    void favouritesFolderChanged_data() {
        QTest::addColumn<bool>("readOnly"); // else deleted while the program runs
        QTest::addColumn<QString>("said");
        QTest::newRow("deleted while running") << false << QString();
        QTest::newRow("read-only")
            << true
            << QStringLiteral("Add to Favorites|Adding to favorites incomplete: Selection 1 (%1) "
                              "and the selections after it were not added. The Favorite Midi "
                              "folder cannot be written.")
                   .arg(replacementName(1));
    }

    void favouritesFolderChanged() {
        QFETCH(bool, readOnly);
        QFETCH(QString, said);
        SideFixture f(Side::music());
        makeFiles(f);
        const QString folder = f.programFolder() + u"/Favorite Midi";
        testsupport::Mount mount;
        if (!readOnly) {
            QDir(folder).removeRecursively();
        } else if (!mount.mount(folder, "size=1m") || !mount.makeReadOnly()) {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_MOUNT"))
                QFAIL(mount.why().constData());
            QSKIP(mount.why().constData());
        }
        f.chooseReplacement(1, replacementName(1));
        f.next();
        f.clickSwitch(u"CmdFavorites");
        QCOMPARE(dismissMessageBox(), said);
        QCOMPARE(QFile::exists(favourite(f, replacementName(1))), !readOnly);
    }

    void emptySlotsStillConfirmFavourites() {
        SideFixture f(Side::music());
        f.next();
        f.clickSwitch(u"CmdFavorites");
        QVERIFY(!messageBox());
        QVERIFY(topLevel(QStringLiteral("FrmFavorites"))->isVisible());
    }

    void switchChecksAndOutcomes() {
        SideFixture f(Side::music());
        const Side& s = f.side();
        const QMap<int, QByteArray> before = makeFiles(f);
        // A switch that copies nothing: what it says, no confirmation, the game files as they
        // were.
        const auto refused = [&](const QString& said) {
            f.next();
            f.clickSwitch(s.switchButton);
            QCOMPARE(dismissMessageBox(), said);
            QVERIFY(!topLevel(QStringLiteral("FrmReplaceConfirm")));
            for (int slot = 1; slot <= 3; ++slot)
                QCOMPARE(readFile(f.gameFolder() + u'/' + name(slot)), before[slot]);
            f.clickSwitch(s.close);
        };
        // No replacement in slot 1: the message, nothing copied.
        f.chooseGame(1, name(1));
        refused(QStringLiteral("File Selection Error|Please be sure that you have made a valid "
                               "file selection."));
        // A replacement without a game file copies nothing, so no success is claimed.
        f.chooseReplacement(1, replacementName(1));
        refused(QStringLiteral("Replacement Confirmation|Replacement incomplete: Selection 1 "
                               "(tune1.mid) and the selections after it were not replaced. It "
                               "has no game file."));

        // Slot 2 removed: both runs stop after slot 1.
        for (int slot = 1; slot <= 3; ++slot) {
            f.chooseGame(slot, name(slot));
            f.chooseReplacement(slot, replacementName(slot));
        }
        f.clickSelection(s.remove, 2);
        QCOMPARE(f.selectionLabel(s.replacementLabel, 2), QString());
        QCOMPARE(f.selectionLabel(s.gameLabel, 3), name(3));
        f.next();
        QCOMPARE(f.switchWindow()->slot(2).replacementPath, QString());
        f.clickSwitch(s.switchButton);
        QCOMPARE(dismissMessageBox(), incompleteSlot3);
        QCOMPARE(readFile(f.gameFolder() + u'/' + name(1)),
                 readFile(f.replacementFolder() + u'/' + replacementName(1)));
        QCOMPARE(readFile(f.gameFolder() + u'/' + name(3)), before[3]);
        f.clickSwitch(u"CmdFavorites");
        QCOMPARE(dismissMessageBox(),
                 QStringLiteral("Add to Favorites|Adding to favorites incomplete: Selection 3 "
                                "(tune3.mid) and the selections after it were not added. "
                                "Selection 2 is empty."));
        QVERIFY(QFile::exists(favourite(f, replacementName(1))));
        QVERIFY(!QFile::exists(favourite(f, replacementName(3))));
    }

    void orderingAndRoundTrip() {
        SideFixture f(Side::music());
        const Side& s = f.side();
        makeFiles(f);
        f.chooseReplacement(3, replacementName(3));
        QCOMPARE(dismissMessageBox(),
                 QStringLiteral("Midi Selection Error|Please make selections in correct order"));
        f.chooseReplacement(1, replacementName(1));
        QVERIFY(!messageBox());
        f.chooseGame(1, name(1));
        f.chooseGame(2, name(2));
        // Going to the effects side and back keeps the switch window's earlier pairs.
        f.click(s.selection, u"CmdGotoWavSelect1");
        f.click(u"FrmWavSelect", u"CmdQuit2");
        QCOMPARE(f.selectionLabel(s.gameLabel, 1), QString());
        f.chooseGame(1, name(3));
        f.next();
        QCOMPARE(f.switchLabel(s.switchGameName, 1), name(3));
        QCOMPARE(f.switchLabel(s.switchGameName, 2), name(2));
        QCOMPARE(f.switchLabel(s.switchReplacementName, 1), replacementName(1));
    }
};

TUNEVANE_TEST_MAIN(MusicTest)
#include "MusicTest.moc"
