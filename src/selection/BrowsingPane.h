// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GamePlaces.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class QAbstractItemView;
class QComboBox;
class QListView;
class QListWidget;
class QStringListModel;
class QWidget;

namespace tunevane {

namespace files {
class LiveTarget;
}

enum class FilePattern { Wav, Mid };

struct PaneNames {
    QString drive, folder, file;
};

struct PaneGeometry {
    QRect drive, folder, file;
};

struct PaneTips {
    QString folder, file;
};

// Whether a mount is a volume the user would browse: block devices and network shares,
// not the kernel's pseudo filesystems, loop images or the runtime folders.
bool isBrowsableVolume(const QString& rootPath, const QByteArray& device,
                       const QByteArray& fileSystemType);

// A drive list above a folder list above a file list, placed on `window`.
class BrowsingPane : public QObject {
    Q_OBJECT
public:
    BrowsingPane(QWidget* window, FilePattern pattern, const PaneNames& names,
                 const PaneGeometry& geometry, const PaneTips& tips, const QString& programFolder);
    ~BrowsingPane() override;

    // No trailing '/' except "/" itself.
    QString folderPath() const;
    // Empty when no entry is selected.
    QString selectedFileName() const;
    // Joined as strings, so the root gives "//NAME.WAV".
    QString fullPath() const;

    // Points both lists at `path` with no file selected; false (nothing changed, nothing
    // shown) when the folder cannot be read. A folder that does not answer in time (a mount
    // that stopped answering) is shown empty, and filled should its answer come later.
    bool setFolder(const QString& path);

    // How long a folder's read may keep the window waiting while it sleeps in the kernel.
    // The picture tools and the tests wait as long as it takes, so that a disk busy with a
    // build never shows a folder empty in a picture or a check.
    static constexpr std::chrono::milliseconds defaultListingBound{30};
    static void setListingBound(std::chrono::milliseconds bound);

    QComboBox* driveList() const;
    QAbstractItemView* folderList() const;
    QAbstractItemView* fileList() const;

Q_SIGNALS:
    // The user clicked an entry of the file list, or moved its selection to another entry.
    void fileClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    struct Listing {
        QStringList folders;
        QStringList files;
    };

private:
    enum class Answer { Listed, Unreadable, Silent };

    // What the folder's listing said; a silent one is shown empty when `emptyWhenSilent`.
    Answer openFolder(const QString& path, bool emptyWhenSilent);
    Answer readWithinBound(const QString& folder, Listing& listing);
    void showListing(const QString& folder, const Listing& listing);
    void lateListing(const QString& folder, const Listing& listing);
    // The drives and games now known; and a new search for games.
    void fillDriveList();
    void listDrives();
    void showDrive(const QString& top);
    void gamesFound();
    // The row of the deepest drive that holds `path`, or -1.
    int deepestDrive(const QString& path) const;
    void showDriveOf(const QString& path);
    void driveActivated(int index);
    void folderActivated(int row);
    // A location listed as a mount point that is one no more.
    bool lostVolume(const QString& path) const;
    void showDriveNotReady();
    void showFolderNotReadable(const QString& path);

    FilePattern m_pattern;
    QString m_folder;
    QString m_programFolder;
    QComboBox* m_drives = nullptr;
    QListWidget* m_folders = nullptr;
    QListView* m_files = nullptr;
    QStringListModel* m_fileModel = nullptr;
    // Shared with the threads that read folders for this pane.
    std::shared_ptr<files::LiveTarget> m_link;
    // The folder shown empty because it did not answer in time.
    QString m_silentFolder;
    QList<games::GamePlace> m_games;
    // Whether the selection moved since the last mouse press on the file list: that press
    // re-armed the player already, so its click must not do it twice.
    bool m_selectionMovedSincePress = false;
};

} // namespace tunevane
