// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Lists the mounts and finds which one holds a path, without waiting on any of them.

#include <QByteArray>
#include <QList>
#include <QString>

namespace tunevane::files {

struct MountPoint {
    QString root; // no trailing '/' except "/" itself
    QByteArray device;
    QByteArray fileSystemType; // "fuse.sshfs", "ext4", …
};

// The mounts this process sees, read from /proc/self/mountinfo: unlike statvfs() or a stat of
// each root, reading it never waits on a mount that stopped answering.
QList<MountPoint> mountPoints();

// The root of the deepest mount that holds `path`, by name only; "/" when none is known.
QString mountRootOf(const QString& path, const QList<MountPoint>& mounts);

} // namespace tunevane::files
