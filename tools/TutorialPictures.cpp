// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the tutorial pages' pictures from our own windows, offscreen: it makes an example
// game folder with example WAV and MIDI files, drives the real windows into the states the
// pages explain, grabs them and scales them to each page's picture size. Beside every picture
// it writes where each control of the window fell, in picture pixels, and then where each
// page's lines run from their boxes to those controls.
//
//   TutorialPictures --out DIR [--require PICTURE:CONTROL]... [--page WINDOW --shot FILE.png]
//
// It fails (exit status 1, one line on stderr) when a window or a control that a picture must
// show is missing, so a changed window can never leave a page pointing at nothing.

#include "PrivateHome.h"
#include "TutorialLines.h"
#include "app/App.h"
#include "app/Application.h"
#include "help/TutorialPage.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace tunevane;

namespace {

struct Failure {
    QString why;
};

[[noreturn]] void fail(const QString& why) {
    throw Failure{why};
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// One window as it stood on screen, with the rectangle of each named control in it.
struct Grab {
    QString window;
    QImage image, sharp; // at one and at two device pixels to the pixel
    QColor background;
    QHash<QString, QRect> rects;
};

QWidget* shownWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    fail(QStringLiteral("window %1 is not on screen").arg(name));
}

template <class T> T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        fail(QStringLiteral("%1 has no control %2").arg(window->objectName(), name));
    return found;
}

void click(QWidget* window, const QString& button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
    settle();
}

// Opens `path` in a pane the way a user does: from the top of the folder list down, one
// folder at a time.
void openFolder(QWidget* window, const QString& folderList, const QString& path) {
    auto* list = control<QAbstractItemView>(window, folderList);
    auto activate = [&](int row) {
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
        settle();
    };
    activate(0);
    for (const QString& part : QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts)) {
        const QAbstractItemModel* model = list->model();
        int found = -1;
        for (int row = list->currentIndex().row() + 1; row < model->rowCount() && found < 0;
             ++row) {
            if (model->index(row, 0).data().toString() == part)
                found = row;
        }
        if (found < 0)
            fail(QStringLiteral("%1: no folder %2 on the way to %3").arg(folderList, part, path));
        activate(found);
    }
    list->scrollTo(list->currentIndex());
    // Names read from their start, as a user would scroll them back.
    list->horizontalScrollBar()->setValue(0);
}

void pickFile(QWidget* window, const QString& fileList, const QString& name) {
    auto* list = control<QAbstractItemView>(window, fileList);
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       name, 1, Qt::MatchExactly);
    if (found.isEmpty())
        fail(QStringLiteral("%1 does not list %2").arg(fileList, name));
    list->scrollTo(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(found.first()).center());
    settle();
}

void expectText(QWidget* window, const QString& label) {
    if (control<QLabel>(window, label)->text().isEmpty())
        fail(QStringLiteral("%1 of %2 stayed empty").arg(label, window->objectName()));
}

// While it lives, `window` shows the example's private folder, `root`, as a player's home:
// the labels' paths, the folder lists' ancestors and the drive list. The windows read their
// data from those controls, so everything is put back after.
class AsPlayerSees {
public:
    static constexpr QStringView home = u"/home/player";

    AsPlayerSees(QWidget* window, const QString& root) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().contains(root)) {
                m_labels.emplace_back(label, label->text());
                label->setText(QString(label->text()).replace(root, home.toString()));
            }
        }
        const QStringList rootParts = root.split(u'/', Qt::SkipEmptyParts);
        for (QListWidget* list : window->findChildren<QListWidget*>())
            showAncestors(list, rootParts);
        for (QComboBox* drives : window->findChildren<QComboBox*>()) {
            const int top = drives->findText(QStringLiteral("/"), Qt::MatchExactly);
            const QString shown = drives->currentData().toString();
            if (top >= 0 && !shown.isEmpty() && QString(root + u'/').startsWith(shown + u'/')) {
                m_drives.emplace_back(drives, drives->currentIndex());
                const QSignalBlocker quiet(drives);
                drives->setCurrentIndex(top);
            }
        }
    }
    ~AsPlayerSees() {
        for (const auto& [label, text] : m_labels)
            label->setText(text);
        for (auto& [list, items] : m_lists) {
            const QSignalBlocker quiet(list);
            const int current = items.current;
            list->clear();
            for (QListWidgetItem* item : items.all)
                list->addItem(item);
            list->setCurrentRow(current);
        }
        for (const auto& [drives, index] : m_drives) {
            const QSignalBlocker quiet(drives);
            drives->setCurrentIndex(index);
        }
    }
    AsPlayerSees(const AsPlayerSees&) = delete;
    AsPlayerSees& operator=(const AsPlayerSees&) = delete;

