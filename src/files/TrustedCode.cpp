#include "files/TrustedCode.h"
#include "files/Log.h"
#include "files/Path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane::files {

namespace {

QByteArray shown(const QByteArray& path) {
    return readableName(decodeName(path)).toUtf8();
}

bool ownedAndClosed(const QByteArray& path, bool folder) {
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        qCWarning(lcFiles, "code in %s: %s", shown(path).constData(), std::strerror(errno));
        return false;
    }
    const bool owned = st.st_uid == 0 || st.st_uid == ::geteuid();
    const bool kind = folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    if (owned && kind && (st.st_mode & S_IWOTH) == 0)
        return true;
    qCWarning(lcFiles, "refusing code in %s: owned by user %u, mode %o", shown(path).constData(),
              unsigned(st.st_uid), unsigned(st.st_mode & 07777));
    return false;
}

} // namespace

std::optional<QString> trustedCodePath(const QString& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(encodePath(path).constData(), nullptr), &std::free);
    if (!real) {
        qCWarning(lcFiles, "code in %s: %s", qUtf8Printable(readableName(path)),
                  std::strerror(errno));
        return std::nullopt;
    }
    const QByteArray file(real.get());
    const QByteArray folder = file.left(std::max<qsizetype>(file.lastIndexOf('/'), 1));
    if (!ownedAndClosed(folder, true) || !ownedAndClosed(file, false))
        return std::nullopt;
    return decodeName(file);
}

} // namespace tunevane::files
