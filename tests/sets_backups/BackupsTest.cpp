// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "SetsFixture.h"

#include "app/ElidedLabel.h"
#include "sets_backups/FrmMidiBackup.h"
#include "sets_backups/FrmSetName2.h"
#include "sets_backups/FrmWavBackup.h"

#include <QPalette>

using testsupport::readFile;
using testsupport::topLevel;
using testsupport::visibleWindows;
using testsupport::writeFile;

namespace {

const QString backedUp =
    QStringLiteral("Backup Confirmation|Successful backup of all selected files.");
const QString inUse = QStringLiteral("Set Name Select|Please select a set name not already in use");

// What differs between the two backup windows.
struct BackupSide {
    QString window, backup, cancel, pathLabel, opener;
    QStringList nameLabels;
    int slots;

    static BackupSide of(const Side& side) {
        if (side.effects)
            return BackupSide(QStringLiteral("FrmWavBackup"), QStringLiteral("CmdBackup1"),
                              QStringLiteral("CmdClose1"), QStringLiteral("LblBackupPath%1"),
                              QStringLiteral("CmdWavBackup"),
                              {QStringLiteral("LblFileNameA"), QStringLiteral("LblFilenameB"),
                               QStringLiteral("LblFileNameC"), QStringLiteral("LblFileNameD"),
                               QStringLiteral("LblFileNameE"), QStringLiteral("LblFileNameF")},
                              6);
        return BackupSide(QStringLiteral("FrmMidiBackup"), QStringLiteral("CmdProceed"),
                          QStringLiteral("CmdCancel"), QStringLiteral("LblmidBackupPath%1"),
                          QStringLiteral("CmdMidiBackup"),
                          {QStringLiteral("LblmidFileNameA"), QStringLiteral("LblmidFilenameB"),
                           QStringLiteral("LblmidFileNameC")},
                          3);
    }
};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

Side sideNamed(const QString& name) {
    return name == u"music" ? Side::music() : Side::soundEffects();
}

QString gameFile(const Side& side, int slot) {
    return QStringLiteral("G%1").arg(slot) + side.extension;
}

} // namespace

class BackupsTest : public QObject {
    Q_OBJECT

    // Slots 1..filled hold the game files G<N>; they have no replacements.
    static void chooseGames(SetsFixture& f, int filled) {
        for (int slot = 1; slot <= filled; ++slot) {
            SideFixture::write(f.gameFolder(), gameFile(f.side(), slot));
            f.chooseGame(slot, gameFile(f.side(), slot));
        }
    }

