// Threads of the archive window's own for work that may take long (the database, the files),
// so that the window never waits for it, and the hand-over of work between threads.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace archive {

// What one thread did before HandOver(address) is seen by the thread checker as done before
// what another does after TakeOver(address): for hand-overs through Qt's own locks, which it
// cannot see into. Nothing in other builds.
void HandOver(void* address);
void TakeOver(void* address);

// Runs tasks on the thread this object lives in, in the order they were posted. A task still
// waiting when the object is destroyed is dropped.
class TTaskTarget : public QObject {
  public:
    // From any thread.
    void Post(std::function<void()> task);

  protected:
    bool event(QEvent* event) override;
};

// A thread whose worker is made, used and destroyed on that thread alone: the archive's
// database connections belong to the thread that opened them. Once the thread is being
// stopped, work not yet begun is skipped.
template <typename Worker>
class TWorkerThread {
  public:
    TWorkerThread(const QString& name, std::function<std::unique_ptr<Worker>()> make) {
        context_.moveToThread(&thread_);
        thread_.setObjectName(name);
        thread_.start();
        context_.Post([this, make] { worker_ = make(); });
    }

    // Ends the work under way, skips the rest and destroys the worker on its thread.
    ~TWorkerThread() {
        stopping_.store(true);
        QThread* home = QThread::currentThread();
        context_.Post([this, home] {
            worker_.reset();
            context_.moveToThread(home);
            HandOver(&worker_);
            QThread::currentThread()->quit();
        });
        thread_.wait();
        TakeOver(&worker_);
    }

    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // Runs `work` with the worker on the thread; from any thread.
    void Post(std::function<void(Worker&)> work) {
        context_.Post([this, work = std::move(work)] {
            if (!stopping_.load()) {
                work(*worker_);
            }
        });
    }

  private:
    std::atomic<bool> stopping_{false};
    QThread thread_;
    TTaskTarget context_;
    std::unique_ptr<Worker> worker_;
};

}  // namespace archive
