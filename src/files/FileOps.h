#pragma once

#include <QList>
#include <QString>

namespace tunevane::files {

// Replaces the destination with a copy of the source, atomically: at any moment the
// destination holds either its old bytes or all of the new ones. A destination that is a
// symbolic link replaces the file it points to. Refuses a destination whose mode bits grant
// no write permission. Source and destination naming the same file is a success that
// leaves the file alone. Never reports why it failed.
bool copyFileTo(const QString& source, const QString& destination);

struct CopyPair {
    QString source;
    QString destination;
};

// Copies the pairs in order and stops at the first failure. Returns how many were copied,
// which is also the index of the pair that failed.
qsizetype copyRun(const QList<CopyPair>& pairs);

// True for the names copyFileTo gives its temporaries, which a killed copy may leave behind.
bool isTemporaryName(const QString& fileName);

} // namespace tunevane::files