private:
    struct Items {
        QList<QListWidgetItem*> all;
        int current = -1;
    };

    // A folder list opens with "/" and one entry per ancestor down to its folder; an ancestor
    // shown at a row takes the indent the row had, which the deeper real path also gave it.
    void showAncestors(QListWidget* list, const QStringList& rootParts) {
        const int current = list->currentRow();
        if (current <= rootParts.size() || list->item(0)->text() != u'/')
            return;
        for (int row = 0; row < rootParts.size(); ++row) {
            if (list->item(row + 1)->text() != rootParts.at(row))
                return;
        }
        QStringList shown = home.toString().split(u'/', Qt::SkipEmptyParts);
        for (int row = rootParts.size() + 1; row <= current; ++row)
            shown << list->item(row)->text();
        // Past this depth the indent stops growing, so the children keep theirs.
        if (shown.size() < 4)
            fail(QStringLiteral("%1 shows a folder too shallow to map").arg(list->objectName()));
        const QSignalBlocker quiet(list);
        Items& items = m_lists.emplace_back(list, Items{}).second;
        items.current = current;
        for (int row = 0; row < list->count(); ++row)
            items.all << list->item(row)->clone();
        for (int row = 1; row <= current; ++row)
            delete list->takeItem(1);
        for (int part = 0; part < shown.size(); ++part) {
            QListWidgetItem* entry = items.all.at(part + 1)->clone();
            entry->setText(shown.at(part));
            list->insertItem(part + 1, entry);
        }
        list->setCurrentRow(int(shown.size()));
        list->scrollTo(list->currentIndex());
        list->horizontalScrollBar()->setValue(0);
    }

    std::vector<std::pair<QLabel*, QString>> m_labels;
    std::vector<std::pair<QListWidget*, Items>> m_lists;
    std::vector<std::pair<QComboBox*, int>> m_drives;
};

Grab grab(const QString& name, const QString& root) {
    QWidget* window = shownWindow(name);
    window->raise();
    // A picture explains a window, not where the last scripted click left the focus.
    if (QWidget* focused = window->focusWidget())
        focused->clearFocus();
    settle();
    const AsPlayerSees shown(window, root);
    settle();
    // Rendered at fixed ratios, whatever the screen's, so every build gives the same pictures.
    const auto render = [window](int ratio) {
        QImage image(window->size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        window->render(&image);
        return image;
    };
    Grab shot{name, render(1), render(2), window->palette().color(QPalette::Window), {}};
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        const QString object = child->objectName();
        if (object.isEmpty() || object.startsWith(u"qt_") || !child->isVisibleTo(window))
            continue;
        shot.rects.insert(object, QRect(child->mapTo(window, QPoint(0, 0)), child->size()));
    }
    return shot;
}

// Minimal but well-formed media, so the preview players open them like any other file.
QByteArray exampleWav() {
    const int frames = 800;
    QByteArray data("RIFF");
    auto put32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            data.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto put16 = [&](quint16 v) {
        data.append(static_cast<char>(v & 0xff));
        data.append(static_cast<char>(v >> 8));
    };
    put32(36 + frames);
    data.append("WAVEfmt ");
    put32(16);
    put16(1);    // PCM
    put16(1);    // mono
    put32(8000); // frames per second
    put32(8000); // bytes per second
    put16(1);    // block
    put16(8);    // bits
    data.append("data");
    put32(frames);
    data.append(QByteArray(frames, '\x80'));
    return data;
}

QByteArray exampleMidi() {
    // One quarter note of middle C.
    static const unsigned char bytes[] = {'M', 'T', 'h', 'd',  0,   0,   0, 6,    0,    0,  0, 1,
                                          0,   96,  'M', 'T',  'r', 'k', 0, 0,    0,    12, 0, 0x90,
                                          60,  64,  96,  0x80, 60,  0,   0, 0xff, 0x2f, 0};
    return {reinterpret_cast<const char*>(bytes), sizeof bytes};
}

void writeFiles(const QString& folder, const QStringList& names, const QByteArray& content) {
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("cannot make %1").arg(folder));
    for (const QString& name : names) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    }
}

