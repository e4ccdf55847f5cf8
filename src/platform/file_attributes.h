// The two states the configuration file is kept in between accesses.
#pragma once

#include <QString>

namespace platform {

// "Normal": the owner may write the file. False when the permissions cannot be changed.
bool SetFileAttributesNormal(const QString& path);

// "Read-only and system": nobody may write the file (all write bits removed).
bool SetFileAttributesReadOnlySystem(const QString& path);

}  // namespace platform
