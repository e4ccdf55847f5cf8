// Small helpers shared by the records tests: whole-file reads and writes, a store with
// known samples, a store of sentinels, and a guard that makes every file write beyond a few
// bytes fail.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>
#include <memory>
#include <utility>

#include "measure/sample_store.h"
#include "support/file_size_limit.h"

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

// A store whose every entry holds a sentinel (forces -77, times -88, Count 5), to see what
// reading a file touched.
inline std::unique_ptr<TSampleStore> SentinelStore() {
    auto store = std::make_unique<TSampleStore>();
    store->ForceN.fill(-77);
    store->TimeMs.fill(-88);
    store->Count = 5;
    return store;
}
