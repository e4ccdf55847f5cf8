// A thread of the archive window's own for work that may take long (the database, the files),
// so that the window never waits for it. The worker is made, used and destroyed on that thread
// alone: the archive's database connections belong to the thread that opened them. Work runs in
// the order it was posted; once the thread is being stopped, work not yet begun is skipped.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace archive {

template <typename Worker>
class TWorkerThread {
  public:
    TWorkerThread(const QString& name, std::function<std::unique_ptr<Worker>()> make) {
        context_.moveToThread(&thread_);
        thread_.setObjectName(name);
        thread_.start();
        QMetaObject::invokeMethod(
            &context_, [this, make] { worker_ = make(); }, Qt::QueuedConnection);
    }

    // Ends the work under way, skips the rest and destroys the worker on its thread.
    ~TWorkerThread() {
        stopping_.store(true);
        QThread* home = QThread::currentThread();
        QMetaObject::invokeMethod(
            &context_,
            [this, home] {
                worker_.reset();
                context_.moveToThread(home);
                QThread::currentThread()->quit();
            },
            Qt::QueuedConnection);
        thread_.wait();
    }

    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // Runs `work` with the worker on the thread; from any thread.
    void Post(std::function<void(Worker&)> work) {
        QMetaObject::invokeMethod(
            &context_,
            [this, work = std::move(work)] {
                if (!stopping_.load()) {
                    work(*worker_);
                }
            },
            Qt::QueuedConnection);
    }

  private:
    std::atomic<bool> stopping_{false};
    QThread thread_;
    QObject context_;
    std::unique_ptr<Worker> worker_;
};

}  // namespace archive
