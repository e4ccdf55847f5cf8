// Delivering the local queue into the archive once it can take entries again.
#pragma once

#include <QString>

#include "archive/archive.h"
#include "archive/archive_queue.h"

namespace archive {

struct TDelivery {
    int delivered = 0;  // entries stored (or found there already) and removed from the queue
    QString error;      // why delivery stopped before the queue was empty; empty when it was

    bool Done() const { return error.isEmpty(); }
};

// Stores the waiting entries, the oldest first, a batch per transaction, and removes each
// batch's files once the archive holds it: an entry is never lost on the way, and one that
// reaches the archive twice (a removal that failed, another program delivering the same
// queue) is stored once.
TDelivery DeliverQueue(TArchive& archive, const TArchiveQueue& queue);

}  // namespace archive
