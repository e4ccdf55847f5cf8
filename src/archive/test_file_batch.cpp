#include "archive/test_file_batch.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

namespace archive {
namespace {

constexpr int kMaxThreads = 4;
constexpr qsizetype kFilesPerThread = 64;  // fewer are not worth a thread

int BatchThreads(qsizetype files) {
    return static_cast<int>(std::clamp<qsizetype>(
        std::min<qsizetype>(QThread::idealThreadCount(), files / kFilesPerThread), 1, kMaxThreads));
}

}  // namespace

void RunOnBatchThreads(qsizetype files, const std::function<void()>& work) {
    const int threads = BatchThreads(files);
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

std::vector<TTestFileEntry> EntriesFromTestFiles(const QStringList& paths) {
    std::vector<TTestFileEntry> entries(static_cast<size_t>(paths.size()));
    // Each thread takes the next path not yet taken: a thread the system holds back (the
    // importer's own thread stores entries meanwhile) leaves its share to the others.
    std::atomic<qsizetype> next{0};
    RunOnBatchThreads(paths.size(), [&] {
        auto scratch = std::make_unique<TSampleStore>();
        for (qsizetype i = next++; i < paths.size(); i = next++) {
            entries[static_cast<size_t>(i)] = EntryFromTestFile(paths[i], *scratch);
        }
    });
    return entries;
}

}  // namespace archive
