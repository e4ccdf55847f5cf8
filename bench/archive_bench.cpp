// The archive's costs beside their floors: filtering 100,000 entries by a text through the
// archive against the same statement run bare through the driver, and importing 10,000 test
// files against reading and hashing the same files alone. The embedded database and the files
// live in temporary folders, on the file system of TMPDIR (or /tmp).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <atomic>
#include <memory>

#include "archive/archive.h"
#include "archive/cli_commands.h"
#include "archive/test_file_batch.h"
#include "archive/test_file_entry.h"
#include "full_archive.h"
#include "measure/specimen_data.h"
#include "platform/program_dir.h"
#include "platform/regular_file.h"
#include "records/test_file.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kSamplesPerFile = full_archive::kSamplesPerTest;
using full_archive::SettingsIn;

archive::TArchiveQuery BrickQuery() {
    archive::TArchiveQuery query;
    query.text = QStringLiteral("кирпич");
    return query;
}

void BM_ArchiveFilter(benchmark::State& bench) {
    archive::TArchive& store = *full_archive::FullArchive().archive;
    size_t found = 0;
    for (auto _ : bench) {
        found = store.Find(BrickQuery())->size();
    }
    if (found != full_archive::kFullArchiveEntries / 100) {
        bench.SkipWithError("the filter found another number of entries");
    }
}
BENCHMARK(BM_ArchiveFilter)->Unit(benchmark::kMillisecond);

// The same statement through the driver alone: every column of every row read, nothing made
// of them.
void BM_ArchiveFilterFloor(benchmark::State& bench) {
    archive::TConnection bare(full_archive::FullArchive().settings);
    const archive::TStatement find = archive::FindStatement(BrickQuery(), bare.Engine());
    for (auto _ : bench) {
        QSqlQuery q(bare.Database());
        q.setForwardOnly(true);
        q.prepare(find.sql);
        for (const QVariant& value : find.values) {
            q.addBindValue(value);
        }
        q.exec();
        const int columns = q.record().count();
        while (q.next()) {
            for (int i = 0; i < columns; ++i) {
                benchmark::DoNotOptimize(q.value(i));
            }
        }
    }
}
BENCHMARK(BM_ArchiveFilterFloor)->Unit(benchmark::kMillisecond);

// 10,000 tests of 300 samples each, in folders of 500, each file different.
struct TTestFolder {
    TTestFolder() {
        const QString first = folder.filePath(QStringLiteral("first.ktd"));
        auto store = std::make_unique<TSampleStore>();
        for (int i = 0; i < kSamplesPerFile; ++i) {
            store->ForceN[i] = 1000 * i;
            store->TimeMs[i] = 100 * i;
        }
        store->Count = kSamplesPerFile;
        records::SaveTestFile(
            first,
            FillForSave(QDate(2026, 3, 14), QStringLiteral("Бетон"), QStringLiteral("М-1"),
                        QStringLiteral("куб"), QStringLiteral("10000"), kSamplesPerFile, 1000),
            *store);
        QFile file(first);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        for (int n = 0; n < kFiles; ++n) {
            const QString dir = folder.filePath(QStringLiteral("DBCustom/%1").arg(n / 500));
            QDir().mkpath(dir);
            bytes.replace(120, 4, reinterpret_cast<const char*>(&n), 4);
            const QString path = QDir(dir).filePath(QStringLiteral("test-%1.ktd").arg(n));
            QFile out(path);
            out.open(QIODevice::WriteOnly);
            out.write(bytes);
            paths << path;
        }
        QFile::remove(first);
    }
    QTemporaryDir folder;
    QStringList paths;
};

TTestFolder& Tests() {
    static TTestFolder tests;
    return tests;
}

// The import's own database work alone: 10,000 entries put into an empty archive in the
// import's batches, with the import's deferred disk syncs.
void BM_ImportInsert(benchmark::State& bench) {
    std::vector<std::vector<archive::TArchiveEntry>> batches;
    for (int start = 0; start < kFiles; start += archive::kImportBatch) {
        std::vector<archive::TArchiveEntry>& batch = batches.emplace_back();
        for (int n = start; n < std::min(start + archive::kImportBatch, kFiles); ++n) {
            batch.push_back(full_archive::ArchiveEntry(n));
        }
    }
    for (auto _ : bench) {
        bench.PauseTiming();
        QTemporaryDir folder;
        QString error;
        const auto store = archive::TArchive::Open(SettingsIn(folder.path()), &error);
        bench.ResumeTiming();
        if (!store || !store->DeferDiskSyncs()) {
            bench.SkipWithError("no archive");
            return;
        }
        for (const std::vector<archive::TArchiveEntry>& batch : batches) {
            store->Insert(batch);
        }
    }
}
BENCHMARK(BM_ImportInsert)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_Import(benchmark::State& bench) {
    TTestFolder& tests = Tests();
    platform::OverrideProgramDir(tests.folder.path());
    archive::TCommandLine line;
    line.command = archive::TCommand::Import;
    line.paths << tests.folder.filePath(QStringLiteral("DBCustom"));
    for (auto _ : bench) {
        bench.PauseTiming();
        const archive::TArchiveSettings settings = SettingsIn(tests.folder.path());
        for (const char* suffix : {"", "-wal", "-shm"}) {
            QFile::remove(settings.databasePath + QLatin1String(suffix));
        }
        QString error;
        const auto store = archive::TArchive::Open(settings, &error);
        bench.ResumeTiming();
        if (!store || archive::RunImport(*store, line) != archive::kExitOk) {
            bench.SkipWithError("the import failed");
            return;
        }
    }
    platform::OverrideProgramDir({});
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The same files read and hashed, nothing else, on the threads the import reads with, shared out
// the same way.
void BM_ImportFloor(benchmark::State& bench) {
    const QStringList& paths = Tests().paths;
    for (auto _ : bench) {
        std::atomic<qsizetype> next{0};
        archive::RunOnBatchThreads(paths.size(), [&] {
            for (qsizetype i = next++; i < paths.size(); i = next++) {
                const platform::TFileRead read =
                    platform::ReadRegularFile(paths[i], archive::kLargestTestFile + 1);
                benchmark::DoNotOptimize(archive::Sha256Hex(read.bytes));
            }
        });
    }
}
BENCHMARK(BM_ImportFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
