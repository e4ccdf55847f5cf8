#include "archive/archive_recorder.h"

#include "archive/archive_worker.h"

namespace archive {

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
    QMetaObject::invokeMethod(worker_.get(), &TArchiveWorker::Start, Qt::QueuedConnection);
}

TArchiveRecorder::~TArchiveRecorder() {
    // What was submitted is still entered, but no longer retried against an archive that is
    // away: it goes to the queue for the next run.
    stopping_.store(true);
    TArchiveWorker* worker = worker_.get();
    QThread* home = thread();
    QMetaObject::invokeMethod(
        worker, [worker, home] { worker->Stop(home); }, Qt::QueuedConnection);
    thread_.wait();
}

void TArchiveRecorder::Submit(const TSaveFacts& facts) {
    TArchiveWorker* worker = worker_.get();
    QMetaObject::invokeMethod(
        worker, [worker, facts] { worker->Submit(facts); }, Qt::QueuedConnection);
}

void TArchiveRecorder::RetryNow() {
    QMetaObject::invokeMethod(worker_.get(), &TArchiveWorker::Retry, Qt::QueuedConnection);
}

}  // namespace archive
