// The entries of many test files at once, made on several threads: reading and hashing the
// files of a large folder is most of an import's work.
#pragma once

#include <QStringList>
#include <vector>

#include "archive/test_file_entry.h"

namespace archive {

// How many threads read and hash `files` files: as many as the machine has cores, at most four,
// and no more than one for every 64 files.
int BatchThreads(qsizetype files);

// EntryFromTestFile for every path, on BatchThreads threads; the results in the order of the paths.
std::vector<TTestFileEntry> EntriesFromTestFiles(const QStringList& paths);

}  // namespace archive
