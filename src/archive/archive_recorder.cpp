#include "archive/archive_recorder.h"

#include "archive/archive_worker.h"
#include "platform/thread_check.h"

namespace archive {
namespace {

// A copy that shares no text with the caller's: the worker's thread reads only what was made
// for it while handing the call to Qt. The time is turned into UTC here, on the caller's thread,
// as the C library's time zone state is no thread's own.
QString Own(const QString& text) {
    return QString(text.constData(), text.size());
}

TSaveFacts Own(const TSaveFacts& facts) {
    return {Own(facts.path),         facts.savedAt.toUTC(), facts.periodMs,
            Own(facts.operatorName), Own(facts.machine),    facts.serNum};
}

}  // namespace

TArchiveRecorder::TArchiveRecorder(const TArchiveSettings& settings, QObject* parent,
                                   std::chrono::milliseconds retryEvery)
    : QObject(parent), worker_(std::make_unique<TArchiveWorker>(settings, retryEvery, stopping_)) {
    worker_->moveToThread(&thread_);
    connect(worker_.get(), &TArchiveWorker::Unavailable, this, &TArchiveRecorder::Unavailable);
    connect(worker_.get(), &TArchiveWorker::Restored, this, &TArchiveRecorder::Restored);
    connect(worker_.get(), &TArchiveWorker::NotArchived, this, &TArchiveRecorder::NotArchived);
    connect(worker_.get(), &TArchiveWorker::Stored, this, &TArchiveRecorder::Stored);
    thread_.setObjectName(QStringLiteral("ve17-archive"));
    thread_.start();
    [[maybe_unused]] const platform::TQtHandOver handOver;
    QMetaObject::invokeMethod(worker_.get(), &TArchiveWorker::Start, Qt::QueuedConnection);
}

TArchiveRecorder::~TArchiveRecorder() {
    // What was submitted is still entered, but no longer retried against an archive that is
    // away: it goes to the queue for the next run.
    stopping_.store(true);
    TArchiveWorker* worker = worker_.get();
    QThread* home = thread();
    std::atomic<bool>& stopped = workerStopped_;
    {
        [[maybe_unused]] const platform::TQtHandOver handOver;
        QMetaObject::invokeMethod(
            worker,
            [worker, home, &stopped] {
                worker->Stop(home);
                stopped.store(true, std::memory_order_release);
            },
            Qt::QueuedConnection);
    }
    thread_.wait();
    // What the worker's thread did before it stopped is this thread's to see from here on; the
    // wait alone says so only through Qt's own locks, which a thread check cannot see.
    workerStopped_.load(std::memory_order_acquire);
}

void TArchiveRecorder::Submit(const TSaveFacts& facts) {
    TArchiveWorker* worker = worker_.get();
    [[maybe_unused]] const platform::TQtHandOver handOver;
    QMetaObject::invokeMethod(
        worker, [worker, facts = Own(facts)] { worker->Submit(facts); }, Qt::QueuedConnection);
}

void TArchiveRecorder::RetryNow() {
    [[maybe_unused]] const platform::TQtHandOver handOver;
    QMetaObject::invokeMethod(worker_.get(), &TArchiveWorker::Retry, Qt::QueuedConnection);
}

}  // namespace archive
