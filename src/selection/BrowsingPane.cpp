// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/BrowsingPane.h"
#include "files/Path.h"

#include "app/Log.h"
#include "app/Ui.h"
#include "files/Bounded.h"
#include "files/FileOps.h"
#include "files/LiveTarget.h"
#include "files/Mounts.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QMetaObject>
#include <QPointer>
#include <QSet>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <utility>

namespace tunevane {

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int depthRole = Qt::UserRole + 1;
constexpr int volumeRole = Qt::UserRole + 2;
constexpr int gameRole = Qt::UserRole + 3;
constexpr int indentStep = 3;
// Ancestors deeper than this share one indentation; subfolders still sit one step further in.
constexpr int maxAncestorLevel = 4;
// How long the window waits for a folder's listing: long enough for a cold local disk, short
// enough that a mount that stopped answering is no freeze.
std::chrono::milliseconds listingBound{BrowsingPane::defaultListingBound};
// How long the program's end waits for a search for games still running.
constexpr std::chrono::milliseconds searchEndBound{300};

using Listing = BrowsingPane::Listing;

bool hasSuffix(const char* name, std::size_t length, const char* suffix) {
    const std::size_t suffixLength = std::strlen(suffix);
    if (length <= suffixLength)
        return false;
    const char* tail = name + length - suffixLength;
    for (std::size_t i = 0; i < suffixLength; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

void sortByName(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

// One pass over the folder: the entry types come with the names, so only symbolic links
// (and filesystems that report no types) cost a stat.
std::optional<Listing> readFolder(const QString& path, FilePattern pattern) {
    DIR* dir = ::opendir(files::encodePath(path).constData());
    if (!dir)
        return std::nullopt;
    const char* suffix = pattern == FilePattern::Wav ? ".wav" : ".mid";
    Listing listing;
    const int dirFd = ::dirfd(dir);
    bool failed = false;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            failed = errno != 0;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        const std::size_t length = std::strlen(name);
        const bool hidden = name[0] == '.';
        const bool matches = !hidden && hasSuffix(name, length, suffix);
        bool isFolder = false;
        bool isFile = false;
        switch (entry->d_type) {
        case DT_DIR:
            isFolder = true;
            break;
        case DT_REG:
            isFile = true;
            break;
        case DT_LNK:
        case DT_UNKNOWN: {
            struct stat info {};
            if (::fstatat(dirFd, name, &info, 0) == 0) {
                isFolder = S_ISDIR(info.st_mode);
                isFile = S_ISREG(info.st_mode);
            }
            break;
        }
        default:
            break;
        }
        if (isFolder) {
            listing.folders.append(files::decodeName(name));
        } else if (isFile && matches) {
            QString decoded = files::decodeName(name);
            if (!files::isTemporaryName(decoded))
                listing.files.append(std::move(decoded));
        }
    }
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    sortByName(listing.folders);
    sortByName(listing.files);
    return listing;
}

bool isUnder(const QString& path, const QString& top) {
    if (top == u'/')
        return path.startsWith(u'/');
    return path == top || (path.startsWith(top) && path.at(top.size()) == u'/');
}

// Indents each folder entry by its level so the flat list reads as a tree. Steps are small
// and entries only as wide as the list, so deep game folders elide instead of growing a
// scroll bar that would hide rows.
class FolderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {indent(index), QStyledItemDelegate::sizeHint(option, index).height()};
    }

    QString displayText(const QVariant& value, const QLocale&) const override {
        return files::readableName(value.toString());
    }

private:
    static int indent(const QModelIndex& index) {
        return index.data(depthRole).toInt() * indentStep;
    }
};

// File names stay exact in the model; only what is drawn is the readable form. Entries are
// only as wide as the list, so a long name elides instead of growing a scroll bar.
class FileDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {0, QStyledItemDelegate::sizeHint(option, index).height()};
    }

    QString displayText(const QVariant& value, const QLocale&) const override {
        return files::readableName(value.toString());
    }
};

// A drive list that looks at the mounts and the games again each time it is opened.
class DriveList : public QComboBox {
public:
    DriveList(QWidget* parent, std::function<void()> refresh)
        : QComboBox(parent), m_refresh(std::move(refresh)) {}

