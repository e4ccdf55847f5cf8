// The program's folder: VE17.ini and DBCustom live there. It is the executable's folder, unless
// the build names a state folder of its own (VE17_STATE_FOLDER), as an installed program's does.
// Files that belong to the program itself (the help collection) stay beside the executable.
#pragma once

#include <QString>

namespace platform {

// Absolute path of the program's folder, with a trailing "/".
QString ProgramDir();

// Tests point the program's folder at a scratch directory; an empty path restores the real one.
void OverrideProgramDir(const QString& dir);

}  // namespace platform
