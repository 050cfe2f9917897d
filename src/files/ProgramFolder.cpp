#include "files/ProgramFolder.h"
#include "files/Path.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
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

} // namespace

ProgramFolder::ProgramFolder(QString path) : m_path(std::move(path)) {
    while (m_path.size() > 1 && m_path.endsWith(u'/'))
        m_path.chop(1);
}

void ProgramFolder::makeSubfolder(const QString& name) const {
    if (!isBareName(name))
        return;
    (void)::mkdir(encodePath(m_path + u'/' + name).constData(), 0777);
}

bool ProgramFolder::renameSubfolder(const QString& oldName, const QString& newName) const {
    if (!isBareName(oldName) || !isBareName(newName))
        return false;
    const QByteArray from = encodePath(m_path + u'/' + oldName);
    const QByteArray to = encodePath(m_path + u'/' + newName);

    struct stat st;
    if (::lstat(from.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (renameNoReplace(from.constData(), to.constData()) == 0)
        return true;
    // Some filesystems do not know the flag; there a check just before the rename has to do.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::lstat(to.constData(), &st) == 0 || errno != ENOENT)
        return false;
    return ::rename(from.constData(), to.constData()) == 0;
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
    QDir().mkpath(location);
    return location;
}

} // namespace tunevane::files
