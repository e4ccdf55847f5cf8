// The recorder's save with the archive beside the save without it: a full test (32767 samples)
// written to its file, then announced as saved; with the archive the announcement hands the
// file to the archive's thread, which reads, hashes and enters it in the embedded database beside
// the save. Wall-clock time on the UI thread.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
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
    // Every save is a test of its own, under its own name, as at the press: the archive enters
    // each one anew.
    void Save() {
        const TSpecimenData header =
            FillForSave(QDate(2026, 12, 11), "Bench", "M-1", "cube", "2500", kStoreCapacity, 100);
        const QString path = folder.filePath(QStringLiteral("test-%1.ktd").arg(++saved));
        if (!records::SaveTestFile(path, header, recording.Store()).ok) {
            throw std::runtime_error("the test was not saved");
        }
        recording.MarkSaved(path, header);
    }
    QTemporaryDir folder;
    int saved = 0;
    TRecording recording;
};

// Saves at the press are a test apart: each save is timed on its own, after a pause, and with the
// archive its archive work runs beside it and is over before the pause ends (neither is timed).
// Both benchmarks pause alike, since a save after a pause costs more than one right after another.
constexpr unsigned long kPauseMs = 50;
constexpr int kSaves = 100;

template <typename Wait>
void TimeSaves(benchmark::State& bench, TSaveScene& scene, Wait waitForArchive) {
    int saves = 0;
    for (auto _ : bench) {
        scene.Save();
        bench.PauseTiming();
        if (!waitForArchive(++saves)) {
            bench.SkipWithError("the archive did not take the test");
            break;
        }
        QThread::msleep(kPauseMs);
        bench.ResumeTiming();
    }
}

void BM_Save(benchmark::State& bench) {
    TSaveScene scene;
    TimeSaves(bench, scene, [](int) { return true; });
}
BENCHMARK(BM_Save)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(kSaves);

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
    int answered = 0;
    bool stored = true;
    QObject::connect(&archive, &archive::TArchiveRecorder::Stored, [&] { ++answered; });
    for (const auto failed :
         {&archive::TArchiveRecorder::Unavailable, &archive::TArchiveRecorder::NotArchived}) {
        QObject::connect(&archive, failed, [&] {
            ++answered;
            stored = false;
        });
    }
    TimeSaves(bench, scene, [&](int saves) {
        // The timer wakes the wait now and then, so that a lost answer ends it.
        QTimer wake;
        wake.start(100);
        const QDeadlineTimer deadline(10000);
        while (answered < saves && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return answered >= saves && stored;
    });
}
BENCHMARK(BM_SaveWithArchive)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(kSaves);

}  // namespace
