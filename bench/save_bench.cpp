// The recorder's save with the archive beside the save without it: a full test (32767 samples)
// written to its file, then announced as saved; with the archive the announcement hands the
// file to the archive's thread, which hashes it and enters it in the embedded database while the
// next saves go on. Wall-clock time on the UI thread.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QTemporaryDir>
#include <memory>

#include "archive/archive_recorder.h"
#include "archive/archive_settings.h"
#include "measure/recording.h"
#include "platform/program_dir.h"
#include "records/test_file.h"

namespace {

// A full test in the store, saved into a temporary program folder.
struct TSaveScene {
    TSaveScene() {
        platform::OverrideProgramDir(folder.path());
        TSampleStore& store = recording.StoreToFill();
        for (int i = 0; i < kStoreCapacity; ++i) {
            store.ForceN[i] = (i * 37) % 100000;
            store.TimeMs[i] = i * 100;
        }
        store.Count = kStoreCapacity;
        store.PeriodMs = 100;
    }
    ~TSaveScene() { platform::OverrideProgramDir(QString()); }
    void Save() {
        const TSpecimenData header =
            FillForSave(QDate(2026, 12, 11), "Bench", "M-1", "cube", "2500", kStoreCapacity, 100);
        if (!records::SaveTestFile(path, header, recording.Store()).ok) {
            throw std::runtime_error("the test was not saved");
        }
        recording.MarkSaved(path, header);
    }
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("bench.ktd"));
    TRecording recording;
};

void BM_Save(benchmark::State& bench) {
    TSaveScene scene;
    for (auto _ : bench) {
        scene.Save();
    }
}
BENCHMARK(BM_Save)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SaveWithArchive(benchmark::State& bench) {
    TSaveScene scene;
    archive::TArchiveRecorder archive(archive::ReadArchiveSettings());
    QObject::connect(&scene.recording, &TRecording::TestSaved, [&](const QString& path) {
        archive.Submit({.path = path,
                        .savedAt = QDateTime::currentDateTimeUtc(),
                        .periodMs = 100,
                        .operatorName = QStringLiteral("bench"),
                        .machine = QStringLiteral("press"),
                        .serNum = 1});
    });
    for (auto _ : bench) {
        scene.Save();
    }
}
BENCHMARK(BM_SaveWithArchive)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