    void showPopup() override {
        m_refresh();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_refresh;
};

// The drive list's rows: the fixed locations and volumes, then the games. The games are the
// search's own list, shared and never copied row by row, and their texts are made only for
// the rows that are drawn: thousands of games cost a pane next to nothing.
class DriveModel : public QAbstractListModel {
public:
    struct Top {
        QString path;
        bool volume = false;
    };

    using QAbstractListModel::QAbstractListModel;

    void reset(QList<Top> tops, QList<games::GamePlace> games) {
        beginResetModel();
        m_tops = std::move(tops);
        m_games = std::move(games);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_tops.size() + m_games.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const bool game = index.row() >= m_tops.size();
        const QString& path =
            game ? m_games[index.row() - m_tops.size()].path : m_tops[index.row()].path;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return files::readableName(game ? m_games[index.row() - m_tops.size()].name : path);
        case Qt::ToolTipRole:
            return files::readableName(path);
        case pathRole:
            return path;
        case volumeRole:
            return !game && m_tops[index.row()].volume;
        case gameRole:
            return game;
        default:
            return {};
        }
    }

private:
    QList<Top> m_tops;
    QList<games::GamePlace> m_games;
};

// The places the last search found, for every pane: a pane opened later lists them at once.
// Window thread only.
QList<games::GamePlace>& lastGamePlaces() {
    static QList<games::GamePlace> places;
    return places;
}

bool isMountPoint(const QString& path) {
    const QList<files::MountPoint> mounts = files::mountPoints();
    return std::any_of(mounts.cbegin(), mounts.cend(),
                       [&](const files::MountPoint& mount) { return mount.root == path; });
}

// One search for games at a time, for every pane: a pane that asks while one runs gets the
// next one's result, never an older one's. The program's end waits a moment for a search
// that still runs; one that outlives that (a library on a mount that stopped answering)
// posts nothing any more.
class GameSearches {
public:
    static GameSearches& instance() {
        // Never destroyed: a search thread may still hold it while the process ends.
        static auto* const searches = new GameSearches;
        return *searches;
    }

    // Window thread. `found` runs there with each newest result.
    void request(const QString& home, const QString& winePrefix,
                 std::function<void(QList<games::GamePlace>)> found) {
        std::unique_lock guard(m_lock);
        ++m_requested;
        m_home = home;
        m_winePrefix = winePrefix;
        m_found = std::move(found);
        if (m_running || m_ended)
            return;
        if (!m_endHooked) {
            qAddPostRoutine([] { instance().end(); });
            m_endHooked = true;
        }
        m_running = true;
        try {
            std::thread([this] { run(); }).detach();
        } catch (const std::system_error& error) {
            m_running = false;
            qCWarning(lcUi, "cannot start the search for games: %s", error.what());
        }
    }

private:
    void run() {
        std::unique_lock guard(m_lock);
        for (;;) {
            const quint64 asked = m_requested;
            const QString home = m_home;
            const QString winePrefix = m_winePrefix;
            guard.unlock();
            QList<games::GamePlace> places = games::findGamePlaces(home, winePrefix);
            guard.lock();
            if (m_ended)
                break;
            // Asked again meanwhile: this answer may be older than what was asked for.
            if (m_requested != asked)
                continue;
            QMetaObject::invokeMethod(
                qApp, [found = m_found, places = std::move(places)] { found(places); },
                Qt::QueuedConnection);
            break;
        }
        m_running = false;
        m_stopped.notify_all();
    }

    void end() {
        std::unique_lock guard(m_lock);
        m_ended = true;
        if (!m_stopped.wait_for(guard, searchEndBound, [this] { return !m_running; }))
            qCWarning(lcUi, "the search for games did not end with the program");
    }

    std::mutex m_lock;
    std::condition_variable m_stopped;
    quint64 m_requested = 0;
    QString m_home;
    QString m_winePrefix;
    std::function<void(QList<games::GamePlace>)> m_found;
    bool m_running = false;
    bool m_ended = false;
    bool m_endHooked = false;
};

// The panes that take the found games. Window thread only.
QList<QPointer<BrowsingPane>>& livePanes() {
    static QList<QPointer<BrowsingPane>> panes;
    return panes;
}

} // namespace

