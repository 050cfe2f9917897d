#include "selection/BrowsingPane.h"
#include "files/Path.h"

#include "app/Ui.h"
#include "files/FileOps.h"
#include "files/Log.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QMetaObject>
#include <QStorageInfo>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace tunevane {

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int depthRole = Qt::UserRole + 1;
constexpr int volumeRole = Qt::UserRole + 2;
constexpr int gameRole = Qt::UserRole + 3;
constexpr int indentStep = 3;
// Ancestors deeper than this share one indentation; subfolders still sit one step further in.
constexpr int maxAncestorLevel = 4;

struct Listing {
    QStringList folders;
    QStringList files;
};

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

// File names stay exact in the model; only what is drawn is the readable form.
class FileDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

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

// The places the last search found, for every pane: a pane opened later lists them at once.
// Window thread only.
QList<files::GamePlace>& lastGamePlaces() {
    static QList<files::GamePlace> places;
    return places;
}

bool isMountPoint(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() && volume.isReady() && QDir::cleanPath(volume.rootPath()) == path;
}

} // namespace

// Shared with the search's thread. The pane clears `pane` under the lock as it goes, so a
// result is only ever posted to a pane that exists; Qt drops a posted call whose pane is
// deleted before it runs.
struct BrowsingPane::GameSearch {
    std::mutex lock;
    BrowsingPane* pane = nullptr;
};

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
                          : QDir::cleanPath(QDir(programFolder).absolutePath())) {
    m_drives = new DriveList(window, [this] { fillDriveList(); });
    m_drives->setObjectName(names.drive);
    m_drives->setGeometry(geometry.drive);
    m_drives->setToolTip(QStringLiteral("Select Drive"));

    m_folders = new QListWidget(window);
    m_folders->setObjectName(names.folder);
    m_folders->setGeometry(geometry.folder);
    m_folders->setToolTip(tips.folder);
    m_folders->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folders->setItemDelegate(new FolderDelegate(m_folders));
    m_folders->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_folders->setTextElideMode(Qt::ElideRight);

    m_files = new QListView(window);
    m_files->setObjectName(names.file);
    m_files->setGeometry(geometry.file);
    m_files->setToolTip(tips.file);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setItemDelegate(new FileDelegate(m_files));
    // Thousands of one-line names: skip measuring each of them.
    m_files->setUniformItemSizes(true);
    m_fileModel = new QStringListModel(m_files);
    m_files->setModel(m_fileModel);

    fillDriveList();
    if (!setFolder(QDir::currentPath()) && !setFolder(QDir::homePath()))
        setFolder(QStringLiteral("/"));
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

BrowsingPane::~BrowsingPane() {
    if (m_search) {
        const std::lock_guard guard(m_search->lock);
        m_search->pane = nullptr;
    }
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
    if (path.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(QDir(m_folder).absoluteFilePath(path));
    std::optional<Listing> listing = readFolder(folder, m_pattern);
    if (!listing)
        return false;

    m_folder = folder;
    m_fileModel->setStringList(listing->files);

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
    for (const QString& name : std::as_const(listing->folders))
        addEntry(name, prefix + name,
                 std::min(static_cast<int>(parts.size()), maxAncestorLevel) + 1, closedIcon);
    m_folders->setCurrentRow(currentRow);
    return true;
}

void BrowsingPane::fillDriveList() {
    QStringList tops = {QStringLiteral("/"), QDir::cleanPath(QDir::homePath())};
    if (!m_programFolder.isEmpty())
        tops.append(m_programFolder);
    const qsizetype fixedTops = tops.size();

    QStringList volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::cleanPath(volume.rootPath());
        if (isBrowsableVolume(root, volume.device(), volume.fileSystemType()) &&
            QFileInfo(root).isDir())
            volumes.append(root);
    }
    volumes.sort();
    tops.append(volumes);

    const QString shown = m_drives->currentData(pathRole).toString();
    m_drives->clear();
    for (qsizetype i = 0; i < tops.size(); ++i) {
        const QString& top = tops.at(i);
        if (m_drives->findData(top, pathRole) >= 0)
            continue;
        m_drives->addItem(files::readableName(top), top);
        const int row = m_drives->count() - 1;
        m_drives->setItemData(row, files::readableName(top), Qt::ToolTipRole);
        m_drives->setItemData(row, i >= fixedTops, volumeRole);
    }
    addGameDrives();
    showDrive(shown);
    startGameSearch();
}

void BrowsingPane::addGameDrives() {
    m_games = lastGamePlaces();
    for (const files::GamePlace& place : std::as_const(m_games)) {
        if (m_drives->findData(place.path, pathRole) >= 0)
            continue;
        m_drives->addItem(files::readableName(place.name), place.path);
        const int row = m_drives->count() - 1;
        m_drives->setItemData(row, files::readableName(place.path), Qt::ToolTipRole);
        m_drives->setItemData(row, true, gameRole);
    }
}

void BrowsingPane::showDrive(const QString& top) {
    if (const int row = m_drives->findData(top, pathRole); row >= 0)
        m_drives->setCurrentIndex(row);
    else if (!m_folder.isEmpty())
        showDriveOf(m_folder);
}

// Off the window thread, because a library may sit on a network disk that does not answer.
// One search at a time per pane: one stuck on a dead disk is not joined by more.
void BrowsingPane::startGameSearch() {
    if (m_search)
        return;
    m_search = std::make_shared<GameSearch>();
    m_search->pane = this;
    try {
        std::thread([search = m_search, home = QDir::cleanPath(QDir::homePath()),
                     winePrefix = qEnvironmentVariable("WINEPREFIX")] {
            QList<files::GamePlace> places = files::findGamePlaces(home, winePrefix);
            const std::lock_guard guard(search->lock);
            if (BrowsingPane* pane = search->pane)
                QMetaObject::invokeMethod(
                    pane, [pane, places = std::move(places)] { pane->gamesFound(places); },
                    Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error& error) {
        qCWarning(lcFiles, "cannot start the search for games: %s", error.what());
        m_search.reset();
    }
}

void BrowsingPane::gamesFound(QList<files::GamePlace> places) {
    m_search.reset();
    lastGamePlaces() = std::move(places);
    // Rows replaced under an open list would lose the entry the pointer is on.
    if (m_games == lastGamePlaces())
        return;
    const QString shown = m_drives->currentData(pathRole).toString();
    for (int row = m_drives->count() - 1; row >= 0; --row) {
        if (m_drives->itemData(row, gameRole).toBool())
            m_drives->removeItem(row);
    }
    addGameDrives();
    showDrive(shown);
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
    if ((volume && !isMountPoint(top)) || !setFolder(top))
        showDriveNotReady();
}

void BrowsingPane::folderActivated(int row) {
    const QListWidgetItem* item = m_folders->item(row);
    if (!item)
        return;
    const QString path = item->data(pathRole).toString();
    const bool lost = lostVolume(path);
    if (lost || !setFolder(path)) {
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
