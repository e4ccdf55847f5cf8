#include "archive/window_reader.h"

#include <memory>

#include "archive/archive.h"
#include "archive/archive_queue.h"

namespace archive {

// On the reader's thread: the connection and the queue of this PC.
class TReaderWorker {
  public:
    explicit TReaderWorker(const TArchiveSettings& settings)
        : settings_(settings), queue_(settings.queueFolder) {}

    TPageAnswer Load(const TPageRequest& request) {
        TPageAnswer answer;
        answer.generation = request.generation;
        TArchive* archive = Opened(&answer.error);
        if (archive == nullptr) {
            return answer;
        }
        if (request.counted) {
            answer.count = archive->Count(request.query);
            answer.total = archive->Count({});
            if (!answer.count || !answer.total) {
                return Failed(answer);
            }
        }
        for (const int page : request.pages) {
            TArchiveQuery query = request.query;
            query.limit = request.pageSize;
            query.offset = page * request.pageSize;
            auto entries = archive->Find(query);
            if (!entries) {
                return Failed(answer);
            }
            answer.pages.emplace_back(page, std::move(*entries));
        }
        return answer;
    }

    TArchiveStatus Status() {
        TArchiveStatus status;
        status.queued = queue_.Count();
        retry_ = true;
        TArchive* archive = Opened(&status.error);
        if (archive == nullptr) {
            return status;
        }
        TArchiveQuery newest;
        newest.limit = 1;
        const auto total = archive->Count({});
        const auto found = archive->Find(newest);
        if (!total || !found) {
            status.error = Lost();
            return status;
        }
        status.total = *total;
        status.newestId = found->empty() ? 0 : found->front().id;
        return status;
    }

    QStringList Machines() {
        QString error;
        TArchive* archive = Opened(&error);
        if (archive == nullptr) {
            return {};
        }
        const auto machines = archive->Machines();
        if (!machines) {
            Lost();
            return {};
        }
        return *machines;
    }

  private:
    // The archive, connected when it is not and no attempt failed since the last status request.
    TArchive* Opened(QString* error) {
        if (!archive_ && retry_) {
            retry_ = false;
            archive_ = TArchive::Open(settings_, &openError_);
        }
        if (!archive_) {
            *error = openError_;
        }
        return archive_.get();
    }

    TPageAnswer& Failed(TPageAnswer& answer) {
        answer.error = Lost();
        answer.pages.clear();
        return answer;
    }

    // A query failed: the next status request connects anew, as a server that went away does
    // not come back on its own.
    QString Lost() {
        openError_ = QStringLiteral("%1: %2").arg(ArchiveName(settings_), archive_->Error());
        archive_.reset();
        return openError_;
    }

    TArchiveSettings settings_;
    TArchiveQueue queue_;
    std::unique_ptr<TArchive> archive_;
    QString openError_;
    bool retry_ = true;
};

TArchiveReader::TArchiveReader(const TArchiveSettings& settings, QObject* parent)
    : QObject(parent), thread_(QStringLiteral("ve17-archive-db"), [settings] {
          return std::make_unique<TReaderWorker>(settings);
      }) {}

TArchiveReader::~TArchiveReader() = default;

void TArchiveReader::Load(const TPageRequest& request) {
    thread_.Post([this, request](TReaderWorker& worker) {
        const TPageAnswer answer = worker.Load(request);
        home_.Post([this, answer] { emit Loaded(answer); });
    });
}

void TArchiveReader::AskStatus() {
    thread_.Post([this](TReaderWorker& worker) {
        const TArchiveStatus status = worker.Status();
        home_.Post([this, status] { emit StatusRead(status); });
    });
}

void TArchiveReader::AskMachines() {
    thread_.Post([this](TReaderWorker& worker) {
        const QStringList machines = worker.Machines();
        home_.Post([this, machines] { emit MachinesRead(machines); });
    });
}

}  // namespace archive
