#include "archive/archive.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/archive_schema.h"
#include "archive/archive_search.h"

namespace archive {
namespace {

const char* const kInsertColumns =
    "file_path, file_size, sha256, saved_at, user_account, host_name, operator_name, machine, "
    "ser_num, test_date, test_name, marking, sample_type, area_text, force_scale, sample_count, "
    "period_ms, fmax_n, fmax_kn, area_mm2, rmax, fmax_text, rmax_text, origin, search_text";
constexpr int kInsertColumnCount = 25;

QString OriginWord(TOrigin origin) {
    return origin == TOrigin::Imported ? QStringLiteral("import") : QStringLiteral("save");
}

template <typename T>
QVariant Optional(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

template <typename T>
std::optional<T> OptionalOf(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<T>(value.value<T>());
}

// A text the caller left null is stored empty: the driver would store it as NULL, which the
// columns refuse, and the entry would then never get in.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text);
}

// ":file_path", ":file_size" ...: Qt binds a value by name with one look-up, while binding by
// position formats the position's name for every value.
const QStringList& InsertPlaceholders() {
    static const QStringList names = [] {
        QStringList list;
        for (const QString& column : QString::fromLatin1(kInsertColumns).split(QLatin1Char(','))) {
            list << QLatin1Char(':') + column.trimmed();
        }
        return list;
    }();
    return names;
}

void BindEntry(QSqlQuery& q, const TArchiveEntry& e) {
    const QVariantList values{
        Text(e.filePath),
        e.fileSize,
        Text(e.sha256),
        e.savedAt.toMSecsSinceEpoch(),
        Text(e.userAccount),
        Text(e.hostName),
        Text(e.operatorName),
        Text(e.machine),
        e.serNum,
        Text(e.testDate),
        Text(e.testName),
        Text(e.marking),
        Text(e.sampleType),
        Text(e.areaText),
        e.forceScale,
        e.sampleCount,
        Optional(e.periodMs),
        e.fmaxN,
        e.fmaxKn,
        Optional(e.areaMm2),
        Optional(e.rmax),
        Text(e.fmaxText),
        Text(e.rmaxText),
        OriginWord(e.origin),
        SearchText(e.testName, e.marking, e.sampleType, e.machine, e.operatorName)};
    const QStringList& names = InsertPlaceholders();
    for (int i = 0; i < kInsertColumnCount; ++i) {
        q.bindValue(names[i], values[i]);
    }
}

// The row of kEntryColumns.
TArchiveEntry EntryOf(const QSqlQuery& q) {
    TArchiveEntry e;
    e.id = q.value(0).toLongLong();
    e.filePath = q.value(1).toString();
    e.fileSize = q.value(2).toLongLong();
    e.sha256 = q.value(3).toString();
    e.savedAt = QDateTime::fromMSecsSinceEpoch(q.value(4).toLongLong(), Qt::UTC);
    e.userAccount = q.value(5).toString();
    e.hostName = q.value(6).toString();
    e.operatorName = q.value(7).toString();
    e.machine = q.value(8).toString();
    e.serNum = q.value(9).toInt();
    e.testDate = q.value(10).toString();
    e.testName = q.value(11).toString();
    e.marking = q.value(12).toString();
    e.sampleType = q.value(13).toString();
    e.areaText = q.value(14).toString();
    e.forceScale = q.value(15).toInt();
    e.sampleCount = q.value(16).toInt();
    e.periodMs = OptionalOf<int>(q.value(17));
    e.fmaxN = q.value(18).toInt();
    e.fmaxKn = q.value(19).toDouble();
    e.areaMm2 = OptionalOf<double>(q.value(20));
    e.rmax = OptionalOf<double>(q.value(21));
    e.fmaxText = q.value(22).toString();
    e.rmaxText = q.value(23).toString();
    e.origin =
        q.value(24).toString() == QLatin1String("import") ? TOrigin::Imported : TOrigin::Saved;
    return e;
}

bool Run(QSqlQuery& q, const TStatement& statement) {
    q.setForwardOnly(true);
    if (!q.prepare(statement.sql)) {
        return false;
    }
    for (const QVariant& value : statement.values) {
        q.addBindValue(value);
    }
    return q.exec();
}

}  // namespace

std::unique_ptr<TArchive> TArchive::Open(const TArchiveSettings& settings, QString* error) {
    auto connection = std::make_unique<TConnection>(settings);
    if (!connection->IsOpen()) {
        *error = connection->Error();
        return nullptr;
    }
    if (const QString fault = PrepareSchema(connection->Database(), connection->Engine());
        !fault.isEmpty()) {
        *error = QStringLiteral("%1: схема архива не готова: %2").arg(ArchiveName(settings), fault);
        return nullptr;
    }
    return std::unique_ptr<TArchive>(new TArchive(std::move(connection)));
}

TArchive::TArchive(std::unique_ptr<TConnection> connection) : connection_(std::move(connection)) {}

bool TArchive::Fail(const QString& error) {
    error_ = error.trimmed();
    return false;
}

bool TArchive::Insert(const std::vector<TArchiveEntry>& entries, int* added) {
    return InTransaction([&] { return InsertAll(entries, added); });
}

bool TArchive::InTransaction(const std::function<bool()>& work) {
    QSqlQuery q(connection_->Database());
    // A writer takes the lock at once, rather than when it first writes: two SQLite writers
    // then wait for each other instead of one of them failing.
    const QString begin =
        Engine() == TEngine::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    if (!q.exec(begin)) {
        return Fail(q.lastError().text());
    }
    if (!work()) {
        const QString error = error_;
        q.exec(QStringLiteral("ROLLBACK"));
        return Fail(error);
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QString error = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return Fail(error);
    }
    return true;
}

bool TArchive::InsertAll(const std::vector<TArchiveEntry>& entries, int* added) {
    QSqlQuery q(connection_->Database());
    const QString sql =
        QStringLiteral("INSERT INTO archive_tests (%1) VALUES (%2) ON CONFLICT DO NOTHING")
            .arg(QLatin1String(kInsertColumns), InsertPlaceholders().join(','));
    if (!q.prepare(sql)) {
        return Fail(q.lastError().text());
    }
    int stored = 0;
    for (const TArchiveEntry& entry : entries) {
        BindEntry(q, entry);
        if (!q.exec()) {
            return Fail(q.lastError().text());
        }
        stored += q.numRowsAffected() > 0 ? 1 : 0;
    }
    if (added != nullptr) {
        *added = stored;
    }
    return true;
}

std::optional<std::vector<TArchiveEntry>> TArchive::Find(const TArchiveQuery& query) {
    QSqlQuery q(connection_->Database());
    if (!Run(q, FindStatement(query, Engine()))) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    std::vector<TArchiveEntry> entries;
    while (q.next()) {
        entries.push_back(EntryOf(q));
    }
    return entries;
}

std::optional<qint64> TArchive::Count(const TArchiveQuery& query) {
    QSqlQuery q(connection_->Database());
    if (!Run(q, CountStatement(query, Engine())) || !q.next()) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<QSet<QString>> TArchive::KnownPaths(const QString& hostName) {
    QSqlQuery q(connection_->Database());
    if (!Run(q, {QStringLiteral("SELECT file_path FROM archive_tests WHERE host_name = ?"),
                 {hostName}})) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    QSet<QString> paths;
    while (q.next()) {
        paths.insert(q.value(0).toString());
    }
    return paths;
}

std::optional<std::vector<TStoredFile>> TArchive::Files() {
    QSqlQuery q(connection_->Database());
    if (!Run(q, {QStringLiteral("SELECT id, file_path, file_size, sha256, host_name FROM "
                                "archive_tests ORDER BY saved_at DESC, id DESC"),
                 {}})) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    std::vector<TStoredFile> files;
    while (q.next()) {
        files.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toLongLong(),
                         q.value(3).toString(), q.value(4).toString()});
    }
    return files;
}

