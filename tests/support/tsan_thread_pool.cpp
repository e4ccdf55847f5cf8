// Qt's global thread pool under ThreadSanitizer.
//
// This program never uses the pool; Qt does, to split large raster fills and image conversions
// across pooled threads, and hands that work over through its own futex-based locks, which the
// checker cannot see. The hand-overs between the UI thread and a pooled thread are suppressed by
// name (tsan.supp). Those between two pooled threads happen inside Qt's pool code, which has no
// name to suppress by, so the tests keep one pooled thread, never replaced, for the whole run.
#include <QCoreApplication>
#include <QThreadPool>

namespace {

void KeepOnePooledThread() {
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->setMaxThreadCount(1);
    pool->setExpiryTimeout(-1);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(KeepOnePooledThread)
