#include "archive/archive_worker.h"

#include <QDir>
#include <QThread>

#include "archive/queue_delivery.h"
#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "platform/thread_check.h"

namespace archive {
namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A text for the recorder's thread that shares nothing with this one's.
QString Own(const QString& text) {
    return QString(text.constData(), text.size());
}

TArchiveEntry SavedEntry(TArchiveEntry entry, const TSaveFacts& facts) {
    entry.savedAt = facts.savedAt;  // in UTC already: the recorder turned it on its own thread
    if (facts.periodMs > 0) {
        entry.periodMs = facts.periodMs;
    }
    entry.operatorName = facts.operatorName;
    entry.machine = facts.machine;
    entry.serNum = facts.serNum;
    entry.userAccount = CurrentAccount();
    entry.hostName = HostName();
    entry.origin = TOrigin::Saved;
    return entry;
}

}  // namespace

TArchiveWorker::TArchiveWorker(const TArchiveSettings& settings,
                               std::chrono::milliseconds retryEvery,
                               const std::atomic<bool>& stopping)
    : settings_(settings),
      queue_(settings.queueFolder),
      retryEvery_(retryEvery),
      stopping_(stopping),
      scratch_(std::make_unique<TSampleStore>()) {}

TArchiveWorker::~TArchiveWorker() = default;

void TArchiveWorker::Start() {
    timer_ = std::make_unique<QTimer>();
    timer_->callOnTimeout(this, &TArchiveWorker::Retry);
    timer_->start(retryEvery_);
    // Entries a run before this one left in the queue.
    Retry();
}

void TArchiveWorker::Stop(QThread* home) {
    timer_.reset();
    archive_.reset();
    moveToThread(home);
    QThread::currentThread()->quit();
}

TArchive* TArchiveWorker::Archive(QString* error) {
    if (!archive_) {
        archive_ = TArchive::Open(settings_, error);
    }
    return archive_.get();
}

bool TArchiveWorker::StoreNow(const TArchiveEntry& entry, QString* error) {
    TArchive* archive = Archive(error);
    if (archive == nullptr) {
        return false;
    }
    if (!archive->Insert({entry})) {
        *error = QStringLiteral("%1: %2").arg(ArchiveName(settings_), archive->Error());
        // The next attempt connects anew: a server that went away does not come back on its own.
        archive_.reset();
        return false;
    }
    return true;
}

void TArchiveWorker::Submit(const TSaveFacts& facts) {
    const TTestFileEntry made = EntryFromTestFile(facts.path, *scratch_);
    if (!made.ok) {
        Tell(&TArchiveWorker::NotArchived, QStringLiteral("Испытание «%1» не внесено в архив: %2")
                                               .arg(Shown(facts.path), made.reason));
        return;
    }
    const TArchiveEntry entry = SavedEntry(made.entry, facts);
    QString error;
    if (!outage_ && StoreNow(entry, &error)) {
        Tell(&TArchiveWorker::Stored, entry.filePath);
        if (queue_.Count() > 0) {
            Retry();
        }
        return;
    }
    Queue(entry, error);
}

void TArchiveWorker::Queue(const TArchiveEntry& entry, const QString& why) {
    if (const QString fault = queue_.Put(entry); !fault.isEmpty()) {
        Tell(&TArchiveWorker::NotArchived,
             QStringLiteral("Испытание «%1» не внесено в архив и не поставлено в "
                            "очередь (%2). Файл испытания сохранён; его можно внести "
                            "в архив командой ve17-archive import.")
                 .arg(Shown(entry.filePath), fault));
    }
    if (!outage_) {
        EnterOutage(why);
    } else if (!stopping_.load()) {
        Retry();
    }
}

void TArchiveWorker::Retry() {
    if (!outage_ && queue_.Count() == 0) {
        return;
    }
    QString error;
    TArchive* archive = Archive(&error);
    if (archive == nullptr) {
        EnterOutage(error);
        return;
    }
    const TDelivery delivery = DeliverQueue(*archive, queue_);
    if (!delivery.Done()) {
        archive_.reset();
        EnterOutage(QStringLiteral("%1: %2").arg(ArchiveName(settings_), delivery.error));
        return;
    }
    if (outage_) {
        outage_ = false;
        Tell(&TArchiveWorker::Restored,
             QStringLiteral("Архив снова доступен: испытания из очереди внесены (%1).")
                 .arg(delivery.delivered));
    }
}

void TArchiveWorker::Tell(void (TArchiveWorker::*signal)(const QString&), const QString& text) {
    [[maybe_unused]] const platform::TQtHandOver handOver;
    emit(this->*signal)(Own(text));
}

void TArchiveWorker::EnterOutage(const QString& reason) {
    if (outage_) {
        return;
    }
    outage_ = true;
    Tell(&TArchiveWorker::Unavailable,
         QStringLiteral("Архив недоступен: запись испытания ждёт в очереди (%1).").arg(reason));
}

}  // namespace archive
