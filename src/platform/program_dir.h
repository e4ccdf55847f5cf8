// The folder of the running executable: VE17.ini and DBCustom live there.
#pragma once

#include <QString>

namespace platform {

// Absolute path of the program's folder, with a trailing "/".
QString ProgramDir();

// Tests point the program's folder at a scratch directory; an empty path restores the real one.
void OverrideProgramDir(const QString& dir);

}  // namespace platform