// Where the example's folders lie: a private folder beside the pictures, locked while a run
// uses it. The pictures show it as a player's home, so its real place never shows.
class ExampleFolders {
public:
    explicit ExampleFolders(const QString& root) : m_root(root) {
        const QByteArray path = QFile::encodeName(m_root);
        struct stat st {};
        if ((::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) ||
            ::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
            fail(QStringLiteral("%1 is not a private folder of this user").arg(m_root));
        m_lock = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_lock < 0 || ::flock(m_lock, LOCK_EX) != 0)
            fail(QStringLiteral("cannot lock %1").arg(m_root));
        clear();
        usePrivateHome(m_root + QStringLiteral("/home"));
    }
    ~ExampleFolders() {
        QDir(m_root).removeRecursively();
        ::close(m_lock);
    }
    ExampleFolders(const ExampleFolders&) = delete;
    ExampleFolders& operator=(const ExampleFolders&) = delete;

    QString root() const { return m_root; }
    QString program() const { return m_root + QStringLiteral("/Tunevane"); }
    QString games() const { return m_root + QStringLiteral("/Games"); }

private:
    // What an earlier run left, killed before it could clean up, goes too.
    void clear() const {
        QDir(program()).removeRecursively();
        QDir(games()).removeRecursively();
    }

    QString m_root;
    int m_lock = -1;
};

// The example: a player's home with two games, the program folder, favourites and a set.
class Scenes {
public:
    explicit Scenes(const QString& root) : m_folders(root) {
        writeFiles(musicGame(), musicFiles, exampleMidi());
        writeFiles(programFolder() + QStringLiteral("/Favorite Midi"), favouriteFiles,
                   exampleMidi());
        writeFiles(effectsGame(), effectsFiles, exampleWav());
        writeFiles(programFolder() + QStringLiteral("/MrPattTZone"), effectsFiles, exampleWav());
    }

    std::map<QString, Grab> run() {
        music();
        effects();
        return std::move(m_grabs);
    }

private:
    // Shallow, so that the narrow folder lists show the set's and the games' names whole.
    QString programFolder() const { return m_folders.program(); }
    QString musicGame() const { return m_folders.games() + QStringLiteral("/BlackJack"); }
    QString effectsGame() const { return m_folders.games() + QStringLiteral("/MrPatt"); }

    void keep(const QString& picture, Grab shot) { m_grabs.insert_or_assign(picture, shot); }

    void music() {
        App app(programFolder());
        QDir::setCurrent(musicGame());
        app.forms().get<FrmMidi>().showModeless();
        settle();
        QWidget* window = shownWindow(QStringLiteral("FrmMidi"));
        openFolder(window, QStringLiteral("DirMidi2"), musicGame());
        openFolder(window, QStringLiteral("DirMidi1"),
                   programFolder() + QStringLiteral("/Favorite Midi"));
        for (int n = 1; n <= 3; ++n) {
            pickFile(window, QStringLiteral("FleMidi2"), musicFiles.at(n));
            click(window, QStringLiteral("CmdChooseGame%1mid").arg(n));
            pickFile(window, QStringLiteral("FleMidi1"), favouriteFiles.at(n - 1));
            click(window, QStringLiteral("CmdReplaceMidi%1").arg(n));
            expectText(window, QStringLiteral("LblGameMidi%1").arg(n));
            expectText(window, QStringLiteral("LblReplaceMidi%1").arg(n));
        }
        keep(QStringLiteral("midi-selection"), grab(QStringLiteral("FrmMidi"), m_folders.root()));

        click(window, QStringLiteral("CmdTunevane"));
        keep(QStringLiteral("midi-switch"), grab(QStringLiteral("FrmCopyMidi"), m_folders.root()));

        backUp(QStringLiteral("FrmCopyMidi"), QStringLiteral("CmdMidiBackup"),
               QStringLiteral("FrmMidiBackup"), QStringLiteral("LblmidBackupPath%1"), 3,
               QStringLiteral("CmdProceed"), QStringLiteral("BlackJackMidi"));
        keep(QStringLiteral("midi-backup"), m_backup);
        keep(QStringLiteral("midi-backup-name"), m_name);
    }

