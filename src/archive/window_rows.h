// The rows of the archive window's table: every entry the filter finds, in the chosen order,
// read a page at a time as the view shows them, so that an archive of any size costs the window
// only the pages looked at. The count comes first; a row whose page has not come yet shows
// empty until it does. The file column shows the file's state, checked on the file thread for
// the rows shown and kept per entry. When the archive's contents change, the count and the pages
// held are read again and the selection stays with its entry.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QTimer>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "archive/file_state.h"
#include "archive/window_files.h"
#include "archive/window_reader.h"

namespace archive {

class TArchiveRows : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kPageSize = 100;
    static constexpr int kCachedPages = 20;
    // Pages the view asked for while a request was under way; older ones are given up (the
    // view has scrolled past them) and asked for again when shown again.
    static constexpr int kWantedPages = 4;

    TArchiveRows(TArchiveReader& reader, TFileWork& files, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The filter (text, dates, press) of a new listing in the present order.
    void SetFilter(const TArchiveQuery& filter);
    // The archive's contents changed (or it can be read again): count and pages are read anew.
    void Refresh();

    // The row's entry, when its page is here.
    const TArchiveEntry* EntryAt(int row) const;
    std::optional<TFileCheck> FileCheckOf(qint64 id) const;

    bool Listed() const { return listed_; }  // the first listing of the present filter came
    qint64 Count() const { return count_; }  // what the filter finds
    qint64 Total() const { return total_; }  // the whole archive
    const QString& Error() const { return error_; }
    // Entries read from the archive so far.
    qint64 RowsFetched() const { return rowsFetched_; }

  signals:
    // The counts or the error changed.
    void CountsChanged();
    // Pages came: rows that were empty may show their entries now.
    void RowsArrived();

  private:
    enum class TKind { Listing, Refresh, Pages };

    void Send(TKind kind, std::vector<int> pages);
    void SendWanted();
    void OnLoaded(const TPageAnswer& answer);
    void TakeListing(const TPageAnswer& answer);
    void TakeRefresh(const TPageAnswer& answer);
    void TakePages(const TPageAnswer& answer);
    void Store(const TPageAnswer& answer);
    void TrimAround(int page);
    void Want(int page) const;
    QVariant FileData(const TArchiveEntry& entry, int role) const;
    void AskCheck(const TArchiveEntry& entry) const;
    void OnChecked(qint64 id, const TFileCheck& check);
    void OnDropped(const QList<qint64>& ids);
    int RowOf(qint64 id) const;
    void EntryChanged(qint64 id);

    TArchiveReader& reader_;
    TFileWork& files_;
    TArchiveQuery query_;
    quint64 generation_ = 0;  // of query_; answers of another are stale
    std::deque<TKind> sent_;  // the requests under way, the oldest first
    bool refreshDue_ = false;
    bool listed_ = false;
    qint64 count_ = 0;
    qint64 total_ = 0;
    QString error_;
    qint64 rowsFetched_ = 0;
    std::map<int, std::vector<TArchiveEntry>> pages_;

    // Asked for by data(), which the view calls while painting.
    mutable std::vector<int> wanted_;  // the latest at the back
    mutable QSet<int> requested_;      // on their way
    mutable QTimer askTimer_;
    QHash<qint64, TFileCheck> checks_;
    mutable QSet<qint64> checking_;
    mutable std::vector<TStoredFile> toCheck_;
    mutable QTimer checkTimer_;
};

}  // namespace archive
