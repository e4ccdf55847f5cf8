// The archive's store on the engine of this test program: entries kept once, given back as
// stored, found by their texts, dates and press, sorted and paged; schemas upgraded.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive.h"
#include "archive/archive_schema.h"
#include "archive_engine.h"
#include "archive_test_support.h"

namespace {

using archive::TArchiveEntry;
using archive::TArchiveQuery;
using archive::TSortColumn;

class ArchiveStore : public ArchiveOnEngine {
  protected:
    std::unique_ptr<archive::TArchive> Filled(const std::vector<TArchiveEntry>& entries) {
        auto opened = OpenOrFail(settings_);
        if (opened) {
            EXPECT_TRUE(opened->Insert(entries)) << opened->Error().toStdString();
        }
        return opened;
    }

    // The test names of what the query finds, in its order; its count must agree.
    static QStringList NamesFound(archive::TArchive& store, const TArchiveQuery& query) {
        const auto found = store.Find(query);
        EXPECT_TRUE(found) << store.Error().toStdString();
        QStringList names;
        for (const TArchiveEntry& entry : found.value_or(std::vector<TArchiveEntry>{})) {
            names << entry.testName;
        }
        TArchiveQuery all = query;
        all.limit = -1;
        all.offset = 0;
        if (query.limit < 0) {
            EXPECT_EQ(store.Count(all), names.size());
        }
        return names;
    }

    void Exec(archive::TConnection& connection, const QString& sql) {
        QSqlQuery query(connection.Database());
        ASSERT_TRUE(query.exec(sql))
            << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }
};

TEST_F(ArchiveStore, AnEntryIsStoredOnceHoweverOftenItComes) {
    const auto store = Filled({});
    ASSERT_TRUE(store);
    int added = -1;
    ASSERT_TRUE(store->Insert({SampleEntry(1), SampleEntry(2), SampleEntry(1)}, &added));
    EXPECT_EQ(added, 2);
    ASSERT_TRUE(store->Insert({SampleEntry(2)}, &added));
    EXPECT_EQ(added, 0);
    // The same file saved anew over the old one holds another test: a new entry.
    TArchiveEntry savedAgain = SampleEntry(1);
    savedAgain.sha256 = QString(32, '9') + QString(32, '8');
    ASSERT_TRUE(store->Insert({savedAgain}, &added));
    EXPECT_EQ(added, 1);
    EXPECT_EQ(store->Count({}), 3);
}

TEST_F(ArchiveStore, EntriesComeBackAsStored) {
    TArchiveEntry full = SampleEntry(1);
    TArchiveEntry sparse = SampleEntry(2);
    sparse.periodMs.reset();
    sparse.areaMm2.reset();
    sparse.rmax.reset();
    sparse.rmaxText = QStringLiteral("-");
    sparse.areaText = QStringLiteral("abc");
    sparse.origin = archive::TOrigin::Imported;
    sparse.testName = QStringLiteral("Ёжик «в» тумане\\");
    sparse.operatorName = QString();  // a window that knew no operator
    const auto store = Filled({full, sparse});
    ASSERT_TRUE(store);
    const auto found = store->Find({});
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 2u);
    EXPECT_GT((*found)[0].id, 0);
    sparse.id = (*found)[0].id;
    full.id = (*found)[1].id;
    EXPECT_EQ((*found)[0], sparse);
    EXPECT_EQ((*found)[1], full);
}

