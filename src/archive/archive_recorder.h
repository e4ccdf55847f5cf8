// The recorder's side of the archive: a saved test is entered on a thread of the archive's own,
// so that the save, the window and the receiver never wait for a database. When the archive
// cannot take the entry (unreachable, locked, full) it waits in the local queue, which is
// delivered every retry period, at every save and at start-up, once the archive takes entries
// again. The operator is told once per outage, and once when it is over.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>

#include "archive/archive_settings.h"

namespace archive {

// What the window knows of a test it has just saved; the rest of the entry comes from the file.
struct TSaveFacts {
    QString path;          // the saved test file
    QDateTime savedAt;     // when it was saved
    int periodMs = 0;      // the registration period; 0 when not known
    QString operatorName;  // NAME
    QString machine;       // MACHINE
    int serNum = 0;        // SER_NUM
};

class TArchiveWorker;

class TArchiveRecorder : public QObject {
    Q_OBJECT

  public:
    explicit TArchiveRecorder(const TArchiveSettings& settings, QObject* parent = nullptr,
                              std::chrono::milliseconds retryEvery = std::chrono::seconds(30));
    // Enters what was submitted before (into the archive or the queue), then ends the thread.
    ~TArchiveRecorder() override;

    // Returns at once: the file is read, hashed and entered on the archive's thread.
    void Submit(const TSaveFacts& facts);

    // Delivers the queue now rather than at the next retry.
    void RetryNow();

  signals:
    // The archive cannot take entries, and they wait in the queue: once per outage.
    void Unavailable(const QString& text);
    // The archive takes entries again and the queue has been delivered.
    void Restored(const QString& text);
    // A saved file that could not be entered at all (not a test file, or no room in the queue
    // either); the file itself is saved.
    void NotArchived(const QString& text);
    // The entry of this saved file is in the archive.
    void Stored(const QString& path);

  private:
    std::atomic<bool> stopping_{false};
    std::atomic<bool> workerStopped_{false};
    QThread thread_;
    std::unique_ptr<TArchiveWorker> worker_;
};

}  // namespace archive
