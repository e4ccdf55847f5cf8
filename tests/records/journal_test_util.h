// Shared by the journal tests: a registration's header, a fixed moment for set-aside names,
// a journal folder with a clock the test moves, and readers of what the file holds.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>
#include <chrono>
#include <cstdint>
#include <memory>

#include "measure/sample_store.h"
#include "measure/specimen_data.h"
#include "records/registration_journal.h"
#include "records_test_util.h"

inline TSpecimenData JournalHeader() {
    return FillForSave(QDate(2026, 12, 10), QStringLiteral("Куб-7"), QStringLiteral("М-1"),
                       QStringLiteral("куб"), QStringLiteral("2500"), 0, 100);
}

inline const QDateTime kMoveTime(QDate(2026, 12, 10), QTime(14, 3, 27));

// The force of sample i in the tests' registrations: rising, falling below zero, large.
inline int32_t ForceOf(int32_t i) {
    return (i % 7 == 3) ? -1500 - i : 1000 * i + 17;
}

// The little-endian 32-bit number at `at` of a file's bytes.
inline int32_t Le32In(const QByteArray& bytes, int at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + i))) << (8 * i);
    }
    return static_cast<int32_t>(value);
}

// The names of the files in a folder, sorted.
inline QStringList FilesIn(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

class JournalFixture : public ::testing::Test {
  protected:
    QString Folder() const { return dir_.filePath("DBCustom"); }
    QString InFolder(const QString& name) const { return QDir(Folder()).filePath(name); }

    std::unique_ptr<records::TRegistrationJournal> MakeJournal() {
        return std::make_unique<records::TRegistrationJournal>(Folder(), [this] { return now_; });
    }

    // Appends samples [from, to) of a 100 ms registration, the clock moving with them and the
    // window's timer ticking in between.
    void Record(records::TRegistrationJournal& journal, int32_t from, int32_t to) {
        for (int32_t i = from; i < to; ++i) {
            journal.Append(ForceOf(i), 100 * i);
            now_ += std::chrono::milliseconds(50);
            journal.Sync();
            now_ += std::chrono::milliseconds(50);
            journal.Sync();
        }
    }

    int32_t HeaderCount(const QString& path) const { return Le32In(ReadAll(path), 20); }

    QTemporaryDir dir_;
    std::chrono::milliseconds now_{5000};
};
