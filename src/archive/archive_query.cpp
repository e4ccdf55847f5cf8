#include "archive/archive_query.h"

#include "archive/archive_search.h"

namespace archive {

const char* const kEntryColumns =
    "id, file_path, file_size, sha256, saved_at, user_account, host_name, operator_name, "
    "machine, ser_num, test_date, test_name, marking, sample_type, area_text, force_scale, "
    "sample_count, period_ms, fmax_n, fmax_kn, area_mm2, rmax, fmax_text, rmax_text, origin";

namespace {

QString ColumnOf(TSortColumn column) {
    switch (column) {
        case TSortColumn::TestName:
            return QStringLiteral("test_name");
        case TSortColumn::Marking:
            return QStringLiteral("marking");
        case TSortColumn::SampleType:
            return QStringLiteral("sample_type");
        case TSortColumn::Area:
            return QStringLiteral("area_mm2");
        case TSortColumn::Fmax:
            return QStringLiteral("fmax_kn");
        case TSortColumn::Rmax:
            return QStringLiteral("rmax");
        case TSortColumn::Machine:
            return QStringLiteral("machine");
        case TSortColumn::Operator:
            return QStringLiteral("operator_name");
        case TSortColumn::FilePath:
            return QStringLiteral("file_path");
        case TSortColumn::SavedAt:
            break;
    }
    return QStringLiteral("saved_at");
}

TStatement Where(const TArchiveQuery& query, TEngine engine) {
    TStatement where;
    QStringList conditions;
    if (!query.text.isEmpty()) {
        // A plain substring search: the text is in lower case on both sides already. SQLite
        // reads the search texts from their own index, far narrower than the table's rows.
        conditions << (engine == TEngine::Sqlite
                           ? QStringLiteral("id IN (SELECT id FROM archive_tests WHERE "
                                            "instr(search_text, ?) > 0)")
                           : QStringLiteral("strpos(search_text, ?) > 0"));
        where.values << SearchNeedle(query.text);
    }
    if (query.from.isValid()) {
        conditions << QStringLiteral("saved_at >= ?");
        where.values << query.from.toMSecsSinceEpoch();
    }
    if (query.before.isValid()) {
        conditions << QStringLiteral("saved_at < ?");
        where.values << query.before.toMSecsSinceEpoch();
    }
    if (!query.machine.isEmpty()) {
        conditions << QStringLiteral("machine = ?");
        where.values << query.machine;
    }
    if (!conditions.isEmpty()) {
        where.sql = QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    }
    return where;
}

}  // namespace

TStatement FindStatement(const TArchiveQuery& query, TEngine engine) {
    TStatement find = Where(query, engine);
    const QString direction = query.descending ? QStringLiteral("DESC") : QStringLiteral("ASC");
    const QString column = ColumnOf(query.sort);
    // Entries without the number (no area, no strength) come last either way, as the engines
    // would put them at different ends.
    const bool nullable = query.sort == TSortColumn::Area || query.sort == TSortColumn::Rmax;
    const QString order =
        nullable ? QStringLiteral("%1 IS NULL, %1 %2, id %2") : QStringLiteral("%1 %2, id %2");
    find.sql = QStringLiteral("SELECT %1 FROM archive_tests%2 ORDER BY %3")
                   .arg(QLatin1String(kEntryColumns), find.sql, order.arg(column, direction));
    if (query.limit >= 0) {
        find.sql += QStringLiteral(" LIMIT ? OFFSET ?");
        find.values << query.limit << query.offset;
    }
    return find;
}

TStatement CountStatement(const TArchiveQuery& query, TEngine engine) {
    TStatement count = Where(query, engine);
    count.sql = QStringLiteral("SELECT COUNT(*) FROM archive_tests") + count.sql;
    return count;
}

}  // namespace archive
