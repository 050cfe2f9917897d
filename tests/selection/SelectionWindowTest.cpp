#include "../audio/TestMedia.h"
#include "TestSupport.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "selection/PreviewPlayer.h"
#include "switching/FrmCopyMidi.h"
#include "switching/FrmCopyWavs.h"

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
    return {player + QStringLiteral(" Notify=false"),
            player + QStringLiteral(" Wait=true"),
            player + QStringLiteral(" Shareable=false"),
            player + QStringLiteral(" DeviceType=") + device,
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
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box"); // twips, relative to the parent
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* window, const char* name, QRect box,
                            const char* caption = "") {
            QTest::addRow("%s", name) << QString::fromUtf8(window) << QString::fromUtf8(name) << box
                                      << QString::fromUtf8(caption);
        };
        row("FrmWavSelect", "LblGameFilesTitle", {0, 0, 1815, 255}, "GAME FILES");
        row("FrmWavSelect", "DrvWav1", {0, 240, 1815, 315});
        row("FrmWavSelect", "DirWav1", {0, 600, 1815, 990});
        row("FrmWavSelect", "FleWav1", {0, 1620, 1815, 2235});
        row("FrmWavSelect", "LblSampleWav1", {0, 3840, 1815, 255}, "Sample");
        row("FrmWavSelect", "MMControlWav1", {10, 4080, 1780, 375});
        row("FrmWavSelect", "DrvWav2", {7010, 240, 1815, 315});
        row("FrmWavSelect", "MMControlWav2", {7030, 4080, 1780, 375});
        row("FrmWavSelect", "Frame6", {4440, 2760, 2535, 855});
        row("FrmWavSelect", "CmdReplaceWav4", {6120, 2280, 855, 375}, "Replace");
        row("FrmWavSelect", "LblReplaceWav5", {120, 480, 2295, 255});
        row("FrmWavSelect", "CmdSwitch", {1850, 4080, 5140, 375}, "Next");
        row("FrmMidi", "DirMidi2", {120, 600, 1815, 990});
        row("FrmMidi", "LblMidiSample1", {480, 3840, 1095, 255}, "Sample");
        row("FrmMidi", "MMControlMidi2", {120, 4080, 1815, 330});
        row("FrmMidi", "LblReplaceMidiTitle", {4920, 0, 2055, 255}, "REPLACEMENT FILES");
        row("FrmMidi", "FleMidi1", {5040, 1620, 1815, 2235});
        row("FrmMidi", "FramMidiSel3", {2040, 2760, 2895, 855});
        row("FrmMidi", "CmdChooseGame2mid", {2040, 2280, 975, 375}, "Game File");
        row("FrmMidi", "CmdRemoveMidi3", {3000, 3600, 975, 375}, "Remove");
        row("FrmMidi", "CmdTunevane", {2040, 4080, 2895, 375}, "Next");
        row("FrmCopyWavs", "LblSelectionRed", {150, 60, 6195, 210},
            "Please be certain that the \"Selection\" entries are Game Files and not "
            "Replacement Wav's.");
        row("FrmCopyWavs", "FrmWithWav4", {3840, 2240, 2580, 615}, "Replace with:");
        row("FrmCopyWavs", "LblRepFile4", {120, 240, 2295, 255});
        row("FrmCopyWavs", "CmdClear6", {2760, 3690, 970, 400}, "Remove");
        row("FrmCopyWavs", "CmdWavBackup", {0, 4200, 2775, 375}, "BACKUP ORIGINAL GAME FILES");
        row("FrmCopyWavs", "CmdCreateSet", {3720, 4200, 1095, 375}, "Save Set");
        row("FrmCopyWavs", "CmdWavHelp2", {5640, 4200, 840, 375}, "Help");
        row("FrmCopyMidi", "FrmMidiSelect3", {80, 1600, 2820, 615}, "Selection 3");
        row("FrmCopyMidi", "LblFileName2b", {120, 240, 2535, 255});
        row("FrmCopyMidi", "CmdMidiRemove2", {3000, 1080, 975, 400}, "Remove");
        row("FrmCopyMidi", "CmdSwitch3", {3000, 2280, 975, 375}, "SWITCH");
        row("FrmCopyMidi", "CmdFavorites", {3960, 2280, 1335, 375}, "Add to Favorites");
        row("FrmCopyMidi", "CmdExitFrmCopyMidi", {5280, 2280, 855, 375}, "Close");
    }

    void controlsStandWhereTheyBelong() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QRect, box);
        QFETCH(QString, caption);
        App app(m_folder.path());
        app.forms().get<FrmMidi>();
        app.forms().get<FrmWavSelect>();
        app.forms().get<FrmCopyMidi>();
        app.forms().get<FrmCopyWavs>();
        QWidget* form = testsupport::topLevel(window);
        QVERIFY2(form, qPrintable(window));
        auto* control = form->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), twipsRectOf(box));
        if (!caption.isEmpty()) {
            QString text = control->property("text").toString();
            if (auto* frame = qobject_cast<QGroupBox*>(control))
                text = frame->title();
            QCOMPARE(text, caption);
        }
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
