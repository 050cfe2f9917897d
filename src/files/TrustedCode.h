// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Opens a file of code to load only if no other local user could have written it.

#include "files/Fd.h"

#include <QString>
#include <optional>

namespace tunevane::files {

// The file of code at `path`, opened, where it may be loaded into this process: the file and
// every folder from "/" down to it belong to root or to this user, and no one else may write
// to any of them, by its mode or by an entry of its access list. A folder that others may
// write but that is sticky (/tmp) passes, since there only an entry's owner may replace it.
// Anything else could hold code that another local user put there. Load what this returns
// through descriptorPath(), never by the name again, so that what was checked is what runs.
std::optional<Fd> openTrustedCode(const QString& path);

} // namespace tunevane::files
