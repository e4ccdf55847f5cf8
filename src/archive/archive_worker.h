// The archive recorder's worker: lives on the recorder's thread, owns the connection, the local
// queue and the retry timer there.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>

#include "archive/archive.h"
#include "archive/archive_queue.h"
#include "archive/archive_recorder.h"
#include "measure/sample_store.h"

namespace archive {

class TArchiveWorker : public QObject {
    Q_OBJECT

  public:
    TArchiveWorker(const TArchiveSettings& settings, std::chrono::milliseconds retryEvery,
                   const std::atomic<bool>& stopping);
    ~TArchiveWorker() override;

    // On the worker's thread, in this order: Start once, then Submit and Retry, then Stop once,
    // which hands the worker back to `home` and ends the thread.
    void Start();
    void Submit(const TSaveFacts& facts);
    void Retry();
    void Stop(QThread* home);

  signals:
    void Unavailable(const QString& text);
    void Restored(const QString& text);
    void NotArchived(const QString& text);
    void Stored(const QString& path);

  private:
    TArchive* Archive(QString* error);
    bool StoreNow(const TArchiveEntry& entry, QString* error);
    void Queue(const TArchiveEntry& entry, const QString& why);
    void EnterOutage(const QString& reason);
    // Emits the signal, which Qt queues for the recorder's thread.
    void Tell(void (TArchiveWorker::*signal)(const QString&), const QString& text);

    TArchiveSettings settings_;
    TArchiveQueue queue_;
    std::chrono::milliseconds retryEvery_;
    const std::atomic<bool>& stopping_;
    std::unique_ptr<TArchive> archive_;
    std::unique_ptr<QTimer> timer_;
    std::unique_ptr<TSampleStore> scratch_;
    bool outage_ = false;
};

}  // namespace archive
