// In a thread-checked build (ThreadSanitizer), a stretch of code that only hands data to Qt for
// another thread: posting a call or a queued signal. Qt's event queue is guarded by futex-based
// locks the checker cannot see, so the copies Qt makes there would pass for races with the
// thread that takes them out. Outside a thread-checked build the stretch is nothing.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define VE17_THREAD_CHECK 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VE17_THREAD_CHECK 1
#endif
#endif

#if defined(VE17_THREAD_CHECK)
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace platform {

struct TQtHandOver {
#if defined(VE17_THREAD_CHECK)
    TQtHandOver() {
        __tsan_ignore_thread_begin();
    }
    ~TQtHandOver() {
        __tsan_ignore_thread_end();
    }
    TQtHandOver(const TQtHandOver&) = delete;
    TQtHandOver& operator=(const TQtHandOver&) = delete;
#endif
};

}  // namespace platform
