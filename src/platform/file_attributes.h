// The two states the configuration file is kept in between accesses, on a program folder that
// every operator of the press shares (a group-writable folder with the setgid bit). The file is
// changed through its descriptor: a link or a special file at its name is left alone.
#pragma once

#include <sys/stat.h>

#include <QString>

namespace platform {

// "Normal": the owner may write the file, and so may the group and others where the folder
// already lets them replace it (writable for them and not sticky; for the group, the file
// belongs to the folder's group). False when the permissions cannot be set, or the name is not
// a regular file.
bool SetFileAttributesNormal(const QString& path);

// "Read-only and system": nobody may write the file (all write bits removed).
bool SetFileAttributesReadOnlySystem(const QString& path);

// Both replace a file that another user owns, and whose bits only he could change, by an
// identical copy that the current user owns, as far as the folder allows.

// The "normal" mode of a file in the folder: its own bits with the write bits the folder grants.
mode_t NormalMode(const struct stat& file, const struct stat& folder);

// Creates a folder with the write bits its parent grants and its parent's group, so that a
// folder made in a shared program folder is shared too. True when the name is a folder
// afterwards (a link to one does not count).
bool CreateFolder(const QString& path);

}  // namespace platform
