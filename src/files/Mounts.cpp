// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/Mounts.h"
#include "files/Path.h"

#include <QFile>

namespace tunevane::files {

namespace {

// mountinfo writes space, tab, newline and backslash in a name as \040, \011, \012, \134.
QByteArray unescaped(const QByteArray& field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2) &&
            isOctal(i + 3)) {
            bytes +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return bytes;
}

bool isUnder(const QString& path, const QString& top) {
    if (top == u'/')
        return path.startsWith(u'/');
    return path == top || (path.startsWith(top) && path.at(top.size()) == u'/');
}

} // namespace

QList<MountPoint> mountPoints() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    QList<MountPoint> mounts;
    if (!table.open(QIODevice::ReadOnly))
        return mounts;
    // "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue"
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 6 || dash + 2 >= fields.size())
            continue;
        QString root = decodeName(unescaped(fields[4]));
        while (root.size() > 1 && root.endsWith(u'/'))
            root.chop(1);
        mounts.append({root, unescaped(fields[dash + 2]), unescaped(fields[dash + 1])});
    }
    return mounts;
}

QString mountRootOf(const QString& path, const QList<MountPoint>& mounts) {
    QString deepest = QStringLiteral("/");
    for (const MountPoint& mount : mounts) {
        if (mount.root.size() > deepest.size() && isUnder(path, mount.root))
            deepest = mount.root;
    }
    return deepest;
}

} // namespace tunevane::files