    void effects() {
        App app(programFolder());
        QDir::setCurrent(effectsGame());
        app.forms().get<FrmWavSelect>().showModeless();
        settle();
        QWidget* window = shownWindow(QStringLiteral("FrmWavSelect"));
        openFolder(window, QStringLiteral("DirWav1"), effectsGame());
        openFolder(window, QStringLiteral("DirWav2"),
                   programFolder() + QStringLiteral("/MrPattTZone"));
        for (int n = 1; n <= 6; ++n) {
            const QString& name = effectsFiles.at(n - 1);
            pickFile(window, QStringLiteral("FleWav2"), name);
            click(window, QStringLiteral("CmdReplaceWav%1").arg(n));
            pickFile(window, QStringLiteral("FleWav1"), name);
            click(window, QStringLiteral("CmdChooseGame%1").arg(n));
            expectText(window, QStringLiteral("LblGameWav%1").arg(n));
            expectText(window, QStringLiteral("LblReplaceWav%1").arg(n));
        }
        const Grab selection = grab(QStringLiteral("FrmWavSelect"), m_folders.root());
        keep(QStringLiteral("wav-selection"), selection);
        keep(QStringLiteral("set-game-folder"), selection);
        keep(QStringLiteral("set-saved-set"), selection);

        click(window, QStringLiteral("CmdSwitch"));
        keep(QStringLiteral("wav-switch"), grab(QStringLiteral("FrmCopyWavs"), m_folders.root()));

        backUp(QStringLiteral("FrmCopyWavs"), QStringLiteral("CmdWavBackup"),
               QStringLiteral("FrmWavBackup"), QStringLiteral("LblBackupPath%1"), 6,
               QStringLiteral("CmdBackup1"), QStringLiteral("MrPattWav"));
        keep(QStringLiteral("wav-backup"), m_backup);
        keep(QStringLiteral("wav-backup-name"), m_name);
    }

    // From the switch window to its backup window listing the game files, then on to the
    // backup-name dialog with a name typed in.
    void backUp(const QString& switchWindow, const QString& button, const QString& backup,
                const QString& pathLabel, int slots, const QString& proceed, const QString& name) {
        click(shownWindow(switchWindow), button);
        QWidget* window = shownWindow(backup);
        for (int n = 1; n <= slots; ++n)
            expectText(window, pathLabel.arg(n));
        m_backup = grab(backup, m_folders.root());
        click(window, proceed);
        QWidget* dialog = shownWindow(QStringLiteral("FrmSetName2"));
        QTest::keyClicks(control<QComboBox>(dialog, QStringLiteral("CboSetName2")), name);
        settle();
        m_name = grab(QStringLiteral("FrmSetName2"), m_folders.root());
    }

    const QStringList musicFiles = {QStringLiteral("DEAL.MID"), QStringLiteral("INTRO.MID"),
                                    QStringLiteral("LOBBY.MID"), QStringLiteral("TABLE.MID"),
                                    QStringLiteral("WINNER.MID")};
    const QStringList favouriteFiles = {
        QStringLiteral("Blue Danube.mid"), QStringLiteral("Maple Leaf Rag.mid"),
        QStringLiteral("Moonlight Sonata.mid"), QStringLiteral("Toccata.mid")};
    const QStringList effectsFiles = {QStringLiteral("BONUS.WAV"),  QStringLiteral("BUMPER.WAV"),
                                      QStringLiteral("DRAIN.WAV"),  QStringLiteral("FLIPPER.WAV"),
                                      QStringLiteral("LAUNCH.WAV"), QStringLiteral("TILT.WAV")};

    ExampleFolders m_folders;
    std::map<QString, Grab> m_grabs;
    Grab m_backup, m_name;
};

// The part of its grab that a picture shows, by the controls it must hold; none: the whole
// window. The two figures of "About Saving Sets" show one side of the effects selection window
// each: a pane with the column of slots beside it.
QStringList areaOf(const QString& picture) {
    if (picture == u"set-game-folder")
        return {QStringLiteral("LblGameFilesTitle"),
                QStringLiteral("DrvWav1"),
                QStringLiteral("DirWav1"),
                QStringLiteral("FleWav1"),
                QStringLiteral("FrmSelectionTitle1"),
                QStringLiteral("Frame5"),
                QStringLiteral("CmdReplaceWav5")};
    if (picture == u"set-saved-set")
        return {QStringLiteral("LblReplaceTitle"),
                QStringLiteral("DrvWav2"),
                QStringLiteral("DirWav2"),
                QStringLiteral("FleWav2"),
                QStringLiteral("FrmSelectionTitle2"),
                QStringLiteral("Frame6"),
                QStringLiteral("CmdChooseGame6")};
    return {};
}

struct Picture {
    QImage image, sharp;
    QHash<QString, QRect> rects;
};

