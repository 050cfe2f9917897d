// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "SideFixture.h"

#include "files/FileOps.h"
#include "switching/FrmCopyWavs.h"

#include <QLoggingCategory>
#include <QPalette>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>

#include <functional>

#include <unistd.h>

using testsupport::dismissMessageBox;
using testsupport::messageBox;
using testsupport::readFile;
using testsupport::topLevel;
using testsupport::visibleWindows;
using testsupport::writeFile;

namespace {

const QString orderError =
    QStringLiteral("Wav Selection Error|Please make selections in correct order");

QString name(int slot) {
    return QStringLiteral("G%1.WAV").arg(slot);
}
QString replacementName(int slot) {
    return QStringLiteral("R%1.WAV").arg(slot);
}

// The files of the slot whose copy a row breaks, and a disk to break it on.
struct Broken {
    SideFixture& f;
    int slot;
    QString game, replacement;
    testsupport::Mount& mount;
};
// What a row does to make the slot's copy fail; false when it could not.
using Fault = std::function<bool(Broken&)>;

// The slot's game file in a folder of its own, on a disk of its own when `disk` says how big,
// set as a pick from there would set it.
bool moveGame(Broken& b, const char* disk) {
    const QString folder = b.f.otherFolder();
    if (!QDir().mkpath(folder) || (disk && !b.mount.mount(folder, disk)))
        return false;
    b.f.switchWindow()->setGame(b.slot, name(b.slot), SideFixture::write(folder, name(b.slot)));
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class EffectsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void typicalRequest() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        const QString jump = SideFixture::write(f.gameFolder(), u"JUMP.WAV");
        const QString shoot = SideFixture::write(f.gameFolder(), u"SHOOT.WAV");
        const QString boom = SideFixture::write(f.gameFolder(), u"BOOM.WAV");
        const QString first = SideFixture::write(f.replacementFolder(), u"a.wav");
        const QString second = SideFixture::write(f.replacementFolder(), u"B.Wav");
        const QByteArray boomBefore = readFile(boom);

        f.chooseGame(1, u"JUMP.WAV");
        QCOMPARE(f.selectionLabel(s.gameLabel, 1), QStringLiteral("JUMP.WAV"));
        auto* label = f.selection().findChild<QLabel*>(s.gameLabel.arg(1));
        QCOMPARE(label->palette().color(QPalette::WindowText), tunevane::gameRed);
        QVERIFY(f.switchWindow() && !f.switchWindow()->isVisible());
        QCOMPARE(f.switchLabel(s.switchGamePath, 1), jump);
        f.chooseReplacement(1, u"a.wav");
        label = f.selection().findChild<QLabel*>(s.replacementLabel.arg(1));
        QCOMPARE(label->palette().color(QPalette::WindowText), tunevane::replacementBlue);

        f.chooseGame(3, u"BOOM.WAV");
        QCOMPARE(dismissMessageBox(), orderError);
        QCOMPARE(f.selectionLabel(s.gameLabel, 3), QString());
        f.chooseGame(2, u"SHOOT.WAV");
        f.chooseReplacement(2, u"B.Wav");

        f.next();
        QCOMPARE(visibleWindows(), QStringList{s.switchWindow});
        for (int slot = 1; slot <= 6; ++slot) {
            QCOMPARE(f.selectionLabel(s.gameLabel, slot), QString());
            QCOMPARE(f.selectionLabel(s.replacementLabel, slot), QString());
        }
        QCOMPARE(f.switchLabel(s.switchGameName, 2), QStringLiteral("SHOOT.WAV"));
        QCOMPARE(f.switchLabel(s.switchReplacementName, 2), QStringLiteral("B.Wav"));
        QCOMPARE(f.switchLabel(s.switchReplacementPath, 2), second);

        f.clickSwitch(s.switchButton);
        QCOMPARE(readFile(jump), readFile(first));
        QCOMPARE(readFile(shoot), readFile(second));
        QCOMPARE(readFile(boom), boomBefore);
        QVERIFY(topLevel(QStringLiteral("FrmReplaceConfirm"))->isVisible());

        f.click(u"FrmReplaceConfirm", u"CmdReplaceConfirm");
        QVERIFY(f.switchWindow()->isVisible());
        f.clickSwitch(s.close);
        QCOMPARE(visibleWindows(), QStringList{s.selection});
        QVERIFY(!f.app().forms().isLoaded<tunevane::FrmCopyWavs>());
        f.click(s.selection, u"CmdExitProgWav");
        QVERIFY(f.app().hasEnded());
    }