// Shared with the threads that read folders for the pane. The pane clears `pane` under the
// lock as it goes, so a late listing is only ever posted to a pane that exists; Qt drops a
// posted call whose pane is deleted before it runs.

bool isBrowsableVolume(const QString& rootPath, const QByteArray& device,
                       const QByteArray& fileSystemType) {
    if (rootPath.isEmpty() || rootPath == u'/')
        return false;
    static const QStringList systemTops = {
        QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
        QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/var/lib/docker"),
    };
    const bool removableUnderRun = isUnder(rootPath, QStringLiteral("/run/media"));
    for (const QString& top : systemTops) {
        if (isUnder(rootPath, top) && !removableUnderRun)
            return false;
    }
    // Loop-mounted images and layered roots repeat files that are reachable elsewhere.
    static const QByteArrayList imageTypes = {"squashfs", "overlay", "iso9660.loop"};
    if (device.startsWith("/dev/"))
        return !imageTypes.contains(fileSystemType);
    static const QByteArrayList networkTypes = {"nfs",   "nfs4",       "cifs",  "smb3",
                                                "smbfs", "fuse.sshfs", "davfs", "zfs"};
    return networkTypes.contains(fileSystemType);
}

BrowsingPane::BrowsingPane(QWidget* window, FilePattern pattern, const PaneNames& names,
                           const PaneGeometry& geometry, const PaneTips& tips,
                           const QString& programFolder)
    : QObject(window), m_pattern(pattern),
      m_programFolder(programFolder.isEmpty()
                          ? QString()
                          : QDir::cleanPath(QDir(programFolder).absolutePath())),
      m_link(std::make_shared<files::LiveTarget>(this)) {
    livePanes().append(this);
    m_drives = new DriveList(window, [this] { fillDriveList(); });
    m_drives->setObjectName(names.drive);
    // Thousands of games: the box does not measure every entry for its width.
    m_drives->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_drives->setModel(new DriveModel(m_drives));
    m_drives->setGeometry(geometry.drive);
    m_drives->setToolTip(QStringLiteral("Select Drive"));

    m_folders = new QListWidget(window);
    m_folders->setObjectName(names.folder);
    m_folders->setGeometry(geometry.folder);
    m_folders->setToolTip(tips.folder);
    m_folders->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folders->setItemDelegate(new FolderDelegate(m_folders));
    // Set-aside folders share their start and differ at the end: both ends stay in sight.
    m_folders->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_folders->setTextElideMode(Qt::ElideMiddle);

    m_files = new QListView(window);
    m_files->setObjectName(names.file);
    m_files->setGeometry(geometry.file);
    m_files->setToolTip(tips.file);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setItemDelegate(new FileDelegate(m_files));
    m_files->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_files->setTextElideMode(Qt::ElideMiddle);
    // Thousands of one-line names: skip measuring each of them.
    m_files->setUniformItemSizes(true);
    m_fileModel = new QStringListModel(m_files);
    m_files->setModel(m_fileModel);

    fillDriveList();
    if (openFolder(QDir::currentPath(), false) != Answer::Listed &&
        openFolder(QDir::homePath(), false) != Answer::Listed)
        openFolder(QStringLiteral("/"), true);
    showDriveOf(m_folder);

    connect(m_drives, &QComboBox::activated, this, &BrowsingPane::driveActivated);
    connect(m_folders, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { folderActivated(index.row()); });
    // Arrow keys, Home, End, paging and typed letters choose a file as a click does.
    connect(m_files->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_selectionMovedSincePress = true;
        if (!selectedFileName().isEmpty())
            Q_EMIT fileClicked();
    });
    m_files->viewport()->installEventFilter(this);
    // Clicking the selected entry again reopens it from its start.
    connect(m_files, &QAbstractItemView::clicked, this, [this] {
        if (!m_selectionMovedSincePress)
            Q_EMIT fileClicked();
    });
}

void BrowsingPane::setListingBound(std::chrono::milliseconds bound) {
    listingBound = bound;
}

BrowsingPane::~BrowsingPane() {
    m_link->detach();
    livePanes().removeAll(this);
}

