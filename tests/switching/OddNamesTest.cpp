// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../audio/TestMedia.h"
#include "AppTestMain.h"
#include "SideFixture.h"

#include "files/Path.h"
#include "selection/PreviewPlayer.h"

#include <QMap>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using tunevane::files::decodeName;
using tunevane::files::readableName;

namespace {

// Raw bytes on both ends, so nothing here depends on the encoder under test.
bool writeRaw(const QString& folder, const QByteArray& name, const QByteArray& bytes) {
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

QMap<QByteArray, QByteArray> folderContents(const QString& folder) {
    QMap<QByteArray, QByteArray> contents;
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return contents;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        QByteArray bytes;
        const QByteArray file = path + '/' + name;
        if (const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC); fd >= 0) {
            char buffer[4096];
            for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
                bytes.append(buffer, got);
            ::close(fd);
        }
        contents.insert(name, bytes);
    }
    ::closedir(dir);
    return contents;
}

QByteArray sound(bool effects, int variant) {
    if (!effects)
        return testmedia::midiSong(2 + variant);
    return testmedia::pcm16Wav(22050, 1, testmedia::sine(2205, 22050, 1, 440.0 * (variant + 1)));
}

} // namespace

// Names as old game archives have them: whatever bytes they hold, they are previewed,
// switched and kept as favourites under exactly those bytes.
class OddNamesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void oddNamesKeepTheirBytes_data() {
        QTest::addColumn<bool>("effects");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("windows-1252 effect") << true << QByteArray("caf\xe9.wav");
        QTest::newRow("windows-1252 tune") << false << QByteArray("caf\xe9.mid");
        QTest::newRow("utf-8") << true << QByteArray("M\xc3\xbcsik \xe2\x99\xaa.WAV");
        QTest::newRow("spaces") << false << QByteArray(" two  spaces .mid");
        QTest::newRow("leading dash") << false << QByteArray("-f.mid");
        QTest::newRow("250 characters") << false << QByteArray(QByteArray(246, 'n') + ".MID");
    }

    void oddNamesKeepTheirBytes() {
        QFETCH(bool, effects);
        QFETCH(QByteArray, name);
        SideFixture f(effects ? Side::soundEffects() : Side::music());
        const QByteArray game = sound(effects, 0);
        const QByteArray replacement = sound(effects, 1);
        QVERIFY(!game.isEmpty() && game != replacement);
        QVERIFY(writeRaw(f.gameFolder(), name, game));
        QVERIFY(writeRaw(f.replacementFolder(), name, replacement));
        // What a lossy decoder would have written instead, and an unrelated neighbour.
        const QByteArray lookAlike = QString::fromUtf8(name).toUtf8();
        if (lookAlike != name)
            QVERIFY(writeRaw(f.gameFolder(), lookAlike, "look-alike"));
        QVERIFY(writeRaw(f.gameFolder(), effects ? "OTHER.WAV" : "OTHER.MID", "neighbour"));
        QMap<QByteArray, QByteArray> expected = folderContents(f.gameFolder());

        const QString exact = decodeName(name);
        tunevane::SelectionWindow& selection = f.selection();
        SideFixture::pick(selection.gamePane(), f.gameFolder(), exact);
        QCOMPARE(selection.gamePlayer().property("FileName").toString(),
                 f.gameFolder() + u'/' + exact);
        QCOMPARE(selection.gamePlayer().property("Mode").toString(), QStringLiteral("stopped"));

        f.chooseGame(1, exact);
        f.chooseReplacement(1, exact);
        QCOMPARE(f.selectionLabel(f.side().gameLabel, 1), readableName(exact));
        QCOMPARE(f.selectionLabel(f.side().replacementLabel, 1), readableName(exact));
        QCOMPARE(f.switchWindow()->slot(1).gameName, exact);
        QCOMPARE(f.switchWindow()->slot(1).replacementName, exact);
        QCOMPARE(f.switchLabel(f.side().switchGameName, 1), readableName(exact));
        QCOMPARE(f.switchLabel(f.side().switchReplacementName, 1), readableName(exact));
        QCOMPARE(f.switchLabel(f.side().switchGamePath, 1), f.gameFolder() + u'/' + exact);
        QCOMPARE(f.switchLabel(f.side().switchReplacementPath, 1),
                 f.replacementFolder() + u'/' + exact);

        f.next();
        f.clickSwitch(f.side().switchButton);
        QCOMPARE(testsupport::dismissMessageBox(), QString());
        QVERIFY(testsupport::topLevel(QStringLiteral("FrmReplaceConfirm"))->isVisible());
        expected[name] = replacement;
        QCOMPARE(folderContents(f.gameFolder()), expected);

        if (effects)
            return;
        f.clickSwitch(u"CmdFavorites");
        QCOMPARE(testsupport::dismissMessageBox(), QString());
        const QMap<QByteArray, QByteArray> favourites{{name, replacement}};
        QCOMPARE(folderContents(f.programFolder() + u"/Favorite Midi"), favourites);
    }

    // What is heard is what "Game File" takes, however the entry was reached.
    void keyboardChoiceIsWhatIsHeardAndChosen() {
        SideFixture f(Side::soundEffects());
        for (const char* name : {"caf\xe9.wav", "DOOR.WAV", "JUMP.WAV"})
            QVERIFY(writeRaw(f.gameFolder(), name, sound(true, 0)));
        tunevane::SelectionWindow& selection = f.selection();
        SideFixture::pick(selection.gamePane(), f.gameFolder(), u"DOOR.WAV");
        QAbstractItemView* list = selection.gamePane().fileList();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(selection.gamePlayer().property("FileName").toString(),
                 f.gameFolder() + QStringLiteral("/JUMP.WAV"));
        QTest::keyClick(list, Qt::Key_C);
        const QString cafe = f.gameFolder() + u'/' + decodeName("caf\xe9.wav");
        QCOMPARE(selection.gamePlayer().property("FileName").toString(), cafe);
        QCOMPARE(selection.gamePlayer().property("Mode").toString(), QStringLiteral("stopped"));
        f.clickSelection(f.side().chooseGame, 1);
        QCOMPARE(f.switchWindow()->slot(1).gamePath, cafe);
    }
};

TUNEVANE_TEST_MAIN(OddNamesTest)
#include "OddNamesTest.moc"
