#include "archive/window_thread.h"

#include <QCoreApplication>
#include <QEvent>

// Qt's event queue is guarded by locks the thread checker cannot see into: the hand-over of a
// task from the posting thread to the running one is told to it.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace archive {
namespace {}  // namespace

void HandOver([[maybe_unused]] void* address) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(address);
#endif
}

void TakeOver([[maybe_unused]] void* address) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(address);
#endif
}

namespace {

const QEvent::Type kTaskEvent = QEvent::Type(QEvent::registerEventType());

class TTaskEvent : public QEvent {
  public:
    explicit TTaskEvent(std::function<void()> task) : QEvent(kTaskEvent), task(std::move(task)) {}
    std::function<void()> task;
};

}  // namespace

void TTaskTarget::Post(std::function<void()> task) {
    auto* event = new TTaskEvent(std::move(task));
    HandOver(event);
    QCoreApplication::postEvent(this, event);
}

bool TTaskTarget::event(QEvent* event) {
    TakeOver(event);
    if (event->type() != kTaskEvent) {
        return QObject::event(event);
    }
    static_cast<TTaskEvent*>(event)->task();
    return true;
}

}  // namespace archive
