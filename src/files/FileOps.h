#pragma once

#include "files/Failure.h"

#include <QList>
#include <QString>

#include <functional>

namespace tunevane::files {

// Replaces the destination with a copy of the source, atomically: at any moment the
// destination holds either its old bytes or all of the new ones. A destination that is a
// symbolic link replaces the file it points to. Refuses a destination whose mode bits grant
// no write permission. Source and destination naming the same file is a success that
// leaves the file alone. Never tells the user why it failed; the log does.
//
// A source that changes size or is written to while it is read fails the copy and leaves
// the destination as it was: a file still downloading is not half copied.
//
// The new file is written beside the destination and renamed over it, so the replacement
// keeps the destination's name, owner and group (where the process may set them), its
// permission bits and its access control list, but not its set-id and sticky bits; where the
// list cannot be carried over, the group is given no more than the list gave it. Being a new
// file, it cannot keep the rest of what belongs to the old one: other hard links to the old
// file go on naming the old bytes, other extended attributes (security labels among them) are
// dropped, and the times are those of the copy.
//
// Before writing, it removes this program's temporaries in the destination's folder that
// no running copy holds: the leftovers of copies that were killed.
//
// Failure::None when the destination holds the source's bytes.
Failure copyFileTo(const QString& source, const QString& destination);

struct CopyPair {
    QString source;
    QString destination;
};

struct RunResult {
    qsizetype copied = 0; // also the index of the pair that failed
    Failure failure = Failure::None;
};

// Copies the pairs in order and stops at the first failure.
RunResult copyRun(const QList<CopyPair>& pairs);

// True for the names copyFileTo gives its temporaries, which a killed copy may leave behind.
bool isTemporaryName(const QString& fileName);

// Runs between taking the source's size and reading its first byte, with the source's
// path; lets a test change the source at the one moment no timing can hit reliably.
void setBeforeReadHook(std::function<void(const QString& source)> hook);

} // namespace tunevane::files
