// The application-wide cursor, which overrides the cursor of every window of the program.
#pragma once

#include <Qt>

namespace platform {

// Sets the application-wide cursor; only one override level is ever held, so setting it again
// replaces the shape instead of stacking another one.
void SetApplicationCursor(Qt::CursorShape shape);

// The application-wide cursor's shape; the arrow while none is set.
Qt::CursorShape ApplicationCursor();

}  // namespace platform
