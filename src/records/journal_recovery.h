// What a registration journal left by a killed program or a power loss holds, and its test
// back in the sample store.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "measure/sample_store.h"
#include "measure/specimen_data.h"
#include "records/journal_file.h"
#include "records/test_file.h"

struct TJournalScan {
    bool Present = false;   // a file of the journal's name is there
    bool Locked = false;    // a running copy, maybe another operator's, records into it
    QString Error;          // it could not be read (names the file and the reason)
    int32_t Samples = 0;    // whole samples in sequence, by the file's length, at most 32767
    QString Damage;         // empty for an intact journal, else what is wrong, for the operator
    TSpecimenData Header;   // texts terminated inside their fields
    int32_t PeriodMs = 0;   // 0 when the header holds none
    int32_t Announced = 0;  // SampleCount of the header

    // Worth the operator's question, by what it holds. A readable journal without a whole
    // sample holds nothing of a test: the window removes it (Discard, or SetAside, which removes
    // such a journal). One that could not be read is left alone, and so is a locked one: the
    // window neither offers nor touches it.
    bool Offered() const { return Error.isEmpty() && Samples > 0; }
};

namespace records {

// A journal as read from its file once: what it holds, its bytes and which file it was.
struct TJournalRead {
    QString path;
    TJournalScan scan;
    QByteArray bytes;  // at most the largest journal the store can hold, from the file's start
    TFileId file;
};

// Reads the journal at `path`: a regular file, never through a link, at most as long as the
// largest journal, and whether another copy holds its lock.
TJournalRead ReadJournal(const QString& path);

// Reads the journal at `path`. Its samples are the whole records in sequence (sample i at
// i x PeriodMs ms, as the store records them): a record out of that sequence (the zeros a
// power loss may leave at the end of a file) ends the samples, and Damage says so. The header's
// SampleCount may trail the records by two sync intervals; a count ahead of them, or further
// behind, is damage too, and so are a cut record and a header shorter than 120 bytes.
TJournalScan ScanJournal(const QString& path);

// Loads every sample the scan counts, as opening a test file does: the store's Count and
// samples 0..Count-1, the header and the information panel's texts. `warning` says what was
// wrong with a damaged journal. Fails, leaving the store untouched, when no sample recovers.
TOpenedTest RecoverJournal(const TJournalRead& read, TSampleStore& store);
TOpenedTest RecoverJournal(const QString& path, TSampleStore& store);

// The operator's question for an offered journal: its test's date, name and samples, and for a
// damaged one that only its whole samples come back.
QString RecoveryQuestion(const TJournalScan& scan);

}  // namespace records
