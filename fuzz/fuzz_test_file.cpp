// Any bytes as a test file, read into a sample store that already holds a test.
// A file shorter than its header is refused and the store stays exactly as it was; any other
// file loads every whole record it holds, up to its count and the store's capacity, and leaves
// the rest of the store alone.
#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "measure/sample_store.h"
#include "records/test_file.h"

namespace {

constexpr size_t kHeader = 120;
constexpr size_t kRecord = 8;
// Header bytes that always read as zero: the fillers and the last byte of every text field.
constexpr std::array<size_t, 12> kZeroedBytes = {18,  19,  35,  67,  87,  107,
                                                 114, 115, 116, 117, 118, 119};

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_test_file: %s\n", what);
        std::abort();
    }
}

int32_t Le32(const uint8_t* at) {
    return static_cast<int32_t>(at[0] | at[1] << 8 | at[2] << 16 |
                                static_cast<uint32_t>(at[3]) << 24);
}

// A recorded test that no file is likely to reproduce by chance.
const TSampleStore& Recorded() {
    static const TSampleStore recorded = [] {
        TSampleStore s;
        for (int i = 0; i < kStoreCapacity; ++i) {
            s.ForceN[i] = static_cast<int32_t>(0x5A5A0000u ^ static_cast<uint32_t>(i));
            s.TimeMs[i] = ~i;
        }
        s.Count = 12345;
        s.PeriodMs = 250;
        s.AreaMm2 = 1000;
        return s;
    }();
    return recorded;
}

void CheckHeader(const TOpenedTest& test, const uint8_t* data) {
    auto expected = std::array<uint8_t, kHeader>{};
    std::memcpy(expected.data(), data, kHeader);
    for (const size_t at : kZeroedBytes) {
        expected[at] = 0;
    }
    Check(test.header.ToBytes() == expected, "header differs from the file's first 120 bytes");
    Check(test.announced == std::max(Le32(data + 20), 0),
          "announced count differs from bytes 20-23");
}

void CheckLoaded(const TOpenedTest& test, const TSampleStore& store, const uint8_t* data,
                 size_t size) {
    const size_t whole = (size - kHeader) / kRecord;
    const size_t expected =
        std::min({static_cast<size_t>(test.announced), static_cast<size_t>(kStoreCapacity), whole});
    Check(store.Count >= 0 && static_cast<size_t>(store.Count) == expected,
          "count is not the whole records the file holds, up to its count and the capacity");
    Check(test.loaded == store.Count, "loaded differs from the store's count");
    Check(test.warning.isEmpty() == (test.loaded >= test.announced),
          "warning does not match a short file");
    int32_t fmax = 0;
    for (int32_t i = 0; i < store.Count; ++i) {
        const uint8_t* record = data + kHeader + kRecord * static_cast<size_t>(i);
        Check(store.ForceN[i] == Le32(record) && store.TimeMs[i] == Le32(record + 4),
              "sample differs from its record");
        fmax = std::max(fmax, store.ForceN[i]);
    }
    Check(test.fmaxN == fmax, "fmax is not the largest stored force (at least 0)");
    const TSampleStore& before = Recorded();
    const size_t rest = (kStoreCapacity - store.Count) * sizeof(int32_t);
    Check(std::memcmp(&store.ForceN[store.Count], &before.ForceN[store.Count], rest) == 0 &&
              std::memcmp(&store.TimeMs[store.Count], &before.TimeMs[store.Count], rest) == 0,
          "samples beyond the count changed");
    Check(store.PeriodMs == before.PeriodMs && store.AreaMm2 == before.AreaMm2,
          "period or area changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TSampleStore store = Recorded();

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const TOpenedTest test = records::ReadTest(buffer, QStringLiteral("fuzz.ktd"), store);

    if (size < kHeader) {
        Check(!test.ok && !test.error.isEmpty(), "a file shorter than its header was not refused");
        Check(std::memcmp(&store, &Recorded(), sizeof store) == 0,
              "a refused file changed the store");
        return 0;
    }
    Check(test.ok && test.error.isEmpty(), "a file with a whole header was refused");
    CheckHeader(test, data);
    CheckLoaded(test, store, data, size);

    // Back to the recorded test for the next input, touching only what was loaded.
    const TSampleStore& recorded = Recorded();
    std::copy_n(recorded.ForceN.begin(), store.Count, store.ForceN.begin());
    std::copy_n(recorded.TimeMs.begin(), store.Count, store.TimeMs.begin());
    store.Count = recorded.Count;
    return 0;
}
