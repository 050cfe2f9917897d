// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/Disk.h"

#include "files/Fd.h"
#include "files/Path.h"
#include "games/Log.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane::games {

using namespace files;

namespace {

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? QString(folder + name) : QString(folder + u'/' + name);
}

Result<QByteArray> readUpTo(const QString& path, qint64 maxBytes) {
    // A pipe put in a file's place cannot hold the reader.
    const Result<Fd> fd = openRegularFile(path);
    if (!fd)
        return Unexpected(fd.error());
    struct stat info {};
    if (::fstat(fd->get(), &info) != 0)
        return Unexpected(ReadError::system(errno));
    if (info.st_size > maxBytes)
        return Unexpected(ReadError::tooLarge(maxBytes));
    // Sized by the file, with a byte to spare to notice one that grew since.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes)
                return Unexpected(ReadError::tooLarge(maxBytes));
            bytes.resize(qsizetype(std::min<qint64>(qint64(done) * 2, maxBytes + 1)));
        }
        const ssize_t got = ::read(fd->get(), bytes.data() + done, size_t(bytes.size() - done));
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Unexpected(ReadError::system(errno));
        done += got;
    }
    if (done > maxBytes)
        return Unexpected(ReadError::tooLarge(maxBytes));
    bytes.truncate(done);
    return bytes;
}

Result<QJsonDocument> parseJson(const QByteArray& bytes) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return Unexpected(ReadError::damaged(QByteArrayLiteral("damaged at byte ") +
                                             QByteArray::number(error.offset) + ": " +
                                             error.errorString().toUtf8()));
    return document;
}

} // namespace

files::Unexpected<ReadError> leftOut(const char* what, const QString& path, ReadError why) {
    if (what && !why.missing())
        qCWarning(lcGames, "%s %s left out: %s", what, shown(path).constData(),
                  why.text().constData());
    return Unexpected(std::move(why));
}

QString realFolder(const QString& path) {
    if (path.isEmpty())
        return {};
    char* resolved = ::realpath(encodePath(path).constData(), nullptr);
    if (!resolved)
        return {};
    struct stat info {};
    QString real;
    if (::stat(resolved, &info) == 0 && S_ISDIR(info.st_mode))
        real = decodeName(QByteArray(resolved));
    std::free(resolved);
    return real;
}

QString realEntry(const QString& realParent, const QString& name) {
    const QString path = realParent + u'/' + name;
    struct stat info {};
    if (realParent.isEmpty() || ::lstat(encodePath(path).constData(), &info) != 0)
        return {};
    if (S_ISDIR(info.st_mode))
        return path;
    return S_ISLNK(info.st_mode) ? realFolder(path) : QString();
}

bool isFile(const QString& path) {
    struct stat info {};
    return ::stat(encodePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QStringList namesIn(const QString& folder, Kind kind, Hidden hidden) {
    QStringList names;
    DIR* dir = ::opendir(encodePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name == "." || name == ".." || (hidden == Hidden::Skip && name.startsWith('.')))
            continue;
        if (kind == Kind::Folder && entry->d_type != DT_DIR) {
            struct stat info {};
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                continue;
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISDIR(info.st_mode))
                continue;
        }
        names.append(decodeName(QByteArray(entry->d_name)));
    }
    ::closedir(dir);
    return names;
}

QString caselessFolder(const QString& path) {
    QString at = realFolder(path);
    if (!at.isEmpty() || !path.startsWith(u'/'))
        return at;
    at = QStringLiteral("/");
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
        QString next = realFolder(joined(at, part));
        const QStringList names =
            next.isEmpty() ? namesIn(at, Kind::Folder, Hidden::Keep) : QStringList();
        for (const QString& name : names) {
            if (name.compare(part, Qt::CaseInsensitive) == 0) {
                next = realFolder(joined(at, name));
                break;
            }
        }
        if (next.isEmpty())
            return {};
        at = next;
    }
    return at;
}

QString expandHome(const QString& path, const QString& home) {
    if (path == u"~")
        return home;
    return path.startsWith(u"~/") ? home + path.sliced(1) : path;
}

Result<QByteArray> readBounded(const QString& path, qint64 maxBytes, const char* what) {
    return logged(readUpTo(path, maxBytes), what, path);
}

Result<QJsonDocument> readJson(const QString& path, const char* what) {
    return logged(readUpTo(path, launcherFileMaxBytes).and_then(parseJson), what, path);
}

QString prefixDrive(const QString& prefix) {
    const QString drive = realFolder(prefix + u"/drive_c");
    return drive.isEmpty() ? realFolder(prefix + u"/pfx/drive_c") : drive;
}

QString yamlValue(QByteArrayView text, QByteArrayView section, QByteArrayView key) {
    bool inSection = section.isEmpty();
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(at, end - at);
        at = end + 1;
        const QByteArrayView content = line.trimmed();
        if (content.isEmpty() || content.startsWith('#'))
            continue;
        const bool indented = line.front() == ' ' || line.front() == '\t';
        if (!indented && !section.isEmpty()) {
            inSection = content.startsWith(section) && content.sliced(section.size()) == ":";
            continue;
        }
        if (!inSection || (indented && section.isEmpty()) || !content.startsWith(key) ||
            content.size() == key.size() || content[key.size()] != ':')
            continue;
        QByteArrayView value = content.sliced(key.size() + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.sliced(1, value.size() - 2);
        return decodeName(value.toByteArray());
    }
    return {};
}

} // namespace tunevane::games
