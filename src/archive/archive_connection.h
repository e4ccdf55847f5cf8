// A connection to the archive's database through Qt SQL, owned by the thread that opened it:
// Qt's connections may only be used in their own thread, so every thread opens its own, under a
// name of its own.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/archive_settings.h"

namespace archive {

enum class TEngine { Sqlite, Postgres };

class TConnection {
  public:
    // Opens the database of `settings` in the calling thread. The embedded database's file is
    // created when missing, writable for those who share the program's folder; a link or any
    // other name than a regular file there is refused.
    explicit TConnection(const TArchiveSettings& settings);
    ~TConnection();
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    bool IsOpen() const { return error_.isEmpty(); }
    const QString& Error() const { return error_; }  // why it could not be opened
    TEngine Engine() const { return engine_; }
    QSqlDatabase& Database() { return db_; }

  private:
    QString OpenSqlite(const TArchiveSettings& settings);
    QString OpenPostgres(const TArchiveSettings& settings);

    QString name_;
    TEngine engine_;
    QSqlDatabase db_;
    QString error_;
};

}  // namespace archive
