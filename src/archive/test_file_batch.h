// The entries of many test files at once, made on several threads: reading and hashing the
// files of a large folder is most of an import's work.
#pragma once

#include <QStringList>
#include <functional>
#include <vector>

#include "archive/test_file_entry.h"

namespace archive {

// Runs `work` at once on as many threads as it is worth reading and hashing `files` files on (as
// many as the machine has cores, at most four, no more than one for every 64 files), this thread
// among them, and returns when every one has returned. The threads share the files out among
// themselves.
void RunOnBatchThreads(qsizetype files, const std::function<void()>& work);

// EntryFromTestFile for every path, on those threads; the results in the order of the paths.
std::vector<TTestFileEntry> EntriesFromTestFiles(const QStringList& paths);

}  // namespace archive
