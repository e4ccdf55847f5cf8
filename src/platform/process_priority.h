// The recorder runs above normal priority so the receiver keeps pace with the unit.
#pragma once

namespace platform {

// Raises the priority of the calling thread and of the threads it starts afterwards, so call it
// before any thread is created. Best effort: without the privilege the priority stays normal.
// True when the priority was raised.
bool RaiseProcessPriority();

}  // namespace platform
