#include "archive/window_rows.h"

#include <QBrush>
#include <QDir>
#include <algorithm>
#include <cstdlib>

#include "archive/window_columns.h"

namespace archive {

TArchiveRows::TArchiveRows(TArchiveReader& reader, TFileWork& files, QObject* parent)
    : QAbstractTableModel(parent), reader_(reader), files_(files) {
    askTimer_.setSingleShot(true);
    askTimer_.setInterval(0);
    askTimer_.callOnTimeout(this, &TArchiveRows::SendWanted);
    // The rows of one paint are checked as one batch.
    checkTimer_.setSingleShot(true);
    checkTimer_.setInterval(0);
    checkTimer_.callOnTimeout(this, [this] {
        files_.Check(toCheck_);
        toCheck_.clear();
    });
    connect(&reader_, &TArchiveReader::Loaded, this, &TArchiveRows::OnLoaded);
    connect(&files_, &TFileWork::Checked, this, &TArchiveRows::OnChecked);
    connect(&files_, &TFileWork::Dropped, this, &TArchiveRows::OnDropped);
}

int TArchiveRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(count_);
}

int TArchiveRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kWindowColumnCount;
}

QVariant TArchiveRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kWindowColumnCount) {
        return {};
    }
    return ColumnHeading(TWindowColumn(section));
}

QVariant TArchiveRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_) {
        return {};
    }
    const auto column = TWindowColumn(index.column());
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsNumberColumn(column) ? Qt::AlignRight : Qt::AlignLeft));
    }
    const TArchiveEntry* entry = EntryAt(index.row());
    if (entry == nullptr) {
        if (role == Qt::DisplayRole) {
            Want(index.row() / kPageSize);
        }
        return {};
    }
    if (column == TWindowColumn::File) {
        return FileData(*entry, role);
    }
    return role == Qt::DisplayRole ? QVariant(ColumnText(*entry, column)) : QVariant();
}

QVariant TArchiveRows::FileData(const TArchiveEntry& entry, int role) const {
    const auto check = checks_.constFind(entry.id);
    if (check == checks_.cend()) {
        if (role == Qt::DisplayRole) {
            AskCheck(entry);
            return QStringLiteral("…");
        }
        return role == Qt::ToolTipRole ? QVariant(QDir::toNativeSeparators(entry.filePath))
                                       : QVariant();
    }
    switch (role) {
        case Qt::DisplayRole:
            return FileStateText(check->state);
        case Qt::ToolTipRole:
            return check->reason.isEmpty()
                       ? QDir::toNativeSeparators(entry.filePath)
                       : QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(entry.filePath),
                                                      check->reason);
        case Qt::ForegroundRole:
            if (check->state == TFileState::Changed || check->state == TFileState::Missing) {
                return QBrush(Qt::red);
            }
            return check->state == TFileState::Elsewhere ? QVariant(QBrush(Qt::darkGray))
                                                         : QVariant();
        default:
            return {};
    }
}

void TArchiveRows::AskCheck(const TArchiveEntry& entry) const {
    if (checking_.contains(entry.id)) {
        return;
    }
    checking_.insert(entry.id);
    toCheck_.push_back(StoredFileOf(entry));
    checkTimer_.start();
}

void TArchiveRows::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kWindowColumnCount) {
        return;
    }
    query_.sort = SortColumnOf(TWindowColumn(column));
    query_.descending = order == Qt::DescendingOrder;
    ++generation_;
    Send(TKind::Listing, {0});
}

void TArchiveRows::SetFilter(const TArchiveQuery& filter) {
    query_.text = filter.text;
    query_.from = filter.from;
    query_.before = filter.before;
    query_.machine = filter.machine;
    ++generation_;
    Send(TKind::Listing, {0});
}

void TArchiveRows::Refresh() {
    if (!sent_.empty()) {
        refreshDue_ = true;
        return;
    }
    if (!listed_) {
        Send(TKind::Listing, {0});
        return;
    }
    std::vector<int> held;
    for (const auto& [page, rows] : pages_) {
        held.push_back(page);
    }
    Send(TKind::Refresh, held.empty() ? std::vector<int>{0} : held);
}

void TArchiveRows::Send(TKind kind, std::vector<int> pages) {
    TPageRequest request;
    request.generation = generation_;
    request.query = query_;
    request.pageSize = kPageSize;
    request.pages = std::move(pages);
    request.counted = kind != TKind::Pages;
    if (kind == TKind::Pages) {
        requested_.unite(QSet<int>(request.pages.begin(), request.pages.end()));
    } else {
        refreshDue_ = false;
    }
    sent_.push_back(kind);
    reader_.Load(request);
}

void TArchiveRows::Want(int page) const {
    if (requested_.contains(page) ||
        std::find(wanted_.begin(), wanted_.end(), page) != wanted_.end()) {
        return;
    }
    wanted_.push_back(page);
    if (wanted_.size() > size_t(kWantedPages)) {
        wanted_.erase(wanted_.begin());
    }
    askTimer_.start();
}