// `source` cut to `cut` and scaled to `scaledSize` at `offset` in a picture of `size`, all in
// pixels, on a canvas of `ratio` device pixels to the pixel.
QImage scaleInto(const QImage& source, const QRect& cut, const QSize& size, const QSize& scaledSize,
                 const QPointF& offset, const QColor& background, int ratio) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.fill(background);
    QImage part = source.copy(QRect(cut.topLeft() * ratio, cut.size() * ratio));
    part.setDevicePixelRatio(1); // drawn in device pixels
    QPainter painter(&image);
    painter.drawImage(offset * ratio, part.scaled(scaledSize * ratio, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation));
    painter.end();
    return image;
}

Picture render(const Grab& source, const QStringList& area, const QSize& size) {
    QRect cut = source.image.rect();
    if (!area.isEmpty()) {
        QRect united;
        for (const QString& name : area) {
            if (!source.rects.contains(name))
                fail(QStringLiteral("%1 has no control %2").arg(source.window, name));
            united |= source.rects.value(name);
        }
        cut = united.adjusted(-4, -4, 4, 4) & source.image.rect();
    }
    // Scaled as a whole, never stretched; what is left over is the window's own background.
    const qreal scale =
        std::min(qreal(size.width()) / cut.width(), qreal(size.height()) / cut.height());
    const QSize scaledSize(qRound(cut.width() * scale), qRound(cut.height() * scale));
    const QPointF offset((size.width() - scaledSize.width()) / 2,
                         (size.height() - scaledSize.height()) / 2);
    Picture picture{scaleInto(source.image, cut, size, scaledSize, offset, source.background, 1),
                    scaleInto(source.sharp, cut, size, scaledSize, offset, source.background, 2),
                    {}};
    for (auto it = source.rects.begin(); it != source.rects.end(); ++it) {
        const QRectF moved(offset + QPointF(it.value().topLeft() - cut.topLeft()) * scale,
                           QSizeF(it.value().size()) * scale);
        const QRect inside = moved.toAlignedRect() & picture.image.rect();
        if (!inside.isEmpty())
            picture.rects.insert(it.key(), inside);
    }
    return picture;
}

void save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("cannot write %1").arg(path));
}

void savePng(const QString& path, const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        fail(QStringLiteral("cannot encode %1").arg(path));
    save(path, png);
}

void write(const QString& folder, const QString& name, const QString& window,
           const Picture& picture) {
    savePng(folder + u'/' + name + QStringLiteral(".png"), picture.image);
    // Beside it under Qt's name for twice the pixels, which screens of more pixels pick up.
    savePng(folder + u'/' + name + QStringLiteral("@2x.png"), picture.sharp);

    QJsonObject controls;
    for (auto it = picture.rects.begin(); it != picture.rects.end(); ++it) {
        const QRect& r = it.value();
        controls.insert(it.key(), QJsonArray{r.x(), r.y(), r.width(), r.height()});
    }
    const QJsonObject root{{QStringLiteral("window"), window},
                           {QStringLiteral("width"), picture.image.width()},
                           {QStringLiteral("height"), picture.image.height()},
                           {QStringLiteral("controls"), controls}};
    save(folder + u'/' + name + QStringLiteral(".json"), QJsonDocument(root).toJson());
}

// What each picture must show: the controls its page's lines point at, and any asked for.
std::map<QString, QStringList> required(const QStringList& extra) {
    std::map<QString, QStringList> needs;
    for (const PageLayout* page : tutorialPages()) {
        for (const PagePicture& picture : page->pictures) {
            QStringList& names = needs[QString::fromUtf8(picture.file)];
            if (page->pictures.size() == 1) {
                for (const PointerLine& line : page->lines)
                    names << QString::fromUtf8(line.target);
            }
        }
    }
    for (const QString& item : extra) {
        const qsizetype colon = item.indexOf(u':');
        if (colon <= 0)
            fail(QStringLiteral("--require wants PICTURE:CONTROL, not %1").arg(item));
        needs[item.left(colon)] << item.mid(colon + 1);
    }
    return needs;
}

// The resource list for what this run wrote: the build learns the pictures' names from the
// run that makes them, so no list of them is kept anywhere else.
QByteArray resourceList(const std::set<QString>& files) {
    QByteArray qrc("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n");
    for (const QString& file : files)
        qrc += "  <file>" + file.toHtmlEscaped().toUtf8() + "</file>\n";
    return qrc + "</qresource>\n</RCC>\n";
}

