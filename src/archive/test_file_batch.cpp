#include "archive/test_file_batch.h"

#include <QThread>
#include <algorithm>
#include <memory>
#include <thread>

namespace archive {
namespace {

constexpr int kMaxThreads = 4;
constexpr qsizetype kFilesPerThread = 64;  // fewer are not worth a thread

}  // namespace

int BatchThreads(qsizetype files) {
    return static_cast<int>(std::clamp<qsizetype>(
        std::min<qsizetype>(QThread::idealThreadCount(), files / kFilesPerThread), 1, kMaxThreads));
}

std::vector<TTestFileEntry> EntriesFromTestFiles(const QStringList& paths) {
    std::vector<TTestFileEntry> entries(static_cast<size_t>(paths.size()));
    const qsizetype threads = BatchThreads(paths.size());
    // Thread t takes every path whose index leaves t over when divided by the threads.
    const auto describe = [&](qsizetype first) {
        auto scratch = std::make_unique<TSampleStore>();
        for (qsizetype i = first; i < paths.size(); i += threads) {
            entries[static_cast<size_t>(i)] = EntryFromTestFile(paths[i], *scratch);
        }
    };
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < threads; ++t) {
        helpers.emplace_back(describe, t);
    }
    describe(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return entries;
}

}  // namespace archive