void TArchiveRows::SendWanted() {
    if (!sent_.empty() || wanted_.empty()) {
        return;
    }
    std::vector<int> pages;
    pages.swap(wanted_);
    Send(TKind::Pages, std::move(pages));
}

void TArchiveRows::OnLoaded(const TPageAnswer& answer) {
    const TKind kind = sent_.front();
    sent_.pop_front();
    if (answer.generation == generation_) {
        if (!answer.error.isEmpty()) {
            error_ = answer.error;
            requested_.clear();
            emit CountsChanged();
        } else if (kind == TKind::Listing) {
            TakeListing(answer);
        } else if (kind == TKind::Refresh) {
            TakeRefresh(answer);
        } else {
            TakePages(answer);
        }
    }
    if (!sent_.empty()) {
        return;
    }
    if (refreshDue_) {
        Refresh();
    } else {
        SendWanted();
    }
}

void TArchiveRows::Store(const TPageAnswer& answer) {
    for (const auto& [page, rows] : answer.pages) {
        rowsFetched_ += qint64(rows.size());
        pages_[page] = rows;
        requested_.remove(page);
    }
}

void TArchiveRows::TakeListing(const TPageAnswer& answer) {
    beginResetModel();
    count_ = *answer.count;
    total_ = *answer.total;
    pages_.clear();
    requested_.clear();
    wanted_.clear();
    Store(answer);
    listed_ = true;
    error_.clear();
    endResetModel();
    emit CountsChanged();
    emit RowsArrived();
}

void TArchiveRows::TakeRefresh(const TPageAnswer& answer) {
    // Entries are never taken out of the archive, so rows come in; where they go in the order
    // is told by the layout change below, which also moves the selection along with its entry.
    const qint64 count = *answer.count;
    if (count > count_) {
        beginInsertRows({}, int(count_), int(count - 1));
        count_ = count;
        endInsertRows();
    } else if (count < count_) {
        beginRemoveRows({}, int(count), int(count_ - 1));
        count_ = count;
        endRemoveRows();
    }
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<qint64> ids;
    for (const QModelIndex& index : before) {
        const TArchiveEntry* entry = EntryAt(index.row());
        ids.push_back(entry != nullptr ? entry->id : 0);
    }
    pages_.clear();
    requested_.clear();
    Store(answer);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = ids[size_t(i)] != 0 ? RowOf(ids[size_t(i)]) : -1;
        after << (row >= 0 ? index(row, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
    total_ = *answer.total;
    error_.clear();
    emit CountsChanged();
    emit RowsArrived();
}

void TArchiveRows::TakePages(const TPageAnswer& answer) {
    Store(answer);
    for (const auto& [page, rows] : answer.pages) {
        if (!rows.empty()) {
            const int first = page * kPageSize;
            emit dataChanged(index(first, 0),
                             index(first + int(rows.size()) - 1, kWindowColumnCount - 1));
        }
    }
    if (!answer.pages.empty()) {
        TrimAround(answer.pages.back().first);
    }
    if (!error_.isEmpty()) {
        error_.clear();
        emit CountsChanged();
    }
    emit RowsArrived();
}

// The pages farthest from the one the view went to last are let go first.
void TArchiveRows::TrimAround(int page) {
    while (pages_.size() > size_t(kCachedPages)) {
        const auto first = pages_.begin();
        const auto last = std::prev(pages_.end());
        pages_.erase(std::abs(first->first - page) > std::abs(last->first - page) ? first : last);
    }
}

const TArchiveEntry* TArchiveRows::EntryAt(int row) const {
    if (row < 0 || row >= count_) {
        return nullptr;
    }
    const auto page = pages_.find(row / kPageSize);
    if (page == pages_.end() || size_t(row % kPageSize) >= page->second.size()) {
        return nullptr;
    }
    return &page->second[size_t(row % kPageSize)];
}

std::optional<TFileCheck> TArchiveRows::FileCheckOf(qint64 id) const {
    const auto check = checks_.constFind(id);
    return check == checks_.cend() ? std::nullopt : std::optional<TFileCheck>(*check);
}

int TArchiveRows::RowOf(qint64 id) const {
    for (const auto& [page, rows] : pages_) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].id == id) {
                return page * kPageSize + int(i);
            }
        }
    }
    return -1;
}

void TArchiveRows::EntryChanged(qint64 id) {
    const int row = RowOf(id);
    if (row >= 0) {
        const QModelIndex file = index(row, int(TWindowColumn::File));
        emit dataChanged(file, file);
    }
}

void TArchiveRows::OnChecked(qint64 id, const TFileCheck& check) {
    checks_.insert(id, check);
    checking_.remove(id);
    EntryChanged(id);
}

void TArchiveRows::OnDropped(const QList<qint64>& ids) {
    for (const qint64 id : ids) {
        checking_.remove(id);
        EntryChanged(id);
    }
}

}  // namespace archive
