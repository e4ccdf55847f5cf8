// The frame path on the UI thread: a 20-byte measurement frame assembled byte by byte, copied
// into the channel's frame record and processed while a registration runs; and the processing
// alone, bare and through the test under way (TRecording) with a listener on its samples.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <algorithm>
#include <array>
#include <memory>

#include "link/device_frame.h"
#include "link/frame_assembler.h"
#include "measure/frame_processing.h"
#include "measure/recording.h"
#include "measure/registration.h"

namespace {

constexpr int kPayload = 12;
constexpr int kFrameSize = frame::kHeaderSize + kPayload;

std::array<uint8_t, kFrameSize> WireFrame(uint16_t code) {
    std::array<uint8_t, kFrameSize> bytes{};
    bytes[0] = frame::kStartMarker;
    bytes[frame::kKindOffset] = frame::kMeasurement;
    bytes[frame::kLengthOffset] = kPayload;
    bytes[frame::kHeaderSize - 1] = frame::kTerminator;
    bytes[frame::kHeaderSize] = static_cast<uint8_t>(code & 0xFF);
    bytes[frame::kHeaderSize + 1] = static_cast<uint8_t>(code >> 8);
    return bytes;
}

struct TBareRecording {
    TBareRecording() { measure::StartRegistration(100, 400, *store); }
    // Keeps the registration running however many frames the benchmark feeds.
    void KeepRoom() {
        if (store->Count == kStoreCapacity) {
            store->Count = 0;
        }
    }
    TMeasureState state;
    std::unique_ptr<TSampleStore> store = std::make_unique<TSampleStore>();
};

// A rising load, so the rings, the maximum and the rate all change from frame to frame.
uint16_t NextCode(uint16_t code) {
    return static_cast<uint16_t>((code + 37) % 60000);
}

// A whole measurement frame in the channel's record, its force code rising frame by frame.
struct TAssembledFrame {
    TAssembledFrame() {
        const auto wire = WireFrame(0);
        std::copy(wire.begin(), wire.end(), record->Bytes.begin());
        record->Length = kFrameSize;
    }
    void NextLoad() {
        code = NextCode(code);
        record->Bytes[frame::kHeaderSize] = static_cast<uint8_t>(code & 0xFF);
        record->Bytes[frame::kHeaderSize + 1] = static_cast<uint8_t>(code >> 8);
    }
    std::unique_ptr<TDeviceFrame> record = std::make_unique<TDeviceFrame>();
    uint16_t code = 0;
};

// Argument 1: the PC clock is read for every frame, as the main window does; 0: a fixed reading.
void BM_AssembleAndProcess(benchmark::State& bench) {
    const bool readClock = bench.range(0) != 0;
    const QDateTime fixedClock = QDateTime::currentDateTime();
    TFrameAssembler assembler;
    auto frame = std::make_unique<TDeviceFrame>();
    TBareRecording rec;
    uint16_t code = 0;
    for (auto _ : bench) {
        const std::array<uint8_t, kFrameSize> wire = WireFrame(code = NextCode(code));
        for (const uint8_t byte : wire) {
            if (assembler.Feed(byte)) {
                const uint32_t length = assembler.PayloadLength + frame::kHeaderSize;
                std::copy_n(assembler.RxBuffer.begin(), length, frame->Bytes.begin());
                frame->Length = static_cast<uint16_t>(length);
                const QDateTime now = readClock ? QDateTime::currentDateTime() : fixedClock;
                benchmark::DoNotOptimize(
                    measure::ProcessFrame(*frame, 100, true, now, rec.state, *rec.store));
            }
        }
        rec.KeepRoom();
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_AssembleAndProcess)->Arg(0)->Arg(1);

// The processing alone, with the clock read once outside the loop.
void BM_ProcessOnly(benchmark::State& bench) {
    TAssembledFrame frame;
    const QDateTime now = QDateTime::currentDateTime();
    TBareRecording rec;
    for (auto _ : bench) {
        frame.NextLoad();
        benchmark::DoNotOptimize(
            measure::ProcessFrame(*frame.record, 100, true, now, rec.state, *rec.store));
        rec.KeepRoom();
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ProcessOnly);

// The same through the window's TRecording, whose stored samples a listener hears, as the chart
// and the journal do. At the period 100 ms every frame stores a sample, so every frame here
// emits the signal: the window emitted one per stored sample before TRecording as well.
void BM_ProcessThroughRecording(benchmark::State& bench) {
    TAssembledFrame frame;
    const QDateTime now = QDateTime::currentDateTime();
    TRecording recording;
    recording.Start(100, 400);
    int64_t heard = 0;
    QObject::connect(&recording, &TRecording::SampleAppended, [&heard] { ++heard; });
    for (auto _ : bench) {
        frame.NextLoad();
        benchmark::DoNotOptimize(recording.ProcessFrame(*frame.record, 100, true, now));
        if (recording.Store().Count == kStoreCapacity) {
            recording.StoreToFill().Count = 0;
        }
    }
    bench.counters["samples_per_frame"] =
        static_cast<double>(heard) / static_cast<double>(bench.iterations());
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ProcessThroughRecording);

}  // namespace

BENCHMARK_MAIN();
