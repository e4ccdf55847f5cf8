#include "archive/queue_delivery.h"

#include <QDir>

namespace archive {
namespace {

constexpr int kBatch = 200;

}  // namespace

TDelivery DeliverQueue(TArchive& archive, const TArchiveQueue& queue) {
    TDelivery delivery;
    for (;;) {
        const TQueueListing pending = queue.Pending(kBatch);
        if (pending.entries.empty()) {
            return delivery;
        }
        std::vector<TArchiveEntry> entries;
        for (const TQueuedEntry& queued : pending.entries) {
            entries.push_back(queued.entry);
        }
        if (!archive.Insert(entries)) {
            delivery.error = archive.Error();
            return delivery;
        }
        for (const TQueuedEntry& queued : pending.entries) {
            // A file that stays would come back in every round: stop rather than loop.
            if (!queue.Remove(queued.name)) {
                delivery.error = QStringLiteral("не удалось убрать запись «%1» из очереди")
                                     .arg(QDir(queue.Folder()).filePath(queued.name));
                return delivery;
            }
            ++delivery.delivered;
        }
    }
}

}  // namespace archive