std::optional<QStringList> TArchive::Machines() {
    QSqlQuery q(connection_->Database());
    if (!Run(q,
             {QStringLiteral("SELECT DISTINCT machine FROM archive_tests ORDER BY machine"), {}})) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    QStringList machines;
    while (q.next()) {
        machines << q.value(0).toString();
    }
    return machines;
}

bool TArchive::FindEntries(const std::vector<qint64>& ids, std::vector<TArchiveEntry>* entries) {
    QSqlQuery q(connection_->Database());
    const QString sql = QStringLiteral("SELECT %1 FROM archive_tests WHERE id = ?")
                            .arg(QLatin1String(kEntryColumns));
    entries->clear();
    for (const qint64 id : ids) {
        if (!Run(q, {sql, {id}})) {
            return Fail(q.lastError().text());
        }
        if (!q.next()) {
            return Fail(QStringLiteral("в архиве нет испытания № %1").arg(id));
        }
        entries->push_back(EntryOf(q));
    }
    return true;
}

bool TArchive::FindEntryOfFile(const QString& path, const QString& hostName,
                               std::optional<TArchiveEntry>* entry) {
    QSqlQuery q(connection_->Database());
    const QString sql = QStringLiteral(
                            "SELECT %1 FROM archive_tests WHERE file_path = ? AND host_name = ? "
                            "ORDER BY saved_at DESC, id DESC")
                            .arg(QLatin1String(kEntryColumns));
    if (!Run(q, {sql, {path, hostName}})) {
        return Fail(q.lastError().text());
    }
    entry->reset();
    if (q.next()) {
        *entry = EntryOf(q);
    }
    return true;
}

bool TArchive::DeferDiskSyncs() {
    QSqlQuery q(connection_->Database());
    const QString sql = Engine() == TEngine::Sqlite
                            ? QStringLiteral("PRAGMA synchronous = NORMAL")
                            : QStringLiteral("SET synchronous_commit = off");
    return q.exec(sql) || Fail(q.lastError().text());
}

}  // namespace archive
