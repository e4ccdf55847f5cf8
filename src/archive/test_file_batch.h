// The entries of many test files at once, made on several threads: reading and hashing the
// files of a large folder is most of an import's work.
#pragma once

#include <QStringList>
#include <vector>

#include "archive/test_file_entry.h"

namespace archive {

// EntryFromTestFile for every path, on up to as many threads as the machine has cores (at most
// four); the results in the order of the paths.
std::vector<TTestFileEntry> EntriesFromTestFiles(const QStringList& paths);

}  // namespace archive
