// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/BrowsingPane.h"
#include "AppTestMain.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "files/FileOps.h"
#include "files/Mounts.h"
#include "files/Path.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunevane;

namespace {

const QString folderTip = QStringLiteral("Folders tip");
const QString fileTip = QStringLiteral("Files tip");

QStringList rows(const QAbstractItemView* view) {
    QStringList texts;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, 0).data().toString());
    return texts;
}

QModelIndex rowNamed(const QAbstractItemView* view, const QString& text) {
    const QAbstractItemModel* model = view->model();
    for (int row = model->rowCount() - 1; row >= 0; --row) {
        if (model->index(row, 0).data().toString() == text)
            return model->index(row, 0);
    }
    return {};
}

bool touch(const QString& path) {
    return testsupport::writeFile(path, "RIFF");
}

struct Message {
    QString title;
    QString text;
    int buttons = 0;
};

// Reads the modal box the pane put up and dismisses it with its OK button.
std::optional<Message> answerMessage() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return std::nullopt;
    Message message{box->windowTitle(), box->text(), int(box->buttons().size())};
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (!ok)
        return std::nullopt;
    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return message;
}

void clickRow(QAbstractItemView* view, const QModelIndex& index) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// A window system reports a double click as a click followed by the second press.
void doubleClickRow(QAbstractItemView* view, const QModelIndex& index) {
    clickRow(view, index);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Picks an entry the way a user does: open the drop-down, click the entry.
void pickDrive(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex target = view->model()->index(index, 0);
    view->setCurrentIndex(target);
    view->scrollTo(target);
    clickRow(view, target);
}

bool mounted(const QString& point) {
    const QList<files::MountPoint> mounts = files::mountPoints();
    return std::any_of(mounts.cbegin(), mounts.cend(),
                       [&](const files::MountPoint& mount) { return mount.root == point; });
}

// A FUSE mount whose server is stopped, as a dropped sshfs or a sleeping NAS: every call into
// it waits until the server goes on. Typed as sshfs, so that it is listed as a drive.
class DeadMount {
public:
    DeadMount(const DeadMount&) = delete;
    DeadMount& operator=(const DeadMount&) = delete;
    DeadMount() = default;
    ~DeadMount() {
        if (m_server.state() == QProcess::NotRunning)
            return;
        resume();
        m_server.terminate();
        if (!m_server.waitForFinished(10'000) || mounted(m_point))
            ::umount2(QFile::encodeName(m_point).constData(), MNT_DETACH);
    }

    bool stop(const QString& real, const QString& point) {
        m_point = point;
        m_server.start(QStringLiteral("bindfs"), {QStringLiteral("-f"), QStringLiteral("-o"),
                                                  QStringLiteral("subtype=sshfs"), real, point});
        if (!m_server.waitForStarted()) {
            m_why = "cannot start bindfs";
            return false;
        }
        if (!QTest::qWaitFor([&] { return mounted(point); }, 10'000)) {
            m_why = "bindfs did not mount: " + m_server.readAllStandardError();
            return false;
        }
        return ::kill(pid_t(m_server.processId()), SIGSTOP) == 0;
    }
    void resume() { ::kill(pid_t(m_server.processId()), SIGCONT); }
    QByteArray why() const { return m_why; }

private:
    QProcess m_server;
    QString m_point;
    QByteArray m_why;
};

} // namespace

class BrowsingPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_root;
    std::unique_ptr<QWidget> m_window;

    BrowsingPane* addPane(FilePattern pattern, int number, const QString& programFolder = {}) {
        const QString n = QString::number(number);
        const QString kind =
            pattern == FilePattern::Wav ? QStringLiteral("Wav") : QStringLiteral("Midi");
        const int left = (number - 1) * 130;
        auto* pane = new BrowsingPane(
            m_window.get(), pattern, {u"Drv" + kind + n, u"Dir" + kind + n, u"Fle" + kind + n},
            {QRect(left, 16, 121, 21), QRect(left, 40, 121, 66), QRect(left, 108, 121, 149)},
            {folderTip, fileTip}, programFolder.isEmpty() ? m_root + u"/prog" : programFolder);
        return pane;
    }

    void showWindow() {
        m_window->resize(400, 300);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void init() {
        // A disk busy with a parallel build must not show a folder empty; only the dead
        // mount's test keeps the window's own bound.
        BrowsingPane::setListingBound(std::chrono::minutes(1));
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_root = QDir(m_temp->path()).canonicalPath();
        QVERIFY(QDir::setCurrent(m_root));
        m_window = std::make_unique<QWidget>();
    }

    void cleanup() {
        while (answerMessage()) {
        }
        m_window.reset();
        QDir::setCurrent(QDir::tempPath());
        m_temp.reset();
    }

    // --- start-up state and controls ---

    void startsAtCurrentFolderWithNothingSelected() {
        const QString program = m_root + u"/prog";
        QVERIFY(QDir().mkpath(program + u"/Favorite Midi"));
        QVERIFY(touch(program + u"/Favorite Midi/A.MID"));
        QVERIFY(QDir::setCurrent(program + u"/Favorite Midi"));

        BrowsingPane* pane = addPane(FilePattern::Mid, 1, program);
        QCOMPARE(pane->folderPath(), program + QStringLiteral("/Favorite Midi"));
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("A.MID")});
        QVERIFY(pane->fileList()->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(pane->selectedFileName(), QString());
        QCOMPARE(pane->fullPath(), program + QStringLiteral("/Favorite Midi/"));

        // The deepest location that holds the folder wins over "/" and the home folder.
        QCOMPARE(pane->driveList()->currentData().toString(), program);
        const QStringList drives = [&] {
            QStringList list;
            for (int i = 0; i < pane->driveList()->count(); ++i)
                list.append(pane->driveList()->itemData(i).toString());
            return list;
        }();
        QCOMPARE(drives.mid(0, 3), (QStringList{QStringLiteral("/"), QDir::homePath(), program}));
        for (const QString& drive : drives) {
            QVERIFY2(!drive.startsWith(QStringLiteral("/proc")) &&
                         !drive.startsWith(QStringLiteral("/sys")) &&
                         !drive.startsWith(QStringLiteral("/dev")),
                     qPrintable(drive));
            QCOMPARE(pane->driveList()->findData(drive), drives.indexOf(drive));
        }
    }

    void controlsCarryNamesTipsAndPlaces() {
        BrowsingPane* pane = addPane(FilePattern::Wav, 2);
        QCOMPARE(m_window->findChild<QComboBox*>(QStringLiteral("DrvWav2")), pane->driveList());
        QCOMPARE(m_window->findChild<QAbstractItemView*>(QStringLiteral("DirWav2")),
                 pane->folderList());
        QCOMPARE(m_window->findChild<QAbstractItemView*>(QStringLiteral("FleWav2")),
                 pane->fileList());
        QCOMPARE(pane->driveList()->toolTip(), QStringLiteral("Select Drive"));
        QCOMPARE(pane->folderList()->toolTip(), folderTip);
        QCOMPARE(pane->fileList()->toolTip(), fileTip);
        QCOMPARE(pane->driveList()->geometry(), QRect(130, 16, 121, 21));
        QCOMPARE(pane->folderList()->geometry(), QRect(130, 40, 121, 66));
        QCOMPARE(pane->fileList()->geometry(), QRect(130, 108, 121, 149));
        QCOMPARE(pane->fileList()->selectionMode(), QAbstractItemView::SingleSelection);
    }

    // --- what the lists hold ---

    void filesAreFilteredByPatternAndSorted() {
        for (const char* name : {"SOUND.WAV", "sound.wav", "Boom.Wav", "TUNE.MID", "tune.mid",
                                 "notes.txt", "sound.wav.bak", "wav", ".hidden.wav"})
            QVERIFY(touch(m_root + u'/' + QLatin1StringView(name)));
        const QString temporary = QStringLiteral(".tunevane-a1B2c3.part");
        QVERIFY(files::isTemporaryName(temporary));
        QVERIFY(touch(m_root + u'/' + temporary));
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("x.wav")));
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("y.MID")));
        QVERIFY(QFile::link(m_root + u"/TUNE.MID", m_root + u"/linked.mid"));
        QVERIFY(QFile::link(m_root + u"/x.wav", m_root + u"/folderlink.wav"));
        QVERIFY(QFile::link(m_root + u"/missing", m_root + u"/dangling.wav"));

        BrowsingPane* wav = addPane(FilePattern::Wav, 1);
        BrowsingPane* mid = addPane(FilePattern::Mid, 2);
        QCOMPARE(rows(wav->fileList()),
                 (QStringList{QStringLiteral("Boom.Wav"), QStringLiteral("SOUND.WAV"),
                              QStringLiteral("sound.wav")}));
        QCOMPARE(rows(mid->fileList()),
                 (QStringList{QStringLiteral("linked.mid"), QStringLiteral("TUNE.MID"),
                              QStringLiteral("tune.mid")}));
    }

    void foldersShowAncestorsThenSubfoldersWithHiddenOnes() {
        QDir root(m_root);
        for (const char* name : {"b", "A", ".wine", "c.wav"})
            QVERIFY(root.mkdir(QLatin1StringView(name)));
        QVERIFY(touch(m_root + u"/file"));
        QVERIFY(QFile::link(m_root + u"/b", m_root + u"/blink"));

        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        QStringList expected{QStringLiteral("/")};
        expected += m_root.split(u'/', Qt::SkipEmptyParts);
        const int current = int(expected.size()) - 1;
        expected += QStringList{QStringLiteral(".wine"), QStringLiteral("A"), QStringLiteral("b"),
                                QStringLiteral("blink"), QStringLiteral("c.wav")};
        QCOMPARE(rows(pane->folderList()), expected);
        QCOMPARE(pane->folderList()->currentIndex().row(), current);
    }

    void folderPathHasNoTrailingSeparator_data() {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, QStringView asked, QStringView expected) {
            QTest::newRow(tag) << asked.toString() << expected.toString();
        };
        row("trailing slash", u"ROOT/sub/", u"ROOT/sub");
        row("dot segments", u"ROOT/sub/./deeper/..", u"ROOT/sub");
        row("relative", u"sub/deeper", u"ROOT/sub/deeper");
        row("root", u"/", u"/");
        row("doubled root", u"//", u"/");
    }

    void folderPathHasNoTrailingSeparator() {
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("sub/deeper")));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        QVERIFY(pane->setFolder(asked.replace(QStringLiteral("ROOT"), m_root)));
        QCOMPARE(pane->folderPath(), expected.replace(QStringLiteral("ROOT"), m_root));
        QCOMPARE(pane->fullPath(), pane->folderPath() + u'/');
    }

    // --- user actions ---

    void clickingAFileSelectsItAndSignals() {
        QVERIFY(touch(m_root + u"/A.WAV"));
        QVERIFY(touch(m_root + u"/B.WAV"));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        QSignalSpy clicked(pane, &BrowsingPane::fileClicked);

        clickRow(pane->fileList(), rowNamed(pane->fileList(), QStringLiteral("B.WAV")));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(pane->selectedFileName(), QStringLiteral("B.WAV"));
        QCOMPARE(pane->fullPath(), m_root + QStringLiteral("/B.WAV"));

        // A second click on the same entry must re-arm the player again.
        clickRow(pane->fileList(), rowNamed(pane->fileList(), QStringLiteral("B.WAV")));
        QCOMPARE(clicked.count(), 2);

        clickRow(pane->fileList(), rowNamed(pane->fileList(), QStringLiteral("A.WAV")));
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(pane->selectedFileName(), QStringLiteral("A.WAV"));
        QCOMPARE(pane->fileList()->selectionModel()->selectedIndexes().size(), 1);
    }

    void keyboardChoiceReArmsLikeAClick_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("reArmed");
        QTest::newRow("down") << int(Qt::Key_Down) << QStringLiteral("Charlie.wav") << 2;
        QTest::newRow("up") << int(Qt::Key_Up) << QStringLiteral("Alpha.wav") << 2;
        QTest::newRow("end") << int(Qt::Key_End) << QStringLiteral("Echo.wav") << 2;
        QTest::newRow("home") << int(Qt::Key_Home) << QStringLiteral("Alpha.wav") << 2;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << QStringLiteral("Echo.wav") << 2;
        QTest::newRow("letter") << int(Qt::Key_D) << QStringLiteral("Delta.wav") << 2;
        QTest::newRow("letter of the chosen entry")
            << int(Qt::Key_B) << QStringLiteral("Bravo.wav") << 1;
    }

    void keyboardChoiceReArmsLikeAClick() {
        QFETCH(int, key);
        QFETCH(QString, chosen);
        QFETCH(int, reArmed);
        for (const char* name : {"Alpha.wav", "Bravo.wav", "Charlie.wav", "Delta.wav", "Echo.wav"})
            QVERIFY(touch(m_root + u'/' + QLatin1StringView(name)));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        QSignalSpy clicked(pane, &BrowsingPane::fileClicked);
        clickRow(pane->fileList(), rowNamed(pane->fileList(), QStringLiteral("Bravo.wav")));
        QCOMPARE(clicked.count(), 1);

        QTest::keyClick(pane->fileList(), Qt::Key(key));
        QCOMPARE(pane->selectedFileName(), chosen);
        QCOMPARE(clicked.count(), reArmed);
    }

    void deepFoldersStayLegible() {
        // A Wine game folder, one level of it named in an old code page.
        const QByteArray oddLevel = "M\xfcsik";
        QByteArray deep = QFile::encodeName(m_root) +
                          "/.wine/drive_c/Program Files/Some Game With A Long Name/Sound/";
        QVERIFY(QDir().mkpath(QFile::decodeName(deep)));
        deep += oddLevel;
        QVERIFY(::mkdir(deep.constData(), 0755) == 0);
        QVERIFY(::mkdir(QByteArray(deep + "/Favorite Midi").constData(), 0755) == 0);
        ::close(::creat(QByteArray(deep + "/A Tune Whose Name Runs Past The List.mid").constData(),
                        0644));
        const QString odd = files::decodeName(deep);

        BrowsingPane* pane = addPane(FilePattern::Mid, 1);
        showWindow();
        QVERIFY(pane->setFolder(odd));
        QCOMPARE(pane->folderPath(), odd);
        QAbstractItemView* folders = pane->folderList();
        QCOMPARE(folders->horizontalScrollBar()->isVisible(), false);
        const QAbstractItemModel* model = folders->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const QString path = index.data(Qt::UserRole).toString();
            QCOMPARE(index.data(Qt::ToolTipRole).toString(), files::readableName(path));
            // Entries elide inside the box rather than run out of it.
            QVERIFY(folders->visualRect(index).width() <= folders->viewport()->width());
        }
        // Both lists elide in the middle, so names that share their start still differ.
        const QAbstractItemView* tunes = pane->fileList();
        QVERIFY(folders->textElideMode() == Qt::ElideMiddle &&
                tunes->textElideMode() == Qt::ElideMiddle);
        QVERIFY(tunes->visualRect(tunes->model()->index(0, 0)).width() <=
                tunes->viewport()->width());
        QCOMPARE(rows(folders).last(), QStringLiteral("Favorite Midi"));
        QVERIFY(folders->visualRect(model->index(0, 0)).height() * 3 <=
                folders->viewport()->height());
        QCOMPARE(model->index(model->rowCount() - 2, 0).data(Qt::ToolTipRole).toString(),
                 files::readableName(odd));
        QVERIFY(files::readableName(odd).endsWith(QStringLiteral("/Müsik")));

        // The odd level opens under its own bytes.
        doubleClickRow(folders, rowNamed(folders, QStringLiteral("Favorite Midi")));
        QCOMPARE(pane->folderPath(), odd + QStringLiteral("/Favorite Midi"));
        doubleClickRow(folders, rowNamed(folders, files::decodeName(oddLevel)));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(pane->folderPath(), odd);

        const QComboBox* drives = pane->driveList();
        for (int i = 0; i < drives->count(); ++i)
            QCOMPARE(drives->itemData(i, Qt::ToolTipRole).toString(),
                     files::readableName(drives->itemData(i).toString()));
    }

    void openingAFolderRefreshesOnlyItsOwnPane() {
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("sub")));
        QVERIFY(touch(m_root + u"/TOP.WAV"));
        QVERIFY(touch(m_root + u"/sub/INNER.WAV"));
        BrowsingPane* first = addPane(FilePattern::Wav, 1);
        BrowsingPane* second = addPane(FilePattern::Wav, 2);
        showWindow();
        QSignalSpy firstClicks(first, &BrowsingPane::fileClicked);
        QSignalSpy secondClicks(second, &BrowsingPane::fileClicked);

        clickRow(first->fileList(), rowNamed(first->fileList(), QStringLiteral("TOP.WAV")));
        clickRow(second->fileList(), rowNamed(second->fileList(), QStringLiteral("TOP.WAV")));
        QCOMPARE(secondClicks.count(), 1);

        doubleClickRow(first->folderList(), rowNamed(first->folderList(), QStringLiteral("sub")));
        QCOMPARE(first->folderPath(), m_root + QStringLiteral("/sub"));
        QCOMPARE(rows(first->fileList()), QStringList{QStringLiteral("INNER.WAV")});
        QCOMPARE(first->selectedFileName(), QString());
        QCOMPARE(first->fullPath(), m_root + QStringLiteral("/sub/"));
        QCOMPARE(rows(first->folderList()).last(), QStringLiteral("sub"));

        QCOMPARE(second->folderPath(), m_root);
        QCOMPARE(rows(second->fileList()), QStringList{QStringLiteral("TOP.WAV")});
        QCOMPARE(second->selectedFileName(), QStringLiteral("TOP.WAV"));
        QCOMPARE(firstClicks.count(), 1);
        QCOMPARE(secondClicks.count(), 1);

        // Enter on an ancestor opens it, as a double click does.
        const QString parentName = m_root.section(u'/', -1);
        first->folderList()->setFocus();
        first->folderList()->setCurrentIndex(rowNamed(first->folderList(), parentName));
        QTest::keyClick(first->folderList(), Qt::Key_Return);
        QCOMPARE(first->folderPath(), m_root);
        QCOMPARE(rows(first->fileList()), QStringList{QStringLiteral("TOP.WAV")});
        QCOMPARE(firstClicks.count(), 1);

        // Reopening the folder that is shown re-reads it, again with nothing selected.
        clickRow(first->fileList(), rowNamed(first->fileList(), QStringLiteral("TOP.WAV")));
        QCOMPARE(first->selectedFileName(), QStringLiteral("TOP.WAV"));
        doubleClickRow(first->folderList(), first->folderList()->currentIndex());
        QCOMPARE(first->folderPath(), m_root);
        QCOMPARE(first->selectedFileName(), QString());
        QCOMPARE(first->fullPath(), m_root + u'/');
        QCOMPARE(firstClicks.count(), 2);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void folderThatCannotBeOpenedKeepsTheOldListing_data() {
        QTest::addColumn<bool>("vanish");
        QTest::newRow("vanished") << true;
        QTest::newRow("unreadable") << false;
    }

    void folderThatCannotBeOpenedKeepsTheOldListing() {
        QFETCH(bool, vanish);
        const QString gone = m_root + u"/gone";
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("gone")));
        QVERIFY(touch(m_root + u"/KEEP.WAV"));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        const QStringList folders = rows(pane->folderList());
        const int current = pane->folderList()->currentIndex().row();
        QVERIFY(vanish ? QDir(gone).removeRecursively()
                       : QFile::setPermissions(gone, QFileDevice::Permissions{}));
        QSignalSpy clicked(pane, &BrowsingPane::fileClicked);

        {
            // Root reads any folder. With this thread's file-system user switched to nobody,
            // the kernel checks the folder's permissions as it would for a user; no new
            // program is started, so nothing has to be reachable from the checkout.
            const bool asNobody = !vanish && ::geteuid() == 0;
            if (asNobody) {
                QVERIFY(QFile::setPermissions(m_root, QFile::permissions(m_root) |
                                                          QFileDevice::ExeOther |
                                                          QFileDevice::ReadOther));
                ::setfsuid(65534);
            }
            doubleClickRow(pane->folderList(),
                           rowNamed(pane->folderList(), QStringLiteral("gone")));
            if (asNobody)
                ::setfsuid(0);
        }
        const std::optional<Message> message = answerMessage();
        if (!vanish)
            QFile::setPermissions(gone, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
        QVERIFY(message);
        QCOMPARE(message->title, QStringLiteral("Folder Not Readable"));
        QCOMPARE(message->text, QStringLiteral("The folder \u201c") + gone +
                                    QStringLiteral("\u201d cannot be read."));
        QCOMPARE(message->buttons, 1);
        QVERIFY(!QApplication::activeModalWidget());

        QCOMPARE(pane->folderPath(), m_root);
        QCOMPARE(rows(pane->folderList()), folders);
        QCOMPARE(pane->folderList()->currentIndex().row(), current);
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("KEEP.WAV")});
        QCOMPARE(clicked.count(), 0);
    }

    void pickingALocationOpensItsTopFolder() {
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("here")));
        QVERIFY(QDir::setCurrent(m_root + u"/here"));
        const QString program = m_root + u"/prog";
        QVERIFY(QDir().mkpath(program + u"/Favorite Midi"));
        QVERIFY(touch(program + u"/SET.MID"));
        BrowsingPane* pane = addPane(FilePattern::Mid, 1, program);
        showWindow();
        QSignalSpy clicked(pane, &BrowsingPane::fileClicked);

        pickDrive(pane->driveList(), pane->driveList()->findData(program));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(pane->folderPath(), program);
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("SET.MID")});
        QCOMPARE(rows(pane->folderList()).last(), QStringLiteral("Favorite Midi"));

        // At the root the separator doubles, as the joining rule says.
        pickDrive(pane->driveList(), pane->driveList()->findData(QStringLiteral("/")));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(pane->folderPath(), QStringLiteral("/"));
        QCOMPARE(pane->fullPath(), QStringLiteral("//"));
        QCOMPARE(rows(pane->folderList()).first(), QStringLiteral("/"));
        QVERIFY(rows(pane->folderList()).contains(m_root.section(u'/', 1, 1)));
        QCOMPARE(clicked.count(), 0);
    }

    void locationThatVanishedKeepsTheOldListing() {
        const QString program = m_root + u"/prog";
        QVERIFY(QDir().mkpath(program));
        QVERIFY(touch(m_root + u"/OLD.WAV"));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1, program);
        showWindow();
        const QStringList folders = rows(pane->folderList());
        const int rootIndex = pane->driveList()->currentIndex();
        QVERIFY(QDir(program).removeRecursively());

        const int programIndex = pane->driveList()->findData(program);
        QVERIFY(programIndex >= 0 && programIndex != rootIndex);
        pickDrive(pane->driveList(), programIndex);
        const std::optional<Message> message = answerMessage();
        QVERIFY(message);
        QCOMPARE(message->title, QStringLiteral("Drive Not Ready"));
        QCOMPARE(message->text, QStringLiteral("Please insert a disk or CD."));
        QCOMPARE(message->buttons, 1);

        QCOMPARE(pane->driveList()->currentIndex(), programIndex);
        QCOMPARE(pane->folderPath(), m_root);
        QCOMPARE(rows(pane->folderList()), folders);
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("OLD.WAV")});
    }

    void volumeThatWentAwayIsNotReady() {
        const QString stick = m_root + u"/stick";
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("stick")));
        // tmpfs takes any source name; one under /dev/ makes the mount count as a disk.
        auto mounted = std::make_unique<testsupport::Mount>();
        if (!mounted->mount(stick, "size=1m", "/dev/tunevane-stick")) {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_MOUNT"))
                QFAIL(mounted->why().constData());
            QSKIP(mounted->why().constData());
        }
        QVERIFY(QDir(stick).mkdir(QStringLiteral("sounds")));
        QVERIFY(touch(stick + u"/sounds/ON_STICK.WAV"));
        QVERIFY(touch(m_root + u"/OLD.WAV"));
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        QComboBox* drives = pane->driveList();
        const int listed = drives->findData(stick);
        QVERIFY(listed >= 0);

        // Gone while the folder list still shows one of its folders.
        QVERIFY(pane->setFolder(stick + u"/sounds"));
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("ON_STICK.WAV")});
        mounted.reset();
        doubleClickRow(pane->folderList(), rowNamed(pane->folderList(), QStringLiteral("stick")));
        std::optional<Message> message = answerMessage();
        QVERIFY(message);
        QCOMPARE(message->title + u'|' + message->text,
                 QStringLiteral("Drive Not Ready|Please insert a disk or CD."));
        QCOMPARE(pane->folderPath(), stick + QStringLiteral("/sounds"));
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("ON_STICK.WAV")});

        // Picked from the closed list, which was not refreshed since.
        QVERIFY(pane->setFolder(m_root));
        drives->setCurrentIndex(listed - 1);
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down);
        QCOMPARE(drives->currentIndex(), listed);
        message = answerMessage();
        QVERIFY(message);
        QCOMPARE(message->title + u'|' + message->text,
                 QStringLiteral("Drive Not Ready|Please insert a disk or CD."));
        QCOMPARE(pane->folderPath(), m_root);
        QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("OLD.WAV")});

        // Opening the list looks at the mounts again, both ways.
        drives->showPopup();
        QCOMPARE(drives->findData(stick), -1);
        drives->hidePopup();
        QTRY_VERIFY(!drives->view()->isVisible());
        mounted = std::make_unique<testsupport::Mount>();
        QVERIFY(mounted->mount(stick, "size=1m", "/dev/tunevane-stick"));
        drives->showPopup();
        const QModelIndex back = drives->model()->index(drives->findData(stick), 0);
        QVERIFY(back.isValid());
        clickRow(drives->view(), back);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(pane->folderPath(), stick);
    }

    void deadMountNeverHoldsTheWindow_data() {
        QTest::addColumn<int>("steps");
        QTest::newRow("start-up") << 1;
        QTest::newRow("the drive list opened") << 2;
        QTest::newRow("the dead drive picked") << 3;
        QTest::newRow("a folder on it opened") << 4;
    }

    // Each step returns; a step that waited on the mount would hang the test instead.
    void deadMountNeverHoldsTheWindow() {
        QFETCH(int, steps);
        const QString real = m_root + u"/real";
        const QString dead = m_root + u"/dead";
        QVERIFY(QDir().mkpath(real + u"/sounds") && QDir(m_root).mkdir(QStringLiteral("dead")));
        QVERIFY(touch(real + u"/sounds/ON_NAS.WAV") && touch(m_root + u"/HERE.WAV"));
        DeadMount mount;
        if (!mount.stop(real, dead)) {
            if (qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_MOUNT"))
                QFAIL(mount.why().constData());
            QSKIP(mount.why().constData());
        }
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        BrowsingPane::setListingBound(BrowsingPane::defaultListingBound);
        QComboBox* drives = pane->driveList();
        QVERIFY(drives->findData(dead) >= 0);
        if (steps >= 2) {
            drives->showPopup();
            QVERIFY(drives->findData(dead) >= 0);
            drives->hidePopup();
            QTRY_VERIFY(!drives->view()->isVisible());
        }
        if (steps == 3) {
            pickDrive(drives, drives->findData(dead));
            const std::optional<Message> message = answerMessage();
            QVERIFY(message);
            QCOMPARE(message->title + u'|' + message->text,
                     QStringLiteral("Drive Not Ready|Please insert a disk or CD."));
            QCOMPARE(pane->folderPath(), m_root);
            QCOMPARE(rows(pane->fileList()), QStringList{QStringLiteral("HERE.WAV")});
        }
        if (steps == 4) {
            // Shown empty, with no message; filled once the mount answers again.
            doubleClickRow(pane->folderList(),
                           rowNamed(pane->folderList(), QStringLiteral("dead")));
            QVERIFY(!answerMessage());
            QCOMPARE(pane->folderPath(), dead);
            QCOMPARE(rows(pane->fileList()), QStringList{});
            mount.resume();
            QTRY_COMPARE(rows(pane->folderList()).last(), QStringLiteral("sounds"));
            QCOMPARE(pane->folderPath(), dead);
        }
    }

    void gamesAreLocationsToo() {
        const QString apps = m_root + u"/home/.local/share/Steam/steamapps";
        QVERIFY(QDir().mkpath(apps + u"/common/Some"));
        QVERIFY(QDir().mkpath(apps + u"/compatdata/7/pfx/drive_c"));
        QFile manifest(apps + u"/appmanifest_7.acf");
        QVERIFY(manifest.open(QIODevice::WriteOnly));
        manifest.write(
            "\"AppState\" { \"appid\" \"7\" \"name\" \"Some Game\" \"installdir\" \"Some\" }");
        manifest.close();
        const QByteArray home = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", home); });
        qputenv("HOME", QFile::encodeName(m_root + u"/home"));
        // A pane gone before the search answers takes nothing from it.
        delete addPane(FilePattern::Wav, 1);
        BrowsingPane* pane = addPane(FilePattern::Wav, 1);
        showWindow();
        QComboBox* drives = pane->driveList();
        // Found off the window thread, listed when found.
        QTRY_VERIFY(drives->findText(QStringLiteral("Some Game (Proton C:)")) >= 0);
        pickDrive(drives, drives->findText(QStringLiteral("Some Game (Steam)")));
        QCOMPARE(pane->folderPath(), apps + QStringLiteral("/common/Some"));
        pickDrive(drives, drives->findText(QStringLiteral("Some Game (Proton C:)")));
        QCOMPARE(pane->folderPath(), apps + QStringLiteral("/compatdata/7/pfx/drive_c"));
    }

    // --- which mounts count as locations ---

    void browsableVolumes_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("listed");
        const auto row = [](const char* tag, QStringView root, const char* device, const char* type,
                            bool listed) {
            QTest::newRow(tag) << root.toString() << QByteArray(device) << QByteArray(type)
                               << listed;
        };
        row("usb stick", u"/media/me/STICK", "/dev/sdb1", "vfat", true);
        row("run media", u"/run/media/me/CD", "/dev/sr0", "iso9660", true);
        row("mnt disk", u"/mnt/games", "/dev/nvme0n1p3", "ext4", true);
        row("ntfs", u"/data", "/dev/sda2", "fuseblk", true);
        row("nfs share", u"/srv/share", "server:/export", "nfs4", true);
        row("root", u"/", "/dev/vda", "ext4", false);
        row("proc", u"/proc", "proc", "proc", false);
        row("sysfs", u"/sys", "sysfs", "sysfs", false);
        row("user runtime", u"/run/user/1000", "tmpfs", "tmpfs", false);
        row("tmpfs on mnt", u"/mnt/scratch", "tmpfs", "tmpfs", false);
        row("block under run", u"/run/lock/x", "/dev/sdc1", "ext4", false);
        row("snap image", u"/snap/core/1", "/dev/loop3", "squashfs", false);
        row("overlay", u"/merged", "/dev/overlay", "overlay", false);
        row("shm", u"/dev/shm", "tmpfs", "tmpfs", false);
        row("prefix only", u"/procedures", "/dev/sdd1", "xfs", true);
    }

    void browsableVolumes() {
        QFETCH(QString, root);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, type);
        QFETCH(bool, listed);
        QCOMPARE(isBrowsableVolume(root, device, type), listed);
    }
};

TUNEVANE_TEST_MAIN(BrowsingPaneTest)
#include "BrowsingPaneTest.moc"
