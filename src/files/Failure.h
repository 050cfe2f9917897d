// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Why a file operation failed, in the few kinds the user is told, from the error number.

#include <cerrno>

namespace tunevane::files {

// Why a file operation failed, as far as the user can act on it; the log keeps the details.
enum class Failure {
    None,
    NoSource,          // the source path is empty: a selection without that file
    NoDestination,     // the destination path is empty
    SourceMissing,     // the source is no longer there
    SourceUnreadable,  // the source cannot be opened or read, or is no plain file
    SourceChanged,     // the source changed while it was read
    ReadOnly,          // the destination file's mode bits grant no write
    FolderMissing,     // the destination's folder is no longer there
    FolderNotWritable, // the destination's folder refuses new files
    DiskFull,
    AlreadyThere, // a copy that must not replace anything found a file of its name
    Busy,         // another running copy of the program holds the folder
    Other,
};

inline bool isDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

inline Failure sourceFailure(int error) {
    return error == ENOENT || error == ENOTDIR ? Failure::SourceMissing : Failure::SourceUnreadable;
}

// Any step that writes beside or over the destination: its folder, a temporary, the rename.
inline Failure destinationFailure(int error) {
    if (isDiskFull(error))
        return Failure::DiskFull;
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Failure::FolderMissing;
    case EACCES:
    case EPERM:
    case EROFS:
        return Failure::FolderNotWritable;
    default:
        return Failure::Other;
    }
}

} // namespace tunevane::files
