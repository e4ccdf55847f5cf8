#include "records/journal_recovery.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <memory>

#include "journal_test_util.h"
#include "records/journal_folder.h"

namespace {

void AppendLe(QByteArray& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>(value >> (8 * i)));
    }
}

struct JournalCase {
    const char* name;
    int32_t announced;    // SampleCount in the header
    int32_t periodMs;     // in the header's bytes 18-19
    int32_t records;      // records of the registration: ForceOf(i), i x periodMs
    int32_t zeroRecords;  // then records of zeros, as a power loss may leave them
    int extraBytes;       // then part of a record
    int cutTo;            // the file cut to this many bytes, or -1
    int32_t samples;      // expected
    bool damaged;         // expected
};

void PrintTo(const JournalCase& c, std::ostream* out) {
    *out << c.name;
}

QByteArray JournalBytesOf(const JournalCase& c) {
    TSpecimenData header = JournalHeader();
    header.SampleCount = c.announced;
    QByteArray bytes(reinterpret_cast<const char*>(header.ToBytes().data()), 120);
    bytes.remove(18, 2);
    QByteArray period;
    AppendLe(period, static_cast<uint32_t>(c.periodMs), 2);
    bytes.insert(18, period);
    for (int32_t i = 0; i < c.records; ++i) {
        AppendLe(bytes, static_cast<uint32_t>(ForceOf(i)), 4);
        AppendLe(bytes, static_cast<uint32_t>(i * c.periodMs), 4);
    }
    bytes.append(QByteArray(8 * c.zeroRecords + c.extraBytes, '\0'));
    return c.cutTo < 0 ? bytes : bytes.left(c.cutTo);
}

class JournalRecovery : public JournalFixture, public ::testing::WithParamInterface<JournalCase> {
  protected:
    QString Written(const QByteArray& bytes) {
        QDir().mkpath(Folder());
        const QString path = records::JournalPath(Folder());
        WriteAll(path, bytes);
        return path;
    }
};

TEST_P(JournalRecovery, EveryWholeSampleInSequenceComesBackAndDamageIsNamed) {
    const JournalCase& c = GetParam();
    const QString path = Written(JournalBytesOf(c));

    const TJournalScan scan = records::ScanJournal(path);
    EXPECT_TRUE(scan.Present);
    EXPECT_TRUE(scan.Error.isEmpty());
    EXPECT_EQ(scan.Samples, c.samples);
    EXPECT_EQ(!scan.Damage.isEmpty(), c.damaged) << scan.Damage.toStdString();
    EXPECT_EQ(scan.Offered(), c.samples > 0);

    auto store = SentinelStore();
    const TOpenedTest test = records::RecoverJournal(path, *store);
    EXPECT_EQ(test.ok, c.samples > 0);
    if (!test.ok) {
        EXPECT_TRUE(test.error.contains(QDir::toNativeSeparators(path)));
        EXPECT_EQ(store->Count, 5);
        EXPECT_EQ(store->ForceN[0], -77);
        return;
    }
    ASSERT_EQ(store->Count, c.samples);
    for (int32_t i = 0; i < c.samples; ++i) {
        ASSERT_EQ(store->ForceN[i], ForceOf(i)) << "sample " << i;
        ASSERT_EQ(store->TimeMs[i], i * c.periodMs) << "sample " << i;
    }
    if (c.samples < kStoreCapacity) {
        EXPECT_EQ(store->ForceN[c.samples], -77);
    }
    EXPECT_EQ(!test.warning.isEmpty(), c.damaged);
    if (c.damaged) {
        EXPECT_TRUE(test.warning.contains(QDir::toNativeSeparators(path)));
        EXPECT_TRUE(
            test.warning.contains(QStringLiteral("Восстановлено отсчётов: %1").arg(c.samples)))
            << test.warning.toStdString();
    }
}

