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
#include "test_file_checks.h"

namespace {

using fuzz::Check;
using fuzz::kHeader;
using fuzz::kRecord;
using fuzz::Le32;

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
    fuzz::CheckHeaderBytes(test, data);
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
    fuzz::CheckSamples(test, store, Recorded(), data);
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
