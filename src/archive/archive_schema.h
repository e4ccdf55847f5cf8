// The archive's tables and their version. A database is brought up to the current version when
// it is opened, one step at a time from the version it has: a new one starts at version 1.
//
// Version 1: archive_schema (version) and archive_tests, one row per archived test file with
// the header's texts and the largest force as texts and in newtons; unique by PC, path and
// contents.
// Version 2: the results as numbers (fmax_kn, area_mm2, rmax), the registration period, whether
// the entry was saved or imported, and the lower-case text that the filter searches; indexes for
// the newest-first listing, the press filter and (SQLite) the text filter.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/archive_connection.h"

namespace archive {

inline constexpr int kSchemaVersion = 2;

// The version of the database's schema: 0 for a database without one, -1 when it cannot be read
// (`error` then says why).
int SchemaVersionOf(QSqlDatabase& db, TEngine engine, QString* error);

// Creates or upgrades the schema in one transaction that only one program at a time runs; a
// program that finds it done by another leaves it. A schema newer than this program knows is
// left alone and reported. Returns an empty text on success, else the reason.
QString PrepareSchema(QSqlDatabase& db, TEngine engine);

}  // namespace archive
