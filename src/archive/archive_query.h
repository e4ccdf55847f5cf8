// What the archive is asked for: a filter over the texts, a span of save times, a press, an
// order and a page; and the SQL statements that answer it, the same on every database engine.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include "archive/archive_connection.h"

namespace archive {

// The columns a listing can be sorted by.
enum class TSortColumn {
    SavedAt,
    TestName,
    Marking,
    SampleType,
    Area,
    Fmax,
    Rmax,
    Machine,
    Operator,
    FilePath,
};

struct TArchiveQuery {
    QString text;      // found in the test name, marking, type, press or operator, in any case
    QDateTime from;    // saved at or after, when valid
    QDateTime before;  // saved before, when valid
    QString machine;   // saved on this press (MACHINE), when not empty
    TSortColumn sort = TSortColumn::SavedAt;
    bool descending = true;  // the newest first
    int limit = -1;          // at most this many entries; -1: all
    int offset = 0;          // after skipping this many
};

struct TStatement {
    QString sql;
    QVariantList values;  // for its "?" in order
};

// Every column of an entry, in the order the store reads them.
extern const char* const kEntryColumns;

// The entries of the query, in its order (the newer entry first among equals).
TStatement FindStatement(const TArchiveQuery& query, TEngine engine);
// How many entries the query's filter finds, whatever its page.
TStatement CountStatement(const TArchiveQuery& query, TEngine engine);

}  // namespace archive
