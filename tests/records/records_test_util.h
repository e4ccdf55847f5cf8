// Small helpers shared by the records tests: whole-file reads and writes, a store with
// known samples, and a guard that makes every file write beyond a few bytes fail.
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <initializer_list>
#include <utility>

#include "measure/sample_store.h"

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

// Samples (time ms, force N) in store order.
inline TSampleStore StoreOf(std::initializer_list<std::pair<int32_t, int32_t>> samples) {
    TSampleStore store;
    for (const auto& [time, force] : samples) {
        store.TimeMs[store.Count] = time;
        store.ForceN[store.Count] = force;
        ++store.Count;
    }
    return store;
}

// While alive, a write that would make any file longer than `limit` bytes fails (EFBIG),
// even for root: the way a full disk looks to the program.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};
