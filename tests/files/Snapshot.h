// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the file operations' tests compare: every entry under a folder before and after, and
// what the files layer logged.

#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <acl/libacl.h>
#include <map>
#include <sys/acl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filetests {

using testsupport::readFile;
using testsupport::writeFile;

// The user the tests hand files to, and run as where root would pass every check.
constexpr uid_t nobody = 65534;

inline mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

inline QByteArray pattern(int seed, qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 7919) ^ (i >> 9));
    return bytes;
}

inline bool makeLink(const QString& target, const QString& link) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) ==
           0;
}

inline bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// Everything a failed operation must leave alone. Folders carry no ctime and no size:
// adding to a folder changes both (tmpfs counts entries in the size), and the entries
// inside already show that.
struct Entry {
    char kind = '?';
    QByteArray content; // a file's bytes or a link's target
    qint64 size = 0;
    uint mode = 0;
    uint uid = 0;
    uint gid = 0;
    quint64 inode = 0;
    qint64 ctimeNs = 0;
    QByteArray acl; // an access list beyond the mode bits, as text
    friend bool operator==(const Entry&, const Entry&) = default;
};
using Tree = std::map<QString, Entry>;

inline QByteArray extendedAcl(const QByteArray& path) {
    const acl_t acl = ::acl_get_file(path.constData(), ACL_TYPE_ACCESS);
    if (!acl)
        return {};
    QByteArray text;
    if (::acl_equiv_mode(acl, nullptr) == 1) {
        char* chars = ::acl_to_any_text(acl, nullptr, ',', TEXT_NUMERIC_IDS);
        text = chars;
        ::acl_free(chars);
    }
    ::acl_free(acl);
    return text;
}

// Without root a write-only file cannot be read back; its size still tells.
inline const QByteArray unreadable = QByteArrayLiteral("(unreadable)");

inline Tree snapshot(const QString& root) {
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray full = QFile::encodeName(it.next());
        struct stat st;
        if (::lstat(full.constData(), &st) != 0)
            continue;
        Entry entry;
        entry.size = st.st_size;
        entry.mode = st.st_mode & 07777;
        entry.uid = st.st_uid;
        entry.gid = st.st_gid;
        entry.inode = st.st_ino;
        entry.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
        if (S_ISDIR(st.st_mode)) {
            entry.kind = 'd';
            entry.ctimeNs = 0;
            entry.size = 0;
        } else if (S_ISLNK(st.st_mode)) {
            entry.kind = 'l';
            char target[4096];
            const ssize_t n = ::readlink(full.constData(), target, sizeof target);
            entry.content = QByteArray(target, n > 0 ? n : 0);
        } else if (S_ISREG(st.st_mode)) {
            entry.kind = 'f';
            entry.acl = extendedAcl(full);
            QFile file(it.filePath());
            entry.content = file.open(QIODevice::ReadOnly) ? file.readAll() : unreadable;
        } else {
            entry.kind = 'p';
        }
        tree[it.filePath().sliced(root.size() + 1)] = entry;
    }
    return tree;
}

inline QString describe(const Entry& e) {
    return QString::asprintf("%c mode %04o owner %u:%u size %lld inode %llu acl %s", e.kind, e.mode,
                             e.uid, e.gid, static_cast<long long>(e.size),
                             static_cast<unsigned long long>(e.inode), e.acl.constData());
}

inline QString difference(const Tree& expected, const Tree& actual) {
    QStringList lines;
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end())
            lines << QStringLiteral("missing %1").arg(path);
        else if (!(found->second == entry))
            lines << QStringLiteral("changed %1: expected %2, got %3")
                         .arg(path, describe(entry), describe(found->second));
    }
    for (const auto& [path, entry] : actual)
        if (!expected.contains(path))
            lines << QStringLiteral("unexpected %1 (%2)").arg(path, describe(entry));
    return lines.join(u"; ");
}

// `before`, with what stood at `from` (relative) and under it now at `to`.
inline Tree moved(const Tree& before, const QString& from, const QString& to) {
    Tree expected;
    for (const auto& [path, entry] : before) {
        if (path == from || path.startsWith(from + u'/'))
            expected[to + path.mid(from.size())] = entry;
        else
            expected[path] = entry;
    }
    return expected;
}

// What the files layer logged since the last clear(), so that a test can see that a failure
// names its path. From the first call on, its warnings go here and nowhere else.
inline QStringList& fileWarnings() {
    static QStringList lines;
    static const QtMessageHandler passOn = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("tunevane.files.warning=true"));
        return qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (type == QtWarningMsg && qstrcmp(context.category, "tunevane.files") == 0)
                    lines << message;
                else
                    passOn(type, context, message);
            });
    }();
    return lines;
}

} // namespace filetests