bool BrowsingPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_files->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        m_selectionMovedSincePress = false;
    return QObject::eventFilter(watched, event);
}

QString BrowsingPane::folderPath() const {
    return m_folder;
}

QString BrowsingPane::selectedFileName() const {
    const QModelIndexList selected = m_files->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

QString BrowsingPane::fullPath() const {
    return m_folder + u'/' + selectedFileName();
}

QComboBox* BrowsingPane::driveList() const {
    return m_drives;
}

QAbstractItemView* BrowsingPane::folderList() const {
    return m_folders;
}

QAbstractItemView* BrowsingPane::fileList() const {
    return m_files;
}

bool BrowsingPane::setFolder(const QString& path) {
    return openFolder(path, true) != Answer::Unreadable;
}

BrowsingPane::Answer BrowsingPane::openFolder(const QString& path, bool emptyWhenSilent) {
    if (path.isEmpty())
        return Answer::Unreadable;
    const QString folder = QDir::cleanPath(QDir(m_folder).absoluteFilePath(path));
    Listing listing;
    const Answer answer = readWithinBound(folder, listing);
    if (answer == Answer::Listed || (answer == Answer::Silent && emptyWhenSilent)) {
        showListing(folder, listing);
        if (answer == Answer::Silent)
            m_silentFolder = folder;
    }
    return answer;
}

BrowsingPane::Answer BrowsingPane::readWithinBound(const QString& folder, Listing& listing) {
    const QString mount = files::mountRootOf(folder, files::mountPoints());
    std::optional<std::optional<Listing>> answer = files::answerWithin<std::optional<Listing>>(
        mount, listingBound, [folder, pattern = m_pattern] { return readFolder(folder, pattern); },
        [link = m_link, pane = this, folder](std::optional<Listing> late) {
            if (late)
                link->post([pane, folder, listing = std::move(*late)] {
                    pane->lateListing(folder, listing);
                });
        });
    if (!answer) {
        qCWarning(lcUi, "folder %s on %s did not answer within %lld ms",
                  qUtf8Printable(files::readableName(folder)),
                  qUtf8Printable(files::readableName(mount)),
                  static_cast<long long>(listingBound.count()));
        return Answer::Silent;
    }
    if (!*answer)
        return Answer::Unreadable;
    listing = std::move(**answer);
    return Answer::Listed;
}

void BrowsingPane::lateListing(const QString& folder, const Listing& listing) {
    // Only into the lists that still say they show that folder, still empty.
    if (folder != m_folder || folder != m_silentFolder)
        return;
    showListing(folder, listing);
}

void BrowsingPane::showListing(const QString& folder, const Listing& listing) {
    m_folder = folder;
    m_silentFolder.clear();
    m_fileModel->setStringList(listing.files);

    m_folders->clear();
    const QIcon openIcon = m_folders->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = m_folders->style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addEntry = [this](const QString& text, const QString& entryPath, int depth,
                           const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, text, m_folders);
        item->setData(pathRole, entryPath);
        item->setData(depthRole, depth);
        item->setToolTip(files::readableName(entryPath));
    };
    addEntry(QStringLiteral("/"), QStringLiteral("/"), 0, openIcon);
    const QStringList parts = folder.split(u'/', Qt::SkipEmptyParts);
    QString ancestor;
    for (int i = 0; i < parts.size(); ++i) {
        ancestor += u'/' + parts.at(i);
        addEntry(parts.at(i), ancestor, std::min(i + 1, maxAncestorLevel), openIcon);
    }
    const int currentRow = m_folders->count() - 1;
    const QString prefix = folder == u'/' ? folder : folder + u'/';
    for (const QString& name : std::as_const(listing.folders))
        addEntry(name, prefix + name,
                 std::min(static_cast<int>(parts.size()), maxAncestorLevel) + 1, closedIcon);
    m_folders->setCurrentRow(currentRow);
}

void BrowsingPane::fillDriveList() {
    listDrives();
    GameSearches::instance().request(QDir::cleanPath(QDir::homePath()),
                                     qEnvironmentVariable("WINEPREFIX"),
                                     [](QList<games::GamePlace> places) {
                                         lastGamePlaces() = std::move(places);
                                         for (const QPointer<BrowsingPane>& pane : livePanes()) {
                                             if (pane)
                                                 pane->gamesFound();
                                         }
                                     });
}

