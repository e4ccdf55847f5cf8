// The archive of saved tests, through one connection of the calling thread's own: entries go in
// without ever being duplicated (the same file of the same PC with the same contents is one
// entry, whoever writes it and however often), and come out filtered, sorted and counted.
#pragma once

#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "archive/archive_connection.h"
#include "archive/archive_entry.h"
#include "archive/archive_query.h"
#include "archive/archive_settings.h"

namespace archive {

// What verification needs of an entry.
struct TStoredFile {
    qint64 id = 0;
    QString path;
    qint64 size = 0;
    QString sha256;
    QString hostName;
};

class TArchive {
  public:
    // Opens the archive of `settings` and brings its schema up to date; nullptr when it cannot
    // be reached or prepared, with the reason in `error`.
    static std::unique_ptr<TArchive> Open(const TArchiveSettings& settings, QString* error);

    TArchive(const TArchive&) = delete;
    TArchive& operator=(const TArchive&) = delete;

    // Stores the entries in one transaction: all of them or, on failure, none. An entry the
    // archive holds already stays as it is. `added` receives how many were new.
    bool Insert(const std::vector<TArchiveEntry>& entries, int* added = nullptr);

    std::optional<std::vector<TArchiveEntry>> Find(const TArchiveQuery& query);
    std::optional<qint64> Count(const TArchiveQuery& query);

    // The paths of the files archived from the PC `hostName`.
    std::optional<QSet<QString>> KnownPaths(const QString& hostName);

    // Every entry's file, the newest first.
    std::optional<std::vector<TStoredFile>> Files();

    // The presses named in the archive, in order.
    std::optional<QStringList> Machines();

    // From now on a commit does not wait for the disk: a power loss may take the last entries
    // stored, never the database. For an import, which finds what is missing when run again;
    // a recorder's entries keep waiting for the disk.
    bool DeferDiskSyncs();

    // Why the last call failed.
    const QString& Error() const { return error_; }
    TEngine Engine() const { return connection_->Engine(); }

  private:
    explicit TArchive(std::unique_ptr<TConnection> connection);

    bool Fail(const QString& error);
    bool InsertAll(const std::vector<TArchiveEntry>& entries, int* added);

    std::unique_ptr<TConnection> connection_;
    QString error_;
};

}  // namespace archive
