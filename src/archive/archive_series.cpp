// The series the archive keeps: made or replaced as a whole, read back as they were made.
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/archive.h"

namespace archive {
namespace {

bool Exec(QSqlQuery& q, const QString& sql, const QVariantList& values) {
    if (!q.prepare(sql)) {
        return false;
    }
    for (const QVariant& value : values) {
        q.addBindValue(value);
    }
    return q.exec();
}

// A text column is never NULL: an empty text goes in as one.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text);
}

}  // namespace

bool TArchive::SaveSeries(const TStoredSeries& series) {
    return InTransaction([&] { return InsertSeries(series); });
}

bool TArchive::InsertSeries(const TStoredSeries& series) {
    QSqlQuery q(connection_->Database());
    const QString ofName = QStringLiteral("(SELECT id FROM archive_series WHERE name = ?)");
    const bool made =
        Exec(q, QStringLiteral("DELETE FROM archive_series_members WHERE series_id = ") + ofName,
             {series.name}) &&
        Exec(q, QStringLiteral("DELETE FROM archive_series WHERE name = ?"), {series.name}) &&
        Exec(q,
             QStringLiteral("INSERT INTO archive_series (name, rule_kind, rule_k, made_at, "
                            "user_account, host_name, operator_name, machine) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {series.name, series.ruleKind, series.ruleK, series.madeAt.toMSecsSinceEpoch(),
              Text(series.userAccount), Text(series.hostName), Text(series.operatorName),
              Text(series.machine)});
    if (!made) {
        return Fail(q.lastError().text());
    }
    const QString member = QStringLiteral(
                               "INSERT INTO archive_series_members (series_id, position, test_id, "
                               "excluded, reason) VALUES (%1, ?, ?, ?, ?)")
                               .arg(ofName);
    for (size_t i = 0; i < series.members.size(); ++i) {
        const TSeriesMember& m = series.members[i];
        if (!Exec(q, member, {series.name, int(i), m.testId, m.excluded ? 1 : 0, Text(m.reason)})) {
            return Fail(q.lastError().text());
        }
    }
    return true;
}

std::optional<QStringList> TArchive::SeriesNames() {
    QSqlQuery q(connection_->Database());
    if (!q.exec(QStringLiteral("SELECT name FROM archive_series ORDER BY name"))) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    QStringList names;
    while (q.next()) {
        names << q.value(0).toString();
    }
    return names;
}

bool TArchive::FindSeries(const QString& name, std::optional<TStoredSeries>* series) {
    QSqlQuery q(connection_->Database());
    series->reset();
    if (!Exec(q,
              QStringLiteral("SELECT id, rule_kind, rule_k, made_at, user_account, host_name, "
                             "operator_name, machine FROM archive_series WHERE name = ?"),
              {name})) {
        return Fail(q.lastError().text());
    }
    if (!q.next()) {
        return true;
    }
    TStoredSeries found{.name = name,
                        .ruleKind = q.value(1).toString(),
                        .ruleK = q.value(2).toInt(),
                        .madeAt = QDateTime::fromMSecsSinceEpoch(q.value(3).toLongLong(), Qt::UTC),
                        .userAccount = q.value(4).toString(),
                        .hostName = q.value(5).toString(),
                        .operatorName = q.value(6).toString(),
                        .machine = q.value(7).toString(),
                        .members = {}};
    const qint64 id = q.value(0).toLongLong();
    if (!Exec(q,
              QStringLiteral("SELECT test_id, excluded, reason FROM archive_series_members "
                             "WHERE series_id = ? ORDER BY position"),
              {id})) {
        return Fail(q.lastError().text());
    }
    while (q.next()) {
        found.members.push_back(
            {q.value(0).toLongLong(), q.value(1).toInt() != 0, q.value(2).toString()});
    }
    *series = std::move(found);
    return true;
}

}  // namespace archive
