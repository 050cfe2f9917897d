#include "files/ProgramFolder.h"
#include "files/Log.h"
#include "files/Path.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tunevane::files {

namespace {

// Anything else would reach outside the program folder or name the folder itself.
bool isBareName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

int renameNoReplace(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    constexpr unsigned noReplace = 1U << 0;
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, noReplace));
#endif
}

void logError(const char* step, const QString& path, int error) {
    qCWarning(lcFiles, "%s %s: %s", step, qUtf8Printable(readableName(path)), std::strerror(error));
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
    if (renameNoReplace(from.constData(), to.constData()) == 0)
        return true;
    // Some filesystems do not know the flag; there a check just before the rename has to do.
    if (errno != EINVAL && errno != ENOSYS)
        return fail(std::strerror(errno));
    const bool taken = ::lstat(to.constData(), &st) == 0;
    if (taken || errno != ENOENT)
        return fail(std::strerror(taken ? EEXIST : errno));
    if (::rename(from.constData(), to.constData()) != 0)
        return fail(std::strerror(errno));
    return true;
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
