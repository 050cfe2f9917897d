#pragma once

#include <QString>
#include <optional>

namespace tunevane::files {

// The real path of a file of code that may be loaded into this process: the file and the
// folder that holds it belong to root or to this user, and no one else may write to either.
// Anything else could hold code that another local user put there.
std::optional<QString> trustedCodePath(const QString& path);

} // namespace tunevane::files