void makePictures(const QString& folder, const QStringList& extra) {
    std::set<QString> written;
    const std::map<QString, Grab> grabs =
        Scenes(QDir(folder).absoluteFilePath(QStringLiteral(".example"))).run();
    const std::map<QString, QStringList> needs = required(extra);
    for (const PageLayout* page : tutorialPages()) {
        if (page->lines.size() > 0 && page->pictures.size() != 1)
            fail(QStringLiteral("%1: lines need exactly one picture")
                     .arg(QString::fromUtf8(page->name)));
        for (const PagePicture& picture : page->pictures) {
            const QString name = QString::fromUtf8(picture.file);
            const auto source = grabs.find(name);
            if (source == grabs.end())
                fail(QStringLiteral("no scene renders the picture %1 of %2")
                         .arg(name, QString::fromUtf8(page->name)));
            const Picture made =
                render(source->second, areaOf(name), QSize(picture.width, picture.height));
            for (const QString& control : needs.at(name)) {
                if (!made.rects.contains(control))
                    fail(QStringLiteral("picture %1: %2 shows no control %3")
                             .arg(name, source->second.window, control));
            }
            write(folder, name, source->second.window, made);
            for (const char* kind : {".png", "@2x.png", ".json"})
                written.insert(name + QLatin1String(kind));
        }
    }
    for (const auto& [name, controls] : needs) {
        if (!grabs.contains(name))
            fail(QStringLiteral("no picture named %1").arg(name));
    }
    // The pages find the pictures just written, and their lines are routed over them.
    const RoutedPages routed = routeTutorialLines(folder);
    if (!routed.why.isEmpty())
        fail(routed.why);
    const QString lines = QString::fromLatin1(routedLinesFile) + QStringLiteral(".json");
    save(folder + u'/' + lines, routedLinesJson(routed.lines));
    written.insert(lines);
    save(folder + QStringLiteral("/pictures.qrc"), resourceList(written));
}

// A page as the user sees it, for the README.
void shootPage(const QString& name, const QString& file, const QString& scratch) {
    const QTemporaryDir programFolder(scratch + QStringLiteral("/.page-XXXXXX"));
    App app(programFolder.path());
    TutorialPage* page = loadTutorialPage(app, name);
    if (!page)
        fail(QStringLiteral("no tutorial page %1").arg(name));
    page->showModeless();
    settle();
    savePng(file, shownWindow(name)->grab().toImage());
}

// The offscreen platform's complaints about window-system calls it has no use for.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A build machine may have no session; the runtime folder is only asked for, never used.
    // Like everything this run makes, it lies in the build tree: under --out, which the
    // application would only read after it asked.
    const QStringList arguments = [&] {
        QStringList all;
        for (int i = 0; i < argc; ++i)
            all << QString::fromLocal8Bit(argv[i]);
        return all;
    }();
    const qsizetype out = arguments.indexOf(QStringLiteral("--out"));
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && out > 0 && out + 1 < arguments.size() &&
        QDir().mkpath(arguments.at(out + 1))) {
        runtime.emplace(arguments.at(out + 1) + QStringLiteral("/.runtime-XXXXXX"));
        if (runtime->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    qInstallMessageHandler(quietOffscreen);
    Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunevane"));

    QCommandLineParser parser;
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                      QStringLiteral("folder")});
    parser.addOption({QStringLiteral("require"),
                      QStringLiteral("A control the picture must show besides its lines' targets."),
                      QStringLiteral("picture:control")});
    parser.addOption({QStringLiteral("page"), QStringLiteral("Also shoot this tutorial page."),
                      QStringLiteral("window")});
    parser.addOption({QStringLiteral("shot"), QStringLiteral("Where the page's shot goes."),
                      QStringLiteral("file")});
    parser.addHelpOption();
    parser.process(application);

    try {
        const QString folder = parser.value(QStringLiteral("out"));
        if (folder.isEmpty() || !QDir().mkpath(folder))
            fail(QStringLiteral("--out wants a folder that can be made"));
        // The pages look for their pictures where this run writes them.
        QDir::setSearchPaths(QString::fromLatin1(pictureSearchPath), {QDir(folder).absolutePath()});
        const QString startFolder = QDir::currentPath();
        makePictures(folder, parser.values(QStringLiteral("require")));
        QDir::setCurrent(startFolder);
        if (parser.isSet(QStringLiteral("page")))
            shootPage(parser.value(QStringLiteral("page")), parser.value(QStringLiteral("shot")),
                      folder);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "TutorialPictures: %s\n", qPrintable(failure.why));
        return 1;
    }
    return 0;
}
