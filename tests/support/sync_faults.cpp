#include "support/sync_faults.h"

#include <dlfcn.h>
#include <unistd.h>

namespace {

struct TArmed {
    int error = 0;  // 0: not armed
    int failed = 0;
};

thread_local TArmed armedFsync;
thread_local TArmed armedFdatasync;

TArmed& ArmedFor(TSyncCall call) {
    return call == TSyncCall::Fsync ? armedFsync : armedFdatasync;
}

using TSync = int (*)(int);

TSync Real(const char* name) {
    return reinterpret_cast<TSync>(::dlsym(RTLD_NEXT, name));
}

int Sync(TArmed& armed, TSync real, int fd) {
    if (armed.error != 0) {
        ++armed.failed;
        errno = armed.error;
        return -1;
    }
    return real(fd);
}

}  // namespace

extern "C" int fsync(int fd) {
    static const TSync real = Real("fsync");
    return Sync(armedFsync, real, fd);
}

extern "C" int fdatasync(int fd) {
    static const TSync real = Real("fdatasync");
    return Sync(armedFdatasync, real, fd);
}

TFailingSync::TFailingSync(TSyncCall call, int error) : call_(call) {
    ArmedFor(call_) = {error, 0};
}

TFailingSync::~TFailingSync() {
    ArmedFor(call_) = {};
}

int TFailingSync::Failed() const {
    return ArmedFor(call_).failed;
}
