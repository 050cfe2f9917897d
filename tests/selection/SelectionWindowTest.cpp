// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../audio/TestMedia.h"
#include "AppTestMain.h"
#include "TestSupport.h"

#include "app/App.h"
#include "app/Ui.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "selection/PreviewPlayer.h"
#include "switching/FrmCopyMidi.h"
#include "switching/FrmCopyWavs.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tunevane;
using testsupport::settle;

namespace {

// The settings that act and the commands written to the players of a window, in order; the
// settings that change nothing (Notify, Wait, Shareable) are left out.
class PlayerLog : public QObject {
public:
    explicit PlayerLog(QWidget* window) {
        for (auto* player : window->findChildren<PreviewPlayer*>()) {
            connect(player, &PreviewPlayer::settingWritten, this,
                    [this, player](const QString& name, const QVariant& value) {
                        if (name == u"DeviceType" || name == u"FileName" || name == u"Command")
                            lines << player->objectName() + u' ' + name + u'=' + value.toString();
                    });
        }
    }
    QStringList lines;
};

QStringList prepared(const QString& player, const QString& device) {
    return {player + QStringLiteral(" DeviceType=") + device,
            player + QStringLiteral(" FileName=SelectedFile"),
            player + QStringLiteral(" Command=Open")};
}

// One short note.
QByteArray smallMidi() {
    return testmedia::standardMidiFile(QByteArray::fromHex("00903c40"
                                                           "8360803c00"));
}

} // namespace

class SelectionWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QDir::setCurrent(m_folder.path());
    }

    void playersPreparedAndClosedInNumberOrder_data() {
        QTest::addColumn<bool>("music");
        QTest::newRow("music") << true;
        QTest::newRow("effects") << false;
    }

    void playersPreparedAndClosedInNumberOrder() {
        QFETCH(bool, music);
        App app(m_folder.path());
        std::unique_ptr<SelectionWindow> window;
        if (music)
            window = std::make_unique<FrmMidi>(app);
        else
            window = std::make_unique<FrmWavSelect>(app);
        const QString first =
            music ? QStringLiteral("MMControlMidi1") : QStringLiteral("MMControlWav1");
        const QString second =
            music ? QStringLiteral("MMControlMidi2") : QStringLiteral("MMControlWav2");
        const QString device = music ? QStringLiteral("Sequencer") : QStringLiteral("WaveAudio");
        PlayerLog log(window.get());
        window->loadSteps();
        QCOMPARE(log.lines, prepared(first, device) + prepared(second, device));
        QCOMPARE(window->gamePlayer().property("Mode").toString(), QStringLiteral("not open"));
        log.lines.clear();
        window->unloadSteps();
        QCOMPARE(log.lines, (QStringList{first + QStringLiteral(" Command=Close"),
                                         second + QStringLiteral(" Command=Close")}));
    }

    void fileClickRearmsOnlyItsPlayer() {
        QDir(m_folder.path()).mkdir(QStringLiteral("music"));
        const QString folder = m_folder.path() + QStringLiteral("/music");
        QFile file(folder + QStringLiteral("/SONG.MID"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(smallMidi());
        file.close();

        App app(m_folder.path());
        FrmMidi& window = app.forms().get<FrmMidi>();
        window.showModeless();
        PlayerLog log(&window);
        // Drive and folder changes leave the players alone.
        QVERIFY(window.replacementPane().setFolder(folder));
        QCOMPARE(log.lines, QStringList());

        QAbstractItemView* list = window.replacementPane().fileList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        const QString player = QStringLiteral("MMControlMidi1 ");
        QCOMPARE(log.lines, (QStringList{player + QStringLiteral("Command=Close"),
                                         player + QStringLiteral("DeviceType=Sequencer"),
                                         player + QStringLiteral("FileName=") + folder +
                                             QStringLiteral("/SONG.MID"),
                                         player + QStringLiteral("Command=Open")}));
        QCOMPARE(window.replacementPlayer().property("Mode").toString(), QStringLiteral("stopped"));

        // "Next" closes the game player only; the switch window's "Close" opens it again.
        log.lines.clear();
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdTunevane")),
                          Qt::LeftButton);
        settle();
        QCOMPARE(log.lines, QStringList{QStringLiteral("MMControlMidi2 Command=Close")});
        log.lines.clear();
        QTest::mouseClick(app.forms().get<FrmCopyMidi>().findChild<QPushButton*>(
                              QStringLiteral("CmdExitFrmCopyMidi")),
                          Qt::LeftButton);
        settle();
        QCOMPARE(log.lines, QStringList{QStringLiteral("MMControlMidi2 Command=Open")});
        QVERIFY(window.isVisible());
    }
};

TUNEVANE_TEST_MAIN(SelectionWindowTest)
#include "SelectionWindowTest.moc"