// The header trails by up to two sync intervals of samples: 21 at 100 ms, 3 at 1000 ms.
INSTANTIATE_TEST_SUITE_P(
    Cases, JournalRecovery,
    ::testing::Values(JournalCase{"Intact", 5, 100, 5, 0, 0, -1, 5, false},
                      JournalCase{"CountTrailsWithinTheLag", 0, 100, 21, 0, 0, -1, 21, false},
                      JournalCase{"CountTrailsTooFar", 0, 100, 22, 0, 0, -1, 22, true},
                      JournalCase{"SlowPeriodTrailsWithinTheLag", 1, 1000, 4, 0, 0, -1, 4, false},
                      JournalCase{"SlowPeriodTrailsTooFar", 0, 1000, 4, 0, 0, -1, 4, true},
                      JournalCase{"CountAhead", 8, 100, 5, 0, 0, -1, 5, true},
                      JournalCase{"CutInARecord", 5, 100, 5, 0, 3, -1, 5, true},
                      JournalCase{"ZerosAfterAPowerLoss", 8, 100, 5, 3, 0, -1, 5, true},
                      JournalCase{"NoPeriod", 5, 0, 5, 0, 0, -1, 5, true},
                      JournalCase{"HeaderOnly", 0, 250, 0, 0, 0, -1, 0, false},
                      JournalCase{"ShortHeader", 0, 100, 0, 0, 0, 100, 0, true},
                      JournalCase{"NegativeCount", -4, 100, 5, 0, 0, -1, 5, true},
                      JournalCase{"OverCapacity", kStoreCapacity + 1, 100, kStoreCapacity + 1, 0, 0,
                                  -1, kStoreCapacity, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A "%1" the operator typed into the test's name, or one in a folder's name, stands as it is.
TEST_F(JournalRecovery, PercentSignsInTheNameAndThePathStandAsTheyAre) {
    const QString folder = dir_.filePath("50%1/DBCustom");
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        records::TRegistrationJournal journal(folder);
        journal.Begin(FillForSave(QDate(2026, 12, 10), "Куб %1 и 5%", "", "", "100", 0, 100), 100,
                      kMoveTime);
        for (int32_t i = 0; i < 5; ++i) {
            journal.Append(ForceOf(i), 100 * i);
        }
    }
    const QString path = records::JournalPath(folder);
    QFile cut(path);
    ASSERT_TRUE(cut.resize(120 + 8 * 4 + 1));

    const TJournalScan scan = records::ScanJournal(path);
    EXPECT_TRUE(records::RecoveryQuestion(scan).startsWith(QStringLiteral(
        "Найдено несохранённое испытание «Куб %1 и 5%» от 10.12.2026, отсчётов: 4.\n")))
        << records::RecoveryQuestion(scan).toStdString();
    auto store = SentinelStore();
    const TOpenedTest test = records::RecoverJournal(path, *store);
    EXPECT_TRUE(test.warning.startsWith(QStringLiteral("Журнал регистрации \"%1\" повреждён (")
                                            .arg(QDir::toNativeSeparators(path))))
        << test.warning.toStdString();
    EXPECT_TRUE(test.warning.endsWith(QStringLiteral("Восстановлено отсчётов: 4.")));
}

TEST_F(JournalRecovery, NoJournalNothingOffered) {
    const TJournalScan scan = records::ScanJournal(records::JournalPath(Folder()));
    EXPECT_FALSE(scan.Present);
    EXPECT_FALSE(scan.Offered());
    // A file where DBCustom would be holds no journal either: nothing to say at start-up.
    const QString notAFolder = dir_.filePath("DBCustom-file");
    WriteAll(notAFolder, "x");
    const TJournalScan none = records::ScanJournal(records::JournalPath(notAFolder));
    EXPECT_FALSE(none.Present);
    EXPECT_TRUE(none.Error.isEmpty()) << none.Error.toStdString();
}

// What another user may have put at the journal's name: never followed, never waited on.
TEST_F(JournalRecovery, ALinkOrAFifoAtTheJournalsNameIsNotOffered) {
    const QString path = records::JournalPath(Folder());
    const QString elsewhere = dir_.filePath("elsewhere.ktd");
    WriteAll(elsewhere, JournalBytesOf({"", 3, 100, 3, 0, 0, -1, 3, false}));
    ASSERT_EQ(records::ScanJournal(elsewhere).Samples, 3);
    const struct {
        const char* name;
        std::function<bool()> plant;
    } cases[] = {
        {"link", [&] { return QFile::link(elsewhere, path); }},
        {"fifo", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(Folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(Folder()));
        ASSERT_TRUE(c.plant());
        const TJournalScan scan = records::ScanJournal(path);
        EXPECT_TRUE(scan.Present);
        EXPECT_TRUE(scan.Error.contains(QDir::toNativeSeparators(path)))
            << scan.Error.toStdString();
        EXPECT_FALSE(scan.Offered());
        EXPECT_EQ(scan.Samples, 0);
    }
}

TEST_F(JournalRecovery, AnUnreadableJournalIsNamedAndNotOffered) {
    const QString path = records::JournalPath(Folder());
    ASSERT_TRUE(QDir().mkpath(path));  // a folder of the journal's name
    const TJournalScan scan = records::ScanJournal(path);
    EXPECT_TRUE(scan.Present);
    EXPECT_TRUE(scan.Error.contains(QDir::toNativeSeparators(path))) << scan.Error.toStdString();
    EXPECT_FALSE(scan.Offered());
    auto store = SentinelStore();
    EXPECT_FALSE(records::RecoverJournal(path, *store).ok);
    EXPECT_EQ(store->Count, 5);
}

}  // namespace
