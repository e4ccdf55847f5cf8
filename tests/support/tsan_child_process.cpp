// Child processes started by a test built with ThreadSanitizer.
//
// Qt 6.4 starts a QProcess with vfork semantics: clone(CLONE_VM | CLONE_VFORK), the child running
// in the parent's memory until it executes the program. The checker handles every clone as a
// fork and resets its state in the child, which here is the parent's own state: from then on the
// parent's main thread takes locks the checker no longer sees, and every later hand-over between
// threads looks like a race. Later Qt versions start children with a real fork under the
// sanitizers; this does the same for the tests, so the checker sees a proper fork.
#include <dlfcn.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...) noexcept {
    va_list rest;
    va_start(rest, arg);
    pid_t* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    pid_t* childTid = va_arg(rest, pid_t*);
    va_end(rest);

    constexpr int kVfork = CLONE_VM | CLONE_VFORK;
    if ((flags & kVfork) == kVfork && (flags & CLONE_THREAD) == 0) {
        const pid_t pid = fork();
        if (pid == 0) {
            _exit(fn(arg));
        }
        if (pid > 0 && (flags & CLONE_PIDFD) != 0) {
            *parentTid = static_cast<pid_t>(syscall(SYS_pidfd_open, pid, 0));
        }
        return pid;
    }
    using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
    static const auto next = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    return next(fn, stack, flags, arg, parentTid, tls, childTid);
}