TEST_F(ArchiveStore, TheFilterFindsATextInAnyOfItsFieldsInAnyCase) {
    std::vector<TArchiveEntry> entries;
    for (int n = 1; n <= 7; ++n) {
        TArchiveEntry e = SampleEntry(n);
        e.testName = QStringLiteral("t%1").arg(n);
        e.marking = e.sampleType = e.machine = e.operatorName = QStringLiteral("x");
        entries.push_back(e);
    }
    entries[0].testName = QStringLiteral("t1 Бетон B25");
    entries[1].marking = QStringLiteral("КУБ-7");
    entries[2].sampleType = QStringLiteral("цилиндр");
    entries[3].machine = QStringLiteral("ПГМ-500");
    entries[4].operatorName = QStringLiteral("Сидоров");
    entries[5].testName = QStringLiteral("t6 100% влажность");
    entries[6].testName = QStringLiteral("t7 a_b");
    const auto store = Filled(entries);
    ASSERT_TRUE(store);

    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("бЕтОн"), {QStringLiteral("t1 Бетон B25")}},
        {QStringLiteral("куб-7"), {QStringLiteral("t2")}},
        {QStringLiteral("ЦИЛИНДР"), {QStringLiteral("t3")}},
        {QStringLiteral("пгм"), {QStringLiteral("t4")}},
        {QStringLiteral("сидор"), {QStringLiteral("t5")}},
        {QStringLiteral("0%"), {QStringLiteral("t6 100% влажность")}},
        {QStringLiteral("_"), {QStringLiteral("t7 a_b")}},
        {QStringLiteral("B25x"), {}},  // the end of one field and the start of the next
        {QStringLiteral("нет такого"), {}},
    };
    for (const auto& [text, expected] : cases) {
        TArchiveQuery query;
        query.text = text;
        EXPECT_EQ(NamesFound(*store, query), expected) << text.toStdString();
    }
    EXPECT_EQ(NamesFound(*store, {}).size(), 7);
}

TEST_F(ArchiveStore, ListingsAreNewestFirstAndSortFilterAndPage) {
    std::vector<TArchiveEntry> entries;
    for (int n = 1; n <= 6; ++n) {
        TArchiveEntry e = SampleEntry(n);
        e.testName = QString::number(n);
        e.machine = n % 2 == 0 ? QStringLiteral("П-50") : QStringLiteral("П-125");
        entries.push_back(e);
    }
    entries[2].areaMm2.reset();
    entries[2].rmax.reset();
    const auto store = Filled(entries);
    ASSERT_TRUE(store);
    const auto list = [](const char* names) { return QString::fromLatin1(names).split(' '); };

    EXPECT_EQ(NamesFound(*store, {}), list("6 5 4 3 2 1"));
    TArchiveQuery span;
    span.from = SampleEntry(2).savedAt;
    span.before = SampleEntry(5).savedAt;
    EXPECT_EQ(NamesFound(*store, span), list("4 3 2"));
    TArchiveQuery press;
    press.machine = QStringLiteral("П-50");
    EXPECT_EQ(NamesFound(*store, press), list("6 4 2"));
    TArchiveQuery strength;
    strength.sort = TSortColumn::Rmax;
    strength.descending = false;
    EXPECT_EQ(NamesFound(*store, strength), list("1 2 4 5 6 3"));  // none last
    strength.descending = true;
    EXPECT_EQ(NamesFound(*store, strength), list("6 5 4 2 1 3"));
    TArchiveQuery page;
    page.limit = 2;
    page.offset = 1;
    EXPECT_EQ(NamesFound(*store, page), list("5 4"));
    EXPECT_EQ(store->Count(page), 6);
}

