#include "TestSupport.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "selection/PreviewPlayer.h"
#include "switching/FrmCopyMidi.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tunevane;
using testsupport::settle;

namespace {

// Every setting and command written to the players of a window, in order.
class PlayerLog : public QObject {
public:
    explicit PlayerLog(QWidget* window) {
        for (auto* player : window->findChildren<PreviewPlayer*>()) {
            connect(player, &PreviewPlayer::settingWritten, this,
                    [this, player](const QString& name, const QVariant& value) {
                        lines << player->objectName() + u' ' + name + u'=' + value.toString();
                    });
        }
    }
    QStringList lines;
};

QStringList prepared(const QString& player, const QString& device) {
    return {player + QStringLiteral(" Notify=false"), player + QStringLiteral(" Wait=true"),
            player + QStringLiteral(" Shareable=false"),
            player + QStringLiteral(" DeviceType=") + device,
            player + QStringLiteral(" FileName=SelectedFile"),
            player + QStringLiteral(" Command=Open")};
}

// A minimal one-note standard MIDI file.
QByteArray smallMidi() {
    const QByteArray track = QByteArray::fromHex("00903c40" "8360803c00" "00ff2f00");
    QByteArray bytes = QByteArray::fromHex("4d546864000000060000000101e0" "4d54726b");
    const quint32 length = static_cast<quint32>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(static_cast<char>((length >> shift) & 0xff));
    return bytes + track;
}

} // namespace

class SelectionWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        installFonts();
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
        const QString first = music ? QStringLiteral("MMControlMidi1") : QStringLiteral("MMControlWav1");
        const QString second = music ? QStringLiteral("MMControlMidi2") : QStringLiteral("MMControlWav2");
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
        QCOMPARE(log.lines, (QStringList{player + QStringLiteral("Command=close"),
                                         player + QStringLiteral("DeviceType=Sequencer"),
                                         player + QStringLiteral("FileName=") + folder +
                                             QStringLiteral("/SONG.MID"),
                                         player + QStringLiteral("Command=open")}));
        QCOMPARE(window.replacementPlayer().property("Mode").toString(), QStringLiteral("stopped"));

        // "Next" closes the game player only; the switch window's "Close" opens it again.
        log.lines.clear();
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdTunevane")),
                          Qt::LeftButton);
        settle();
        QCOMPARE(log.lines, QStringList{QStringLiteral("MMControlMidi2 Command=close")});
        log.lines.clear();
        QTest::mouseClick(app.forms().get<FrmCopyMidi>().findChild<QPushButton*>(
                              QStringLiteral("CmdExitFrmCopyMidi")),
                          Qt::LeftButton);
        settle();
        QCOMPARE(log.lines, QStringList{QStringLiteral("MMControlMidi2 Command=open")});
        QVERIFY(window.isVisible());
    }

    void controlsStandWhereTheyBelong_data() {
        QTest::addColumn<bool>("music");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box"); // twips, relative to the parent
        const auto row = [](bool music, const char* name, QRect box) {
            QTest::addRow("%s", name) << music << QString::fromUtf8(name) << box;
        };
        row(false, "LblGameFilesTitle", {0, 0, 1815, 255});
        row(false, "DrvWav1", {0, 240, 1815, 315});
        row(false, "DirWav1", {0, 600, 1815, 990});
        row(false, "FleWav1", {0, 1620, 1815, 2235});
        row(false, "LblSampleWav1", {0, 3840, 1815, 255});
        row(false, "MMControlWav1", {10, 4080, 1780, 375});
        row(false, "DrvWav2", {7010, 240, 1815, 315});
        row(false, "MMControlWav2", {7030, 4080, 1780, 375});
        row(false, "Frame6", {4440, 2760, 2535, 855});
        row(false, "CmdReplaceWav4", {6120, 2280, 855, 375});
        row(false, "LblReplaceWav5", {120, 480, 2295, 255});
        row(false, "CmdSwitch", {1850, 4080, 5140, 375});
        row(true, "DirMidi2", {120, 600, 1815, 990});
        row(true, "LblMidiSample1", {480, 3840, 1095, 255});
        row(true, "MMControlMidi2", {120, 4080, 1815, 330});
        row(true, "LblReplaceMidiTitle", {4920, 0, 2055, 255});
        row(true, "FleMidi1", {5040, 1620, 1815, 2235});
        row(true, "FramMidiSel3", {2040, 2760, 2895, 855});
        row(true, "CmdChooseGame2mid", {2040, 2280, 975, 375});
        row(true, "CmdRemoveMidi3", {3000, 3600, 975, 375});
        row(true, "CmdTunevane", {2040, 4080, 2895, 375});
    }

    void controlsStandWhereTheyBelong() {
        QFETCH(bool, music);
        QFETCH(QString, name);
        QFETCH(QRect, box);
        App app(m_folder.path());
        QWidget* window = music ? static_cast<QWidget*>(&app.forms().get<FrmMidi>())
                                : static_cast<QWidget*>(&app.forms().get<FrmWavSelect>());
        auto* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), twipsRectOf(box));
    }

    void titlesAndTips() {
        App app(m_folder.path());
        FrmWavSelect& effects = app.forms().get<FrmWavSelect>();
        auto* title = effects.findChild<QLabel*>(QStringLiteral("LblReplaceTitle"));
        QCOMPARE(title->text(), QStringLiteral("REPLACEMENT FILES"));
        QCOMPARE(title->toolTip(), QStringLiteral("Replacement files are displayed in blue."));
        QCOMPARE(title->palette().color(QPalette::WindowText), replacementBlue);
        QCOMPARE(effects.findChild<QWidget*>(QStringLiteral("MMControlWav2"))->toolTip(),
                 QStringLiteral("Sample replacement wav files. NOTE: To repeat a selection you "
                                "must click on it again."));
        QCOMPARE(effects.findChild<QGroupBox*>(QStringLiteral("FrmSelectionTitle2"))->title(),
                 QStringLiteral("Selection 2"));
        QCOMPARE(effects.findChild<QComboBox*>(QStringLiteral("DrvWav2"))->toolTip(),
                 QStringLiteral("Select Drive"));
        FrmMidi& music = app.forms().get<FrmMidi>();
        QCOMPARE(music.findChild<QLabel*>(QStringLiteral("LblGameMidiFilesTitle"))->toolTip(),
                 QString());
        QCOMPARE(music.findChild<QWidget*>(QStringLiteral("DirMidi1"))->toolTip(),
                 QStringLiteral("Display's the directories on your hard drive. Access a "
                                "replacement directory or your Favorite Midi Folder from this "
                                "list."));
        QCOMPARE(music.findChild<QPushButton*>(QStringLiteral("CmdRemoveMidi2"))->toolTip(),
                 QStringLiteral("Clear Selection 2 choices."));
    }
};

QTEST_MAIN(SelectionWindowTest)
#include "SelectionWindowTest.moc"