// The mounts come from the kernel's table, which never waits on a mount that stopped
// answering; whether one answers is seen only when it is picked.
void BrowsingPane::listDrives() {
    QStringList tops = {QStringLiteral("/"), QDir::cleanPath(QDir::homePath())};
    if (!m_programFolder.isEmpty())
        tops.append(m_programFolder);
    const qsizetype fixedTops = tops.size();

    QStringList volumes;
    for (const files::MountPoint& mount : files::mountPoints()) {
        if (isBrowsableVolume(mount.root, mount.device, mount.fileSystemType))
            volumes.append(mount.root);
    }
    volumes.sort();
    tops.append(volumes);

    const QString shown = m_drives->currentData(pathRole).toString();
    QSet<QString> listed;
    QList<DriveModel::Top> rows;
    for (qsizetype i = 0; i < tops.size(); ++i) {
        if (!listed.contains(tops.at(i))) {
            listed.insert(tops.at(i));
            rows.append({tops.at(i), i >= fixedTops});
        }
    }
    m_games = lastGamePlaces();
    // A game is listed once; one that is a location already is not listed again.
    QList<games::GamePlace> games = m_games;
    games.removeIf([&](const games::GamePlace& place) { return listed.contains(place.path); });
    static_cast<DriveModel*>(m_drives->model())->reset(std::move(rows), std::move(games));
    showDrive(shown);
}

void BrowsingPane::showDrive(const QString& top) {
    if (const int row = m_drives->findData(top, pathRole); row >= 0)
        m_drives->setCurrentIndex(row);
    else if (!m_folder.isEmpty())
        showDriveOf(m_folder);
}

void BrowsingPane::gamesFound() {
    // Rows replaced under an open list would lose the entry the pointer is on.
    if (m_games == lastGamePlaces() || m_drives->view()->isVisible())
        return;
    listDrives();
}

int BrowsingPane::deepestDrive(const QString& path) const {
    int deepest = -1;
    qsizetype deepestLength = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString top = m_drives->itemData(i, pathRole).toString();
        if (isUnder(path, top) && top.size() > deepestLength) {
            deepest = i;
            deepestLength = top.size();
        }
    }
    return deepest;
}

void BrowsingPane::showDriveOf(const QString& path) {
    m_drives->setCurrentIndex(deepestDrive(path));
}

void BrowsingPane::driveActivated(int index) {
    const QString top = m_drives->itemData(index, pathRole).toString();
    const bool volume = m_drives->itemData(index, volumeRole).toBool();
    if ((volume && !isMountPoint(top)) || openFolder(top, false) != Answer::Listed)
        showDriveNotReady();
}

void BrowsingPane::folderActivated(int row) {
    const QListWidgetItem* item = m_folders->item(row);
    if (!item)
        return;
    const QString path = item->data(pathRole).toString();
    const bool lost = lostVolume(path);
    if (lost || openFolder(path, true) == Answer::Unreadable) {
        // The clicked entry must not look opened while the old listing stays.
        for (int i = 0; i < m_folders->count(); ++i) {
            if (m_folders->item(i)->data(pathRole).toString() == m_folder)
                m_folders->setCurrentRow(i);
        }
        if (lost)
            showDriveNotReady();
        else
            showFolderNotReadable(path);
    }
}

bool BrowsingPane::lostVolume(const QString& path) const {
    const int deepest = deepestDrive(path);
    return deepest >= 0 && m_drives->itemData(deepest, volumeRole).toBool() &&
           !isMountPoint(m_drives->itemData(deepest, pathRole).toString());
}

void BrowsingPane::showDriveNotReady() {
    showMessage(m_drives->window(), QStringLiteral("Drive Not Ready"),
                QStringLiteral("Please insert a disk or CD."));
}

void BrowsingPane::showFolderNotReadable(const QString& path) {
    showMessage(
        m_drives->window(), QStringLiteral("Folder Not Readable"),
        QStringLiteral("The folder \u201c%1\u201d cannot be read.").arg(files::readableName(path)));
}

} // namespace tunevane
