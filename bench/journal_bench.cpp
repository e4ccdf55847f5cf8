// The registration journal's cost on the UI thread: a stored sample with and without its
// journal record, a sync round (the header's count and the queued disk sync), and the disk
// sync itself, which runs in the background. The journal lives in a temporary folder, on the
// file system of TMPDIR (or /tmp).
#include <benchmark/benchmark.h>
#include <fcntl.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>

#include "link/device_frame.h"
#include "measure/frame_processing.h"
#include "measure/registration.h"
#include "measure/specimen_data.h"
#include "platform/unique_fd.h"
#include "records/journal_file.h"
#include "records/registration_journal.h"

namespace {

constexpr int kPayload = 12;
constexpr int32_t kPeriodMs = 100;

platform::TUniqueFd OpenFolder(const QTemporaryDir& folder) {
    return platform::TUniqueFd(
        ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

TSpecimenData Header() {
    return FillForSave(QDate(2026, 12, 10), "Bench", "M-1", "cube", "2500", 0, 100);
}

// A registration at 100 ms: every measurement frame stores a sample.
struct TRecording {
    TRecording() {
        frame->Bytes[0] = frame::kStartMarker;
        frame->Bytes[frame::kKindOffset] = frame::kMeasurement;
        frame->Bytes[frame::kLengthOffset] = kPayload;
        frame->Bytes[frame::kHeaderSize - 1] = frame::kTerminator;
        frame->Length = frame::kHeaderSize + kPayload;
        measure::StartRegistration(kPeriodMs, 400, *store);
    }
    // Processes the next frame; true when the store was full and began again from sample 0.
    bool NextSample() {
        code = static_cast<uint16_t>((code + 37) % 60000);
        frame->Bytes[frame::kHeaderSize] = static_cast<uint8_t>(code & 0xFF);
        frame->Bytes[frame::kHeaderSize + 1] = static_cast<uint8_t>(code >> 8);
        benchmark::DoNotOptimize(measure::ProcessFrame(*frame, 100, true, now, state, *store));
        if (store->Count < kStoreCapacity) {
            return false;
        }
        store->Count = 0;
        return true;
    }
    int32_t LastForce() const { return store->ForceN[std::max(store->Count - 1, 0)]; }
    int32_t LastTime() const { return store->TimeMs[std::max(store->Count - 1, 0)]; }

    std::unique_ptr<TDeviceFrame> frame = std::make_unique<TDeviceFrame>();
    TMeasureState state;
    std::unique_ptr<TSampleStore> store = std::make_unique<TSampleStore>();
    const QDateTime now = QDateTime::currentDateTime();
    uint16_t code = 0;
};

// The sample store alone, as without a journal.
void BM_StoreSample(benchmark::State& bench) {
    TRecording rec;
    for (auto _ : bench) {
        rec.NextSample();
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_StoreSample);

// The sample store and the journal's record of each sample. Argument 0: a clock that stands
// still, so no sync round comes; 1: the steady clock, a sync round once a second as in the
// program.
void BM_StoreSampleAndJournal(benchmark::State& bench) {
    QTemporaryDir folder;
    const bool paced = bench.range(0) != 0;
    records::TRegistrationJournal journal(
        folder.path(),
        paced ? records::TRegistrationJournal::TClock(records::TRegistrationJournal::SteadyNow)
              : [] { return std::chrono::milliseconds(0); });
    const QDateTime when = QDateTime::currentDateTime();
    journal.Begin(Header(), kPeriodMs, when);
    TRecording rec;
    for (auto _ : bench) {
        if (rec.NextSample()) {
            bench.PauseTiming();
            journal.Discard();
            journal.Begin(Header(), kPeriodMs, when);
            bench.ResumeTiming();
        }
        journal.Append(rec.LastForce(), rec.LastTime());
    }
    journal.Discard();
    bench.SetItemsProcessed(bench.iterations());
    if (!journal.TakeFailure().isEmpty()) {
        bench.SkipWithError("the journal failed");
    }
}
BENCHMARK(BM_StoreSampleAndJournal)->Arg(0)->Arg(1);

// What a sync round costs the UI thread: the header's count written and the disk sync queued.
// Between rounds the earlier sync is waited for (untimed), so each round starts one; the
// rounds are counted out, since the untimed waits would otherwise make the run last minutes.
void BM_SyncRound(benchmark::State& bench) {
    QTemporaryDir folder;
    const platform::TUniqueFd dir(OpenFolder(folder));
    records::TJournalFile file;
    if (file.Create(dir.Get(), "journal.ktd") != 0) {
        bench.SkipWithError("cannot create the journal");
        return;
    }
    const uint8_t record[8] = {};
    int32_t count = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        file.SyncNow();
        file.Append(record, sizeof record);
        ++count;
        bench.ResumeTiming();
        file.WriteAt(TSpecimenData::kSampleCountOffset, &count, sizeof count);
        file.RequestDiskSync();
    }
}
BENCHMARK(BM_SyncRound)->UseRealTime()->Iterations(200);

// The disk sync itself, which the UI thread does not wait for: one new record to the disk.
// A few hundred are enough, and spare a disk that others share.
void BM_DiskSync(benchmark::State& bench) {
    QTemporaryDir folder;
    const platform::TUniqueFd dir(OpenFolder(folder));
    records::TJournalFile file;
    if (file.Create(dir.Get(), "journal.ktd") != 0) {
        bench.SkipWithError("cannot create the journal");
        return;
    }
    const uint8_t record[8] = {};
    for (auto _ : bench) {
        file.Append(record, sizeof record);
        if (file.SyncNow() != 0) {
            bench.SkipWithError("fdatasync failed");
            return;
        }
    }
}
BENCHMARK(BM_DiskSync)->UseRealTime()->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
