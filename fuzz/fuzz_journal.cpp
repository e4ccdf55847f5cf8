// Any bytes as a registration journal left at start-up: scanned, recovered into a sample store
// that holds another test, and put into the operator's question.
// A journal shorter than its header offers nothing and recovery leaves the store exactly as it
// was. Any other journal offers its whole records while their times follow the period of its
// header, up to the store's capacity; recovery loads exactly those, leaves the rest of the store
// alone, and calls the journal damaged exactly when something in it is out of order.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "measure/sample_store.h"
#include "records/journal_recovery.h"
#include "test_file_checks.h"

namespace {

using fuzz::Check;
using fuzz::kHeader;
using fuzz::kRecord;
using fuzz::Le32;

// The journal's file: the reader takes a path, as the window gives it. In memory where the
// system offers a folder for it, so the disk does not set the pace.
const QString& JournalPath() {
    static const QString path = [] {
        const QString shared = QStringLiteral("/dev/shm");
        const QDir folder(QFileInfo(shared).isWritable() ? shared : QDir::tempPath());
        return folder.filePath(QStringLiteral("fuzz_journal-%1.ktd").arg(getpid()));
    }();
    return path;
}

const TSampleStore& Before() {
    static const TSampleStore before = [] {
        TSampleStore s;
        for (int i = 0; i < kStoreCapacity; ++i) {
            s.ForceN[i] = static_cast<int32_t>(0x3C3C0000u ^ static_cast<uint32_t>(i));
            s.TimeMs[i] = -i - 1;
        }
        s.Count = 321;
        s.PeriodMs = 500;
        s.AreaMm2 = 100;
        return s;
    }();
    return before;
}

// What the scan must find in a journal of `size` >= 120 bytes.
void CheckScan(const TJournalScan& scan, const uint8_t* data, size_t size) {
    const size_t whole = (size - kHeader) / kRecord;
    const size_t usable = std::min(whole, static_cast<size_t>(kStoreCapacity));
    const int32_t period = data[18] | data[19] << 8;
    Check(scan.PeriodMs == period, "period differs from bytes 18-19");
    Check(scan.Announced == Le32(data + 20), "announced count differs from bytes 20-23");
    Check(scan.Samples >= 0 && static_cast<size_t>(scan.Samples) <= usable,
          "more samples than whole records within the capacity");
    bool inSequence = true;
    if (period != 0) {
        for (int32_t i = 0; i < scan.Samples; ++i) {
            Check(Le32(data + kHeader + kRecord * i + 4) == static_cast<int64_t>(i) * period,
                  "an offered sample is out of the period's sequence");
        }
        if (static_cast<size_t>(scan.Samples) < usable) {
            const int64_t next = Le32(data + kHeader + kRecord * scan.Samples + 4);
            Check(next != static_cast<int64_t>(scan.Samples) * period,
                  "the samples end before a record that continues the sequence");
            inSequence = false;
        }
    } else {
        Check(static_cast<size_t>(scan.Samples) == usable, "without a period, not every record");
    }
    const int64_t lag = static_cast<int64_t>(whole) - scan.Announced;
    const bool countFits =
        scan.Announced >= 0 && lag >= 0 && (period == 0 || lag <= 2000 / period + 1);
    const bool intact = (size - kHeader) % kRecord == 0 &&
                        whole <= static_cast<size_t>(kStoreCapacity) && countFits && period != 0 &&
                        inSequence;
    Check(scan.Damage.isEmpty() == intact,
          "damage named for an intact journal, or not for a damaged one");
    Check(scan.Offered() == (scan.Samples > 0), "offered without a sample, or not with one");
}

void CheckRecovered(const TOpenedTest& test, const TJournalScan& scan, const TSampleStore& store,
                    const uint8_t* data) {
    Check(test.ok == (scan.Samples > 0), "recovered without a sample, or refused with one");
    if (!test.ok) {
        Check(!test.error.isEmpty(), "a refused journal without its reason");
        Check(std::memcmp(&store, &Before(), sizeof store) == 0,
              "a refused journal changed the store");
        return;
    }
    Check(store.Count == scan.Samples && test.loaded == scan.Samples,
          "count differs from the scan");
    Check(test.warning.isEmpty() == scan.Damage.isEmpty(), "warning does not match the damage");
    fuzz::CheckHeaderBytes(test, data);
    fuzz::CheckSamples(test, store, Before(), data);
    Check(
        records::RecoveryQuestion(scan).contains(QStringLiteral("отсчётов: %1.").arg(scan.Samples)),
        "the question does not give the samples");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TSampleStore store = Before();
    {
        QFile file(JournalPath());
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                      static_cast<qint64>(size),
              "cannot write the journal's file");
    }
    const TJournalScan scan = records::ScanJournal(JournalPath());
    Check(scan.Present && scan.Error.isEmpty(), "a readable journal was not read");
    if (size < kHeader) {
        Check(scan.Samples == 0 && !scan.Damage.isEmpty(), "a cut header is not damage");
    } else {
        CheckScan(scan, data, size);
    }
    const TOpenedTest test = records::RecoverJournal(JournalPath(), store);
    CheckRecovered(test, scan, store, data);

    // Back to the test the store held, touching only what was recovered.
    const TSampleStore& before = Before();
    std::copy_n(before.ForceN.begin(), store.Count, store.ForceN.begin());
    std::copy_n(before.TimeMs.begin(), store.Count, store.TimeMs.begin());
    store.Count = before.Count;
    return 0;
}