    void orderingRule() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        for (int slot = 1; slot <= 4; ++slot) {
            SideFixture::write(f.gameFolder(), name(slot));
            SideFixture::write(f.replacementFolder(), replacementName(slot));
        }
        // A fresh window refuses slot 2 and changes nothing.
        f.chooseGame(2, name(2));
        QCOMPARE(dismissMessageBox(), orderError);
        QVERIFY(!f.switchWindow());
        f.chooseGame(1, name(1));
        f.chooseGame(2, name(2));
        f.chooseReplacement(2, replacementName(2));
        QCOMPARE(dismissMessageBox(), orderError);
        f.chooseReplacement(1, replacementName(1));
        QVERIFY(!messageBox());
        f.chooseGame(3, name(3));
        QVERIFY(!messageBox());

        // Remove leaves a gap that the rule then sees.
        f.clickSelection(s.remove, 2);
        QCOMPARE(f.selectionLabel(s.gameLabel, 3), name(3));
        QCOMPARE(f.switchLabel(s.switchGamePath, 2), QString());
        f.chooseGame(4, name(4));
        QCOMPARE(dismissMessageBox(), orderError);
        f.chooseGame(2, name(2));
        QVERIFY(!messageBox());

        // Slot 1 chosen again with another file replaces it here and in the switch window.
        f.chooseGame(1, name(4));
        QCOMPARE(f.switchLabel(s.switchGameName, 1), name(4));

        // No entry selected: an empty name and the folder followed by the separator.
        SideFixture::pick(f.selection().gamePane(), f.otherFolder(), {});
        f.clickSelection(s.chooseGame, 1);
        QCOMPARE(f.selectionLabel(s.gameLabel, 1), QString());
        QCOMPARE(f.switchLabel(s.switchGameName, 1), QString());
        QCOMPARE(f.switchLabel(s.switchGamePath, 1), f.otherFolder() + u'/');

