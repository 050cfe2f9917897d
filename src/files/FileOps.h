// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Replaces a game file by copying beside it and renaming, so it is never half-written.

#include "files/Failure.h"

#include <QList>
#include <QString>

#include <functional>

namespace tunevane::files {

// What a copy does with a file already at its destination.
enum class Existing {
    Replace,
    Keep, // the copy fails with Failure::AlreadyThere and the file stays as it was
};

// Replaces the destination with a copy of the source, atomically: at any moment the
// destination holds either its old bytes or all of the new ones. A destination that is a
// symbolic link replaces the file it points to. Refuses a destination whose mode bits grant
// no write permission. Source and destination naming the same file is a success that
// leaves the file alone. Never tells the user why it failed; the log does.
//
// A source that changes while it is read fails the copy and leaves the destination as it
// was: a file still downloading is not half copied. Its bytes are read a second time and
// compared, since on some file systems (sshfs) neither size nor times show a rewrite.
//
// The new bytes are written into a file with no name where the file system allows, so that
// a killed copy leaves nothing behind; elsewhere into a hidden temporary beside the
// destination, marked as this program's own. Either is renamed over the destination only
// when complete and checked; an unnamed file is first linked under a marked temporary name,
// so a kill in the instant before that rename leaves one temporary the next copy removes.
//
// The replacement gets the old file's owner and group where the process may set them, and
// exactly the old file's permission bits and access control list, or less: never what a
// folder's default list would add, and no group bits when the group could not be kept. Not
// its set-id and sticky bits. Being a new file, it cannot keep the rest of what belongs to
// the old one: other hard links to the old file go on naming the old bytes, other extended
// attributes (security labels among them) are dropped, and the times are those of the copy.
//
// Before writing, it removes the temporaries in the destination's folder that this program
// marked as its own and no running copy holds: the leftovers of copies that were killed.
// A file that merely has such a name is never touched.
//
// Failure::None when the destination holds the source's bytes.
Failure copyFileTo(const QString& source, const QString& destination,
                   Existing existing = Existing::Replace);

struct CopyPair {
    QString source;
    QString destination;
};

struct RunResult {
    qsizetype copied = 0; // also the index of the pair that failed
    Failure failure = Failure::None;
};

// Copies the pairs in order and stops at the first failure.
RunResult copyRun(const QList<CopyPair>& pairs, Existing existing = Existing::Replace);

// True for the names copyFileTo gives its temporaries, which a killed copy may leave behind.
bool isTemporaryName(const QString& fileName);

// Lets a test reach the moments no timing can hit and the file systems no test machine has,
// and a benchmark time the steps of a copy.
struct CopyHooks {
    // Between taking the source's size and reading its first byte, with the source's path.
    std::function<void(const QString& source)> beforeRead = {};
    // After the last byte is written, before the copy is checked against the source.
    std::function<void(const QString& source)> afterRead = {};
    // Once the copy's bytes are checked against the source's, with the source's path.
    std::function<void(const QString& source)> afterCheck = {};
    // As on FUSE, NFS or vfat, which have no unnamed files.
    bool namedTemporaries = false;
    // As on a file system that reads access lists but will not set them.
    bool accessListsRefused = false;
};
void setCopyHooks(CopyHooks hooks);

} // namespace tunevane::files