TEST_F(ArchiveStore, AFirstVersionArchiveIsUpgradedWithItsEntries) {
    {
        archive::TConnection old(settings_);
        ASSERT_TRUE(old.IsOpen()) << old.Error().toStdString();
        // The schema as the first version of the program made it.
        const QString id = old.Engine() == archive::TEngine::Sqlite
                               ? QStringLiteral("id INTEGER PRIMARY KEY")
                               : QStringLiteral(
                                     "id BIGINT GENERATED BY DEFAULT AS IDENTITY "
                                     "PRIMARY KEY");
        Exec(old, QStringLiteral("CREATE TABLE archive_schema (version INTEGER NOT NULL)"));
        Exec(old, QStringLiteral("INSERT INTO archive_schema (version) VALUES (1)"));
        Exec(old, QStringLiteral(
                      "CREATE TABLE archive_tests (%1, file_path TEXT NOT NULL, file_size BIGINT "
                      "NOT NULL, sha256 TEXT NOT NULL, saved_at BIGINT NOT NULL, user_account "
                      "TEXT NOT NULL, host_name TEXT NOT NULL, operator_name TEXT NOT NULL, "
                      "machine TEXT NOT NULL, ser_num INTEGER NOT NULL, test_date TEXT NOT NULL, "
                      "test_name TEXT NOT NULL, marking TEXT NOT NULL, sample_type TEXT NOT NULL, "
                      "area_text TEXT NOT NULL, force_scale INTEGER NOT NULL, sample_count "
                      "INTEGER NOT NULL, fmax_n INTEGER NOT NULL, fmax_text TEXT NOT NULL, "
                      "rmax_text TEXT NOT NULL, UNIQUE (host_name, file_path, sha256))")
                      .arg(id));
        for (const char* row :
             {"'/lab/a.ktd', 144, '%1', 1000, 'op', 'pc', 'Иванов', 'П-125', 17, "
              "'14.03.2026', 'Бетон B25', 'М-1', 'куб', '100', 100, 3, 2500, '2.500   ', "
              "'25.000  '",
              "'/lab/b.ktd', 144, '%1', 2000, 'op', 'pc', 'Иванов', 'П-125', 17, "
              "'14.03.2026', 'Чужой', 'М-2', 'куб', 'abc', 100, 3, 1800, '1.800   ', '-'"}) {
            Exec(old, QStringLiteral("INSERT INTO archive_tests (file_path, file_size, sha256, "
                                     "saved_at, user_account, host_name, operator_name, machine, "
                                     "ser_num, test_date, test_name, marking, sample_type, "
                                     "area_text, force_scale, sample_count, fmax_n, fmax_text, "
                                     "rmax_text) VALUES (%1)")
                          .arg(QString::fromUtf8(row).arg(QString(64, 'a'))));
        }
    }
    const auto store = OpenOrFail(settings_);
    ASSERT_TRUE(store);
    TArchiveQuery concrete;
    concrete.text = QStringLiteral("БЕТОН");
    const auto found = store->Find(concrete);
    ASSERT_TRUE(found && found->size() == 1u);
    const TArchiveEntry& upgraded = found->front();
    EXPECT_EQ(upgraded.filePath, QStringLiteral("/lab/a.ktd"));
    EXPECT_DOUBLE_EQ(upgraded.fmaxKn, 2.5);
    EXPECT_EQ(upgraded.areaMm2, 100.0);
    EXPECT_EQ(upgraded.rmax, 25.0);
    EXPECT_EQ(upgraded.periodMs, std::nullopt);
    EXPECT_EQ(upgraded.origin, archive::TOrigin::Saved);
    TArchiveQuery foreign;
    foreign.text = QStringLiteral("чужой");
    const auto other = store->Find(foreign);
    ASSERT_TRUE(other && other->size() == 1u);
    EXPECT_EQ(other->front().areaMm2, std::nullopt);
    EXPECT_EQ(other->front().rmax, std::nullopt);
    EXPECT_TRUE(store->Insert({SampleEntry(1)}));
    EXPECT_EQ(store->Count({}), 3);

    archive::TConnection check(settings_);
    QString error;
    EXPECT_EQ(archive::SchemaVersionOf(check.Database(), check.Engine(), &error),
              archive::kSchemaVersion);
}

TEST_F(ArchiveStore, AnArchiveOfANewerVersionIsLeftAlone) {
    ASSERT_TRUE(Filled({SampleEntry(1)}));
    {
        archive::TConnection newer(settings_);
        Exec(newer, QStringLiteral("UPDATE archive_schema SET version = 3"));
    }
    QString error;
    EXPECT_FALSE(archive::TArchive::Open(settings_, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("схема 3"))) << error.toStdString();
    archive::TConnection check(settings_);
    EXPECT_EQ(archive::SchemaVersionOf(check.Database(), check.Engine(), &error), 3);
}

}  // namespace