    // Opens the backup window, backs up and names the backup; returns what was said.
    static QString backUp(SetsFixture& f, const QString& name) {
        const BackupSide b = BackupSide::of(f.side());
        f.clickSwitch(b.opener);
        f.click(b.window, b.backup);
        QString said = f.enterName(u"FrmSetName2", name);
        if (said.isEmpty() && f.confirm(u"FrmBackupConfirm", u"CmdBackupConfirm"))
            said = backedUp;
        return said;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void backup_data() {
        QTest::addColumn<QString>("side");
        QTest::addColumn<int>("filled");
        QTest::addColumn<int>("removed"); // slot removed in the switch window, 0: none
        QTest::addColumn<int>("twin");    // slot 2 holds slot 1's name from another folder
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("folder");
        const auto files = [](const char* extension, std::initializer_list<int> slots) {
            QStringList lines;
            for (int slot : slots)
                lines << QStringLiteral("G%1%2=game/G%1%2").arg(slot).arg(QLatin1String(extension));
            return lines;
        };
        QTest::newRow("effects, four of six")
            << QStringLiteral("effects") << 4 << 0 << 0 << backedUp << files(".WAV", {1, 2, 3, 4});
        QTest::newRow("effects, slot 2 cleared, slot 3 filled")
            << QStringLiteral("effects") << 3 << 2 << 0
            << QStringLiteral("Backup Confirmation|Backup incomplete: Selection 3 (G3.WAV) and the "
                              "selections after it were not backed up. Selection 2 is empty.")
            << files(".WAV", {1});
        QTest::newRow("effects, none")
            << QStringLiteral("effects") << 0 << 0 << 0 << backedUp << QStringList{};
        QTest::newRow("music, two of three")
            << QStringLiteral("music") << 2 << 0 << 0 << backedUp << files(".MID", {1, 2});
        QTest::newRow("music, slot 1 cleared, slot 2 filled")
            << QStringLiteral("music") << 2 << 1 << 0
            << QStringLiteral("Backup Confirmation|Backup incomplete: Selection 2 (G2.MID) and the "
                              "selections after it were not backed up. Selection 1 is empty.")
            << QStringList{};
        // The first of two originals of one name is kept, never replaced by the second.
        const auto twins = [](const char* extension) {
            return QStringLiteral("Backup Confirmation|Backup incomplete: Selection 2 (G1%1) and "
                                  "the selections after it were not backed up. Selections 1 and "
                                  "2 share that file name: back up Selection 2 and the rest under "
                                  "a second backup name.")
                .arg(QLatin1String(extension));
        };
        QTest::newRow("effects, two game files of one name")
            << QStringLiteral("effects") << 3 << 0 << 1 << twins(".WAV") << files(".WAV", {1});
        QTest::newRow("music, two game files of one name")
            << QStringLiteral("music") << 2 << 0 << 1 << twins(".MID") << files(".MID", {1});
    }

    // The backup window shows the game files, backs them up, names the folder and closes.
    void backup() {
        QFETCH(QString, side);
        QFETCH(int, filled);
        QFETCH(int, removed);
        QFETCH(int, twin);
        QFETCH(QString, said);
        QFETCH(QStringList, folder);
        SetsFixture f(sideNamed(side));
        const BackupSide b = BackupSide::of(f.side());
        chooseGames(f, filled);
        // What each slot's game file is, folder and name.
        const auto chosen = [&](int slot) {
            const bool other = twin && slot == 2;
            return std::pair{other ? f.otherFolder() : f.gameFolder(),
                             gameFile(f.side(), other ? twin : slot)};
        };
        if (twin) {
            SideFixture::write(f.otherFolder(), chosen(2).second);
            f.chooseGame(2, chosen(2).second, f.otherFolder());
        }
        f.next();
        if (removed)
            f.clickSwitch(f.side().clear, removed);
        const QStringList game = disk::tree(f.gameFolder());

        f.clickSwitch(b.opener);
        QWidget* window = topLevel(b.window);
        QVERIFY(window && window->isVisible() && window->isModal());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        for (int slot = 1; slot <= b.slots; ++slot) {
            const bool shown = slot <= filled && slot != removed;
            auto* path = window->findChild<QLabel*>(b.pathLabel.arg(slot));
            QCOMPARE(path->text(),
                     shown ? chosen(slot).first + u'/' + chosen(slot).second : QString());
            QCOMPARE(path->palette().color(QPalette::WindowText), tunevane::gameRed);
            auto* name = window->findChild<QLabel*>(b.nameLabels[slot - 1]);
            QVERIFY(name->isHidden());
            QCOMPARE(name->text(), shown ? chosen(slot).second : QString());
        }

        f.click(b.window, b.backup);
        QCOMPARE(visibleWindows(),
                 sorted({f.side().switchWindow, QStringLiteral("FrmSetName2"), b.window}));
        QVERIFY(topLevel(QStringLiteral("FrmSetName2"))->isModal());
        QCOMPARE(f.enterName(u"FrmSetName2", u"Game"), said == backedUp ? QString() : said);
        if (said == backedUp) {
            // The backup window waits under the confirmation.
            QCOMPARE(visibleWindows(),
                     sorted({QStringLiteral("FrmBackupConfirm"), b.window, f.side().switchWindow}));
            QVERIFY(f.confirm(u"FrmBackupConfirm", u"CmdBackupConfirm"));
        }
        QCOMPARE(visibleWindows(), QStringList{f.side().switchWindow});
        QVERIFY(!topLevel(b.window));
        QVERIFY(f.app().forms().isLoaded<tunevane::FrmSetName2>());
        QCOMPARE(disk::tree(f.programFolder() + u"/Game", f.contentPrefix()), folder);
        QVERIFY(!disk::isFolder(f.programFolder() + u"/BackDir"));
        QCOMPARE(disk::tree(f.gameFolder()), game);
        for (int slot = 1; slot <= filled; ++slot)
            QCOMPARE(f.switchLabel(f.side().switchGameName, slot),
                     slot == removed ? QString() : chosen(slot).second);
    }

    void cancel_data() {
        QTest::addColumn<QString>("side");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("effects, Cancel") << QStringLiteral("effects") << false;
        QTest::newRow("effects, close box") << QStringLiteral("effects") << true;
        QTest::newRow("music, Cancel") << QStringLiteral("music") << false;
        QTest::newRow("music, close box") << QStringLiteral("music") << true;
    }

    void cancel() {
        QFETCH(QString, side);
        QFETCH(bool, closeBox);
        SetsFixture f(sideNamed(side));
        const BackupSide b = BackupSide::of(f.side());
        chooseGames(f, 2);
        f.next();
        const QString path = QStringLiteral("/Games/%1/Sound/G1").arg(QString(80, u'x'));
        f.switchWindow()->setGame(1, QStringLiteral("G1"), path);
        const QStringList program = f.programTree();
        f.clickSwitch(b.opener);
        // A path too long for its row is drawn with its file name in sight, and held whole.
        auto* label = topLevel(b.window)->findChild<tunevane::ElidedLabel*>(b.pathLabel.arg(1));
        QVERIFY(label && label->text() == path && label->toolTip().isEmpty());
        const QString shown = label->shownText();
        QVERIFY(shown != path && shown.startsWith(u"/Games/") && shown.endsWith(u"/G1"));
        if (closeBox) {
            topLevel(b.window)->close();
            testsupport::settle();
        } else {
            f.click(b.window, b.cancel);
        }
        QVERIFY(!topLevel(b.window));
        QCOMPARE(visibleWindows(), QStringList{f.side().switchWindow});
        QCOMPARE(f.programTree(), program);
    }

    // A backup folder, once named, is never written again; a switched game is backed up as
    // it now is; a saved set and a backup both switch back.
    void onceOnlyAndRestore() {
        SetsFixture f(Side::soundEffects());
        const QString game = SideFixture::write(f.gameFolder(), u"JUMP.WAV");
        const QByteArray original = readFile(game);
        SideFixture::write(f.replacementFolder(), u"boing.wav");
        f.chooseGame(1, u"JUMP.WAV");
        f.chooseReplacement(1, u"boing.wav");
        f.next();
        QCOMPARE(backUp(f, QStringLiteral("MrPattWav")), backedUp);
        const QString first = f.programFolder() + u"/MrPattWav/JUMP.WAV";
        const QStringList firstTree = disk::tree(f.programFolder() + u"/MrPattWav");
        QCOMPARE(readFile(first), original);

        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(f.enterName(u"FrmSetName", u"MrPattBoing"), QString());
        QVERIFY(f.confirm(u"FrmSetConfirm", u"CmdSetConfirm"));
        f.clickSwitch(f.side().switchButton);
        f.click(u"FrmReplaceConfirm", u"CmdReplaceConfirm");
        const QByteArray switched = readFile(game);
        QCOMPARE_NE(switched, original);

        // Again under the same name: refused, the first stays byte for byte.
        QCOMPARE(backUp(f, QStringLiteral("MrPattWav")), inUse);
        QCOMPARE(disk::tree(f.programFolder() + u"/MrPattWav"), firstTree);
        QCOMPARE(readFile(first), original);
        QCOMPARE(readFile(f.programFolder() + u"/BackDir/JUMP.WAV"), switched);
        QCOMPARE(f.enterName(u"FrmSetName2", u"MrPattWav2"), QString());
        QVERIFY(f.confirm(u"FrmBackupConfirm", u"CmdBackupConfirm"));
        QCOMPARE(readFile(f.programFolder() + u"/MrPattWav2/JUMP.WAV"), switched);

        // Picked in the replacement pane, the backup switches the game back; then the set.
        for (const auto& [folder, bytes] : {std::pair{QStringLiteral("MrPattWav"), original},
                                            std::pair{QStringLiteral("MrPattBoing"), switched}}) {
            f.clickSwitch(f.side().close);
            f.chooseGame(1, u"JUMP.WAV");
            f.chooseReplacement(1, u"JUMP.WAV", f.programFolder() + u'/' + folder);
            f.next();
            f.clickSwitch(f.side().switchButton);
            f.click(u"FrmReplaceConfirm", u"CmdReplaceConfirm");
            QCOMPARE(readFile(game), bytes);
        }
        QCOMPARE(readFile(first), original);
    }

    void leaving_data() { SetsFixture::leavingRows(); }

    // Leaving the name dialog closes the backup window and leaves "BackDir", which the other
    // side's next backup sets aside whole before it stages its own files; both sides share
    // the dialog and its names.
    void leaving() {
        QFETCH(bool, escape);
        SetsFixture f(Side::soundEffects());
        chooseGames(f, 2);
        f.next();
        f.clickSwitch(u"CmdWavBackup");
        f.click(u"FrmWavBackup", u"CmdBackup1");
        QCOMPARE(SetsFixture::leave(u"FrmSetName2", escape),
                 QStringList{QStringLiteral("FrmCopyWavs")});
        QVERIFY(!topLevel(QStringLiteral("FrmWavBackup")));
        QCOMPARE(f.programTree(), (QStringList{QStringLiteral("BackDir/"),
                                               QStringLiteral("BackDir/G1.WAV=game/G1.WAV"),
                                               QStringLiteral("BackDir/G2.WAV=game/G2.WAV"),
                                               QStringLiteral("Favorite Midi/")}));
        QDir(f.programFolder()).mkdir(QStringLiteral("MrPatt"));

        // Over to the music side.
        f.clickSwitch(f.side().close);
        f.click(f.side().selection, u"CmdQuit2");
        const Side music = Side::music();
        SideFixture::write(f.gameFolder(), u"THEME.MID");
        SideFixture::pick(
            qobject_cast<tunevane::SelectionWindow*>(topLevel(music.selection))->gamePane(),
            f.gameFolder(), u"THEME.MID");
        f.click(music.selection, music.chooseGame.arg(1));
        f.click(music.selection, music.next);
        f.click(music.switchWindow, u"CmdMidiBackup");
        QCOMPARE(topLevel(QStringLiteral("FrmMidiBackup"))
                     ->findChild<QLabel*>(QStringLiteral("LblmidFileNameA"))
                     ->text(),
                 QStringLiteral("THEME.MID"));
        f.click(u"FrmMidiBackup", u"CmdProceed");
        QCOMPARE(SetsFixture::nameBox(u"FrmSetName2")->currentText(), QString());
        QCOMPARE(f.enterName(u"FrmSetName2", u"MrPatt"), inUse);
        QCOMPARE(f.enterName(u"FrmSetName2", u"MrPattMidi"), QString());
        QVERIFY(f.confirm(u"FrmBackupConfirm", u"CmdBackupConfirm"));
        QCOMPARE(visibleWindows(), QStringList{music.switchWindow});
        QCOMPARE(f.programTree(),
                 (QStringList{QStringLiteral("BackDir unfinished */"),
                              QStringLiteral("BackDir unfinished */G1.WAV=game/G1.WAV"),
                              QStringLiteral("BackDir unfinished */G2.WAV=game/G2.WAV"),
                              QStringLiteral("Favorite Midi/"), QStringLiteral("MrPatt/"),
                              QStringLiteral("MrPattMidi/"),
                              QStringLiteral("MrPattMidi/THEME.MID=game/THEME.MID")}));
    }

    // A game file whose name is not UTF-8 keeps that very name in a set and in a backup;
    // the backup window shows a readable form of it.
    void byteExactGameName() {
        SetsFixture f(Side::soundEffects());
        f.next();
        const QByteArray bytes = QByteArrayLiteral("J\xC9MP.WAV");
        const QString odd = tunevane::files::decodeName(bytes);
        QVERIFY(writeFile(f.gameFolder() + u'/' + odd, "jump"));
        SideFixture::write(f.replacementFolder(), u"R1.WAV");
        f.switchWindow()->setGame(1, odd, f.gameFolder() + u'/' + odd);
        f.switchWindow()->setReplacement(1, QStringLiteral("R1.WAV"),
                                         f.replacementFolder() + u"/R1.WAV");
        f.clickSwitch(u"CmdCreateSet");
        QCOMPARE(f.enterName(u"FrmSetName", u"Set"), QString());
        QVERIFY(f.confirm(u"FrmSetConfirm", u"CmdSetConfirm"));
        f.clickSwitch(u"CmdWavBackup");
        QCOMPARE(topLevel(QStringLiteral("FrmWavBackup"))
                     ->findChild<QLabel*>(QStringLiteral("LblBackupPath1"))
                     ->text(),
                 f.gameFolder() + QStringLiteral("/JÉMP.WAV"));
        f.click(u"FrmWavBackup", u"CmdBackup1");
        QCOMPARE(f.enterName(u"FrmSetName2", u"Backup"), QString());
        QVERIFY(f.confirm(u"FrmBackupConfirm", u"CmdBackupConfirm"));
        for (const QString& folder :
             {QStringLiteral("/Set"), QStringLiteral("/Backup"), QString()}) {
            const QString base = folder.isEmpty() ? f.gameFolder() : f.programFolder() + folder;
            QCOMPARE(tunevane::files::encodePath(disk::entries(base).value(0)), bytes);
            // QTemporaryDir cannot remove a name it cannot decode.
            QCOMPARE(::unlink(tunevane::files::encodePath(base + u'/' + odd).constData()), 0);
        }
    }
};

TUNEVANE_TEST_MAIN(BackupsTest)
#include "BackupsTest.moc"
