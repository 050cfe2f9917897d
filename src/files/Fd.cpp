#include "files/Fd.h"
#include "files/Path.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tunevane::files {

Fd openRegularFile(const QString& path) {
    if (path.isEmpty())
        return Fd();
    // O_NONBLOCK so that a FIFO given as a file name cannot hang the player.
    Fd fd(::open(encodePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return Fd();
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace tunevane::files