        // Removing an empty slot says nothing.
        f.clickSelection(s.remove, 6);
        QVERIFY(!messageBox());
    }

    void nextWithNothingShowsEmptySlots() {
        SideFixture f(Side::soundEffects());
        f.next();
        QVERIFY(f.switchWindow()->isVisible());
        for (int slot = 1; slot <= 6; ++slot)
            QCOMPARE(f.switchWindow()->slot(slot).gamePath, QString());
    }

    void otherSideAndBackKeepsEarlierPairs() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        for (int slot = 1; slot <= 3; ++slot)
            SideFixture::write(f.gameFolder(), name(slot));
        f.chooseGame(1, name(1));
        f.chooseGame(2, name(2));
        f.click(s.selection, u"CmdQuit2");
        f.click(u"FrmMidi", u"CmdGotoWavSelect1");
        QCOMPARE(f.selectionLabel(s.gameLabel, 1), QString());
        f.chooseGame(1, name(3));
        f.next();
        QCOMPARE(f.switchLabel(s.switchGameName, 1), name(3));
        QCOMPARE(f.switchLabel(s.switchGameName, 2), name(2));
    }

    void switchOutcomes_data() {
        QTest::addColumn<int>("filled");     // slots 1..filled get a game file and a replacement
        QTest::addColumn<int>("removed");    // that slot is removed before the switch (0: none)
        QTest::addColumn<int>("slot");       // whose copy fails
        QTest::addColumn<Fault>("fault");    // how it fails
        QTest::addColumn<QString>("said");   // the message box, "" for none
        QTest::addColumn<bool>("confirmed"); // the replacement confirmation is shown
        QTest::addColumn<int>("copied");     // slots 1..copied were replaced
        QTest::addColumn<QString>("logged"); // why the log says the switch stopped
        const auto stopped = [](int slot, const char* why) {
            return QStringLiteral("Replacement Confirmation|Replacement incomplete: Selection %1 "
                                  "(G%1.WAV) and the selections after it were not replaced. %2")
                .arg(slot)
                .arg(QLatin1String(why));
        };
        const auto row = [&](const char* tag, const char* why, const Fault& fault) {
            QTest::newRow(tag) << 6 << 0 << 3 << fault << stopped(3, why) << false << 2
                               << QString::fromLatin1(why);
        };
        const Fault readOnly = [](Broken& b) {
            return QFile::setPermissions(b.game, QFile::ReadOwner | QFile::ReadGroup);
        };
        QTest::newRow("six filled")
            << 6 << 0 << 0 << Fault() << QString() << true << 6 << QString();
        QTest::newRow("two filled")
            << 2 << 0 << 0 << Fault() << QString() << true << 2 << QString();
        // Where nothing is said, the log still gives the reason.
        QTest::newRow("read-only 1") << 6 << 0 << 1 << readOnly << QString() << false << 0
                                     << QStringLiteral("The game file is read-only.");
        row("read-only 3", "The game file is read-only.", readOnly);
        // Root writes through any mode bits, but not onto a read-only disk.
        row("unwritable 3", "The game folder cannot be written.", [](Broken& b) {
            return ::geteuid() == 0 ? moveGame(b, "size=1m") && b.mount.makeReadOnly()
                                    : moveGame(b, nullptr) &&
                                          QFile::setPermissions(b.f.otherFolder(),
                                                                QFile::ReadOwner | QFile::ExeOwner);
        });
        row("vanished 3", "The replacement file R3.WAV is no longer there.",
            [](Broken& b) { return QFile::remove(b.replacement); });
        row("unreadable 3", "The replacement file R3.WAV cannot be read.",
            [](Broken& b) { return QFile::remove(b.replacement) && QDir().mkpath(b.replacement); });
        row("full 3", "The disk is full.", [](Broken& b) {
            return writeFile(b.replacement, QByteArray(1 << 20, 'x')) && moveGame(b, "size=256k");
        });
        row("changing 3", "The file changed while it was copied.", [](Broken& b) {
            tunevane::files::setCopyHooks({.beforeRead = [b](const QString& source) {
                if (source == b.replacement)
                    writeFile(b.replacement, "rewritten");
            }});
            return true;
        });
        QTest::newRow("slot 2 removed")
            << 3 << 2 << 0 << Fault() << stopped(3, "Selection 2 is empty.") << false << 1
            << QString();
    }

    void switchOutcomes() {
        QFETCH(int, filled);
        QFETCH(int, removed);
        QFETCH(int, slot);
        QFETCH(Fault, fault);
        QFETCH(QString, said);
        QFETCH(bool, confirmed);
        QFETCH(int, copied);
        QFETCH(QString, logged);
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        QLoggingCategory::setFilterRules(QStringLiteral("tunevane.ui.warning=true"));
        const auto restore = qScopeGuard([&] {
            QLoggingCategory::setFilterRules({});
            tunevane::files::setCopyHooks({});
            QFile::setPermissions(f.otherFolder(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        QMap<int, QByteArray> before;
        for (int n = 1; n <= 6; ++n) {
            before[n] = readFile(SideFixture::write(f.gameFolder(), name(n)));
            SideFixture::write(f.replacementFolder(), replacementName(n));
        }
        for (int n = 1; n <= filled; ++n) {
            f.chooseGame(n, name(n));
            f.chooseReplacement(n, replacementName(n));
        }
        if (removed)
            f.clickSelection(s.remove, removed);
        f.next();

        testsupport::Mount mount;
        Broken broken{f, slot, f.gameFolder() + u'/' + name(slot),
                      f.replacementFolder() + u'/' + replacementName(slot), mount};
        if (fault && !fault(broken)) {
            if (mount.why().isEmpty() || qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_MOUNT"))
                QFAIL(mount.why().isEmpty() ? "the fault could not be set up"
                                            : mount.why().constData());
            QSKIP(mount.why().constData());
        }
        if (!logged.isEmpty()) {
            QTest::ignoreMessage(
                QtWarningMsg,
                QRegularExpression(QStringLiteral("^switch stopped at selection %1, copy of .*/%2 "
                                                  "over .*/%3: %4$")
                                       .arg(slot)
                                       .arg(replacementName(slot), name(slot),
                                            QRegularExpression::escape(logged))));
        }
        f.clickSwitch(s.switchButton);
        QCOMPARE(dismissMessageBox(), said);
        QCOMPARE(topLevel(QStringLiteral("FrmReplaceConfirm")) != nullptr, confirmed);
        for (int n = 1; n <= 6; ++n) {
            const QByteArray now = readFile(f.gameFolder() + u'/' + name(n));
            const QByteArray wanted = readFile(f.replacementFolder() + u'/' + replacementName(n));
            QCOMPARE(now, n <= copied ? wanted : before[n]);
        }
    }

    void slotOneChecks() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        const QByteArray before = readFile(SideFixture::write(f.gameFolder(), name(1)));
        SideFixture::write(f.replacementFolder(), replacementName(1));
        // Never filled: the file selection message, nothing else.
        f.next();
        f.clickSwitch(s.switchButton);
        QCOMPARE(dismissMessageBox(),
                 QStringLiteral("File Selection Error|Please be sure that each selection is a "
                                "valid filename."));
        f.clickSwitch(s.close);
        // A game file without a replacement: nothing is said and nothing changes.
        f.chooseGame(1, name(1));
        f.next();
        f.clickSwitch(s.switchButton);
        QVERIFY(!messageBox());
        QVERIFY(!topLevel(QStringLiteral("FrmReplaceConfirm")));
        QCOMPARE(readFile(f.gameFolder() + u'/' + name(1)), before);
    }

    void aConfirmationStaysAboveItsWindowAndNeverOutlivesANewerOutcome() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        for (int slot = 1; slot <= 2; ++slot) {
            SideFixture::write(f.gameFolder(), name(slot));
            SideFixture::write(f.replacementFolder(), replacementName(slot));
            f.chooseGame(slot, name(slot));
            f.chooseReplacement(slot, replacementName(slot));
        }
        f.next();
        f.clickSwitch(s.switchButton);
        QWidget* confirmation = topLevel(QStringLiteral("FrmReplaceConfirm"));
        QVERIFY(confirmation && confirmation->isVisible());
        QCOMPARE(confirmation->windowHandle()->transientParent(), f.switchWindow()->windowHandle());
        // The next switch stops at slot 2: the earlier success must not stay on screen.
        QFile::setPermissions(f.gameFolder() + u'/' + name(2), QFile::ReadOwner);
        f.clickSwitch(s.switchButton);
        QCOMPARE(dismissMessageBox(),
                 QStringLiteral("Replacement Confirmation|Replacement incomplete: Selection 2 "
                                "(G2.WAV) and the selections after it were not replaced. The game "
                                "file is read-only."));
        testsupport::settle();
        QVERIFY(!topLevel(QStringLiteral("FrmReplaceConfirm")));
    }

    void switchTwiceKeepsOneDialogAndSameFileIsIntact() {
        SideFixture f(Side::soundEffects());
        const Side& s = f.side();
        const QByteArray both = readFile(SideFixture::write(f.gameFolder(), name(1)));
        f.chooseGame(1, name(1));
        f.chooseReplacement(1, name(1), f.gameFolder());
        f.next();
        f.clickSwitch(s.switchButton);
        f.clickSwitch(s.switchButton);
        int dialogs = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            dialogs +=
                widget->objectName() == QStringLiteral("FrmReplaceConfirm") && widget->isVisible();
        QCOMPARE(dialogs, 1);
        QCOMPARE(readFile(f.gameFolder() + u'/' + name(1)), both);
        // The switch window stays usable under the modeless confirmation.
        QVERIFY(!topLevel(QStringLiteral("FrmReplaceConfirm"))->isModal());
        f.clickSwitch(s.clear, 1);
        QCOMPARE(f.switchLabel(s.switchGameName, 1), QString());
        // A close box that a window manager draws anyway does what "Close" does; the
        // confirmation stays open, now above the window that replaced the switch window.
        f.switchWindow()->close();
        testsupport::settle();
        QCOMPARE(visibleWindows(), (QStringList{QStringLiteral("FrmReplaceConfirm"), s.selection}));
        QCOMPARE(topLevel(QStringLiteral("FrmReplaceConfirm"))->windowHandle()->transientParent(),
                 topLevel(s.selection)->windowHandle());
        // Return answers it as its OK would.
        QTest::keyClick(topLevel(QStringLiteral("FrmReplaceConfirm")), Qt::Key_Return);
        testsupport::settle();
        QVERIFY(!topLevel(QStringLiteral("FrmReplaceConfirm")));
        QVERIFY(!f.app().hasEnded());
    }
};

TUNEVANE_TEST_MAIN(EffectsTest)
#include "EffectsTest.moc"
