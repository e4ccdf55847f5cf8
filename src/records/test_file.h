// The test file (".ktd"): the 120-byte header, then per sample its force and its time.
#pragma once

#include <QIODevice>
#include <QString>
#include <array>
#include <cstdint>

#include "measure/sample_store.h"
#include "measure/specimen_data.h"
#include "records/info_texts.h"

struct TFileResult {
    bool ok = false;
    QString error;  // names the file and the reason when !ok
};

struct TOpenedTest {
    bool ok = false;
    QString error;          // names the file and the reason when !ok; the store is then untouched
    QString warning;        // set when fewer samples were loaded than the header announces,
                            // or what was wrong with a recovered journal
    TSpecimenData header;   // as read, every text terminated inside its field
    int32_t announced = 0;  // SampleCount of the header, a negative one read as 0
    int32_t loaded = 0;     // samples put into the store (= its Count)
    int32_t fmaxN = 0;      // the largest stored force, never below 0
    TInfoTexts info;
};

namespace records {

// A sample record: the force in newtons, then the time in milliseconds, each a little-endian
// signed 32-bit number.
constexpr int kRecordSize = 8;
using TRecordBytes = std::array<char, kRecordSize>;

TRecordBytes RecordBytes(int32_t forceN, int32_t timeMs);
int32_t RecordForce(const char* record);
int32_t RecordTime(const char* record);

// The largest force among the store's samples, in whole newtons, never below 0: the Fmax of a
// test as its information panel shows it.
int32_t LargestStoredForce(const TSampleStore& store);

// Puts `count` consecutive records into samples 0..count-1 of the store and sets its Count
// (at most kStoreCapacity); returns the largest force, never below 0.
int32_t LoadRecords(const char* records, int32_t count, TSampleStore& store);

// Writes the header and store.Count samples; the header's SampleCount is written as the
// number of records that follow. An existing file is replaced only once the new one is
// complete, so a failed save leaves it as it was.
TFileResult SaveTestFile(const QString& path, const TSpecimenData& header,
                         const TSampleStore& store);

// Reads a test file into the store: Count and samples 0..Count-1 (the rest stay as they
// were). The signature and the stored force scale are not examined, so files from other
// installations open. At most kStoreCapacity samples, and only whole records in the file.
TOpenedTest OpenTestFile(const QString& path, TSampleStore& store);

// The same from any device open for reading (a file, a buffer); messages name it `name`.
TOpenedTest ReadTest(QIODevice& in, const QString& name, TSampleStore& store);

}  // namespace records
