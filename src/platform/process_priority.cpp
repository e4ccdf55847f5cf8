#include "platform/process_priority.h"

#include <sys/resource.h>

namespace platform {

bool RaiseProcessPriority() {
    return setpriority(PRIO_PROCESS, 0, -10) == 0;
}

}  // namespace platform
