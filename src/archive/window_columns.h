// The columns of the archive window's table: their headings, what each shows of an entry, and
// the order of the archive each one sorts by.
#pragma once

#include <QString>

#include "archive/archive_entry.h"
#include "archive/archive_query.h"
#include "archive/file_state.h"

namespace archive {

enum class TWindowColumn {
    SavedAt,
    TestName,
    Marking,
    SampleType,
    Area,
    Fmax,
    Rmax,
    Machine,
    Operator,
    File,
};

inline constexpr int kWindowColumnCount = 10;

QString ColumnHeading(TWindowColumn column);

// The entry's text in the column; the file column's text is its state's (FileStateText).
QString ColumnText(const TArchiveEntry& entry, TWindowColumn column);

// Numbers are right-aligned.
bool IsNumberColumn(TWindowColumn column);

// The file column sorts by the file's path: its state is known only for the rows looked at.
TSortColumn SortColumnOf(TWindowColumn column);

// "в порядке", "изменён", "нет файла", "на другом ПК".
QString FileStateText(TFileState state);

// The entry's file, as a check needs it.
TStoredFile StoredFileOf(const TArchiveEntry& entry);

}  // namespace archive
