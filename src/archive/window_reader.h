// The archive window's database work, on a thread of its own with a connection of its own:
// pages of a listing, the counts, the presses and the archive's state. Requests are answered in
// the order they were made, by signals on the window's thread. An archive that cannot be
// reached is tried again at every status request; one that fails a query is connected anew then.
#pragma once

#include <QObject>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "archive/archive_entry.h"
#include "archive/archive_query.h"
#include "archive/archive_settings.h"
#include "archive/window_thread.h"

namespace archive {

struct TPageRequest {
    quint64 generation = 0;  // told back with the answer
    TArchiveQuery query;     // the filter and the order; the pages give the limit and offset
    int pageSize = 100;
    std::vector<int> pages;  // their numbers, from 0
    bool counted = false;    // also how many entries the query finds and the archive holds
};

struct TPageAnswer {
    quint64 generation = 0;
    std::vector<std::pair<int, std::vector<TArchiveEntry>>> pages;
    std::optional<qint64> count;  // of the query, when asked for
    std::optional<qint64> total;  // of the whole archive, when asked for
    QString error;                // empty when everything asked for came
};

// What the window shows of the archive beside the table; `total` and `newestId` change with
// every entry that comes in (entries are never taken out).
struct TArchiveStatus {
    QString error;  // why the archive cannot be read; empty when it can
    qint64 total = 0;
    qint64 newestId = 0;
    int queued = 0;  // entries waiting in this PC's queue for the archive

    bool SameContents(const TArchiveStatus& other) const {
        return error.isEmpty() && other.error.isEmpty() && total == other.total &&
               newestId == other.newestId;
    }
};

class TReaderWorker;

class TArchiveReader : public QObject {
    Q_OBJECT

  public:
    explicit TArchiveReader(const TArchiveSettings& settings, QObject* parent = nullptr);
    ~TArchiveReader() override;

    void Load(const TPageRequest& request);
    void AskStatus();
    void AskMachines();

  signals:
    void Loaded(const archive::TPageAnswer& answer);
    void StatusRead(const archive::TArchiveStatus& status);
    void MachinesRead(const QStringList& machines);

  private:
    TTaskTarget home_;  // the answers' way back to this object's thread
    TWorkerThread<TReaderWorker> thread_;
};

}  // namespace archive
