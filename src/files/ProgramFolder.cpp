// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/ProgramFolder.h"
#include "files/Fd.h"
#include "files/Log.h"
#include "files/Path.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane::files {

namespace {

bool isEmptyFolder(const char* path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(path), ::closedir);
    if (!listing)
        return false;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            return false;
    }
    return true;
}

} // namespace

ProgramFolder::ProgramFolder(QString path) : m_path(std::move(path)) {
    while (m_path.size() > 1 && m_path.endsWith(u'/'))
        m_path.chop(1);
}

void ProgramFolder::makeSubfolder(const QString& name) const {
    if (!isBareName(name)) {
        logError("make folder", name, EINVAL);
        return;
    }
    const QString path = m_path + u'/' + name;
    const QByteArray encoded = encodePath(path);
    if (::mkdir(encoded.constData(), 0777) == 0)
        return;
    const int error = errno;
    struct stat st;
    // Finding the folder already there is the usual case, not a failure.
    if (error != EEXIST || ::stat(encoded.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        logError("make folder", path, error);
}

bool ProgramFolder::renameSubfolder(const QString& oldName, const QString& newName) const {
    const auto fail = [&](const char* why) {
        qCWarning(lcFiles, "rename folder %s to %s in %s: %s",
                  qUtf8Printable(readableName(oldName)), qUtf8Printable(readableName(newName)),
                  qUtf8Printable(readableName(m_path)), why);
        return false;
    };
    if (!isBareName(oldName) || !isBareName(newName))
        return fail("not a name directly under the program folder");
    const QByteArray from = encodePath(m_path + u'/' + oldName);
    const QByteArray to = encodePath(m_path + u'/' + newName);

    struct stat st;
    if (::lstat(from.constData(), &st) != 0)
        return fail(std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return fail(std::strerror(ENOTDIR));
    const int error = renameNoReplace(AT_FDCWD, from.constData(), AT_FDCWD, to.constData());
    return error == 0 || fail(std::strerror(error));
}

Failure ProgramFolder::setAsideUnlessEmpty(const QString& name, const QDateTime& now) const {
    if (!isBareName(name)) {
        logError("set aside", name, EINVAL);
        return Failure::Other;
    }
    const QByteArray from = encodePath(m_path + u'/' + name);
    struct stat st;
    if (::lstat(from.constData(), &st) != 0) {
        if (errno == ENOENT)
            return Failure::None;
        const int error = errno;
        logError("set aside", m_path + u'/' + name, error);
        return destinationFailure(error);
    }
    // A link is moved, not followed: what it points to is no part of the program folder.
    if (S_ISDIR(st.st_mode) && isEmptyFolder(from.constData()))
        return Failure::None;
    const QString stem =
        name + QStringLiteral(" unfinished ") + now.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    int error = EEXIST;
    for (int attempt = 1; attempt <= 1000 && error == EEXIST; ++attempt) {
        const QString aside = attempt == 1 ? stem : stem + u' ' + QString::number(attempt);
        error = renameNoReplace(AT_FDCWD, from.constData(), AT_FDCWD,
                                encodePath(m_path + u'/' + aside).constData());
        if (error == 0) {
            qCInfo(lcFiles, "set %s aside as %s", qUtf8Printable(readableName(name)),
                   qUtf8Printable(readableName(aside)));
            return Failure::None;
        }
        if (error == ENOTEMPTY)
            error = EEXIST;
    }
    logError("set aside", m_path + u'/' + name, error);
    return destinationFailure(error);
}

Failure ProgramFolder::holdEmptySubfolder(const QString& name, const QDateTime& now,
                                          Fd& hold) const {
    hold.reset();
    if (!isBareName(name)) {
        logError("hold", name, EINVAL);
        return Failure::Other;
    }
    const QString path = m_path + u'/' + name;
    const QByteArray encoded = encodePath(path);
    // Three rounds: what is set aside is replaced by a fresh folder, which someone may take.
    for (int round = 0; round < 3; ++round) {
        makeSubfolder(name);
        Fd folder(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.valid()) {
            if (::flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                if (error == EWOULDBLOCK) {
                    qCWarning(lcFiles, "%s is held by another running copy",
                              qUtf8Printable(readableName(path)));
                    return Failure::Busy;
                }
                qCInfo(lcFiles, "cannot lock %s: %s", qUtf8Printable(readableName(path)),
                       std::strerror(error));
            }
            struct stat held;
            struct stat named;
            if (::fstat(folder.get(), &held) != 0 || ::lstat(encoded.constData(), &named) != 0 ||
                held.st_dev != named.st_dev || held.st_ino != named.st_ino)
                continue;
            if (isEmptyFolder(encoded.constData())) {
                hold = std::move(folder);
                return Failure::None;
            }
        } else if (errno != ENOTDIR && errno != ELOOP) {
            const int error = errno;
            logError("hold", path, error);
            return destinationFailure(error);
        }
        // Moved while held, so no other copy is filling it.
        if (const Failure failure = setAsideUnlessEmpty(name, now); failure != Failure::None)
            return failure;
    }
    logError("hold", path, EAGAIN);
    return Failure::Other;
}

QString ProgramFolder::filePath(QStringView folderLiteral, const QString& fileName) const {
    QString joined = m_path;
    joined += folderLiteral;
    joined += fileName;
    return joined;
}

QString ProgramFolder::standardLocation() {
    // AppDataLocation for an application named "Tunevane" with no organisation, worked out
    // here so that the answer does not hang on who set the application name first.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    const QString location = base + QStringLiteral("/Tunevane");
    if (!QDir().mkpath(location))
        qCWarning(lcFiles, "make folder %s: failed", qUtf8Printable(readableName(location)));
    return location;
}

} // namespace tunevane::files
