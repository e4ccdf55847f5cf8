// The registration journal in the window: what Start, the stored samples, the timer, Stop,
// Cancel, a save and closing do to it, a full disk, another copy of the program beside it, and
// the recovery at start-up.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>

#include "records/journal_recovery.h"
#include "records/journal_test_util.h"
#include "records/test_file.h"
#include "support/file_size_limit.h"
#include "support/sync_faults.h"
#include "support/write_protected_folder.h"
#include "window_fixture.h"

namespace {

constexpr int kHeaderBytes = 120;
constexpr int kRecordBytes = 8;

QString JournalIn(const TScratchProgramFolder& folder) {
    return folder.FilePath(QStringLiteral("DBCustom/~registration.ktd"));
}

QString DbCustomOf(const TScratchProgramFolder& folder) {
    return folder.FilePath(QStringLiteral("DBCustom"));
}

// The journals set aside in DBCustom.
QStringList SetAsideIn(const TScratchProgramFolder& folder) {
    return FilesIn(DbCustomOf(folder)).filter(QStringLiteral("~registration-"));
}

// The records of a journal's file, as (force, time), and whether they are the store's first ones.
::testing::AssertionResult JournalHolds(const QString& path, const TSampleStore& store,
                                        int32_t samples) {
    const QByteArray bytes = ReadAll(path);
    if (bytes.size() != kHeaderBytes + kRecordBytes * samples) {
        return ::testing::AssertionFailure() << "the journal has " << bytes.size() << " bytes";
    }
    for (int32_t i = 0; i < samples; ++i) {
        const char* record = bytes.constData() + kHeaderBytes + kRecordBytes * i;
        if (records::RecordForce(record) != store.ForceN[i] ||
            records::RecordTime(record) != store.TimeMs[i]) {
            return ::testing::AssertionFailure() << "record " << i << " differs from the store";
        }
    }
    return ::testing::AssertionSuccess();
}

// ---- The journal follows the registration ----

using JournalWindowTest = DrivenWindowTest;

TEST_F(JournalWindowTest, EveryStoredSampleIsInTheJournalAsSoonAsItIsStored) {
    Edit("edTestName")->setText(QStringLiteral("Куб-12"));
    Edit("edSampleName")->setText(QStringLiteral("М-3"));
    Edit("edSQR")->setText(QStringLiteral("2500"));
    Combo("cbPeriod")->setCurrentText(QStringLiteral("250"));
    Click(Button("btStart"));
    Feed(30000, 6);  // 250 ms: every second frame stores a sample
    ASSERT_EQ(form->Recording().Store().Count, 3);

    const QString journal = JournalIn(*folder);
    EXPECT_TRUE(JournalHolds(journal, form->Recording().Store(), 3))
        << "without a tick, a Stop or a save";
    const QByteArray bytes = ReadAll(journal);
    ASSERT_GE(bytes.size(), kHeaderBytes);
    TSpecimenData header = TSpecimenData::FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()));
    EXPECT_EQ(header.TestNameString(), QStringLiteral("Куб-12"));
    EXPECT_EQ(header.MarkingString(), QStringLiteral("М-3"));
    EXPECT_EQ(header.SampleTypeString(), QStringLiteral("(...)"));
    EXPECT_EQ(header.AreaString(), QStringLiteral("2500"));
    EXPECT_EQ(header.ForceScale, 100);
    EXPECT_EQ(header.DateString(), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(static_cast<uint8_t>(bytes[18]) | static_cast<uint8_t>(bytes[19]) << 8, 250);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

TEST_F(JournalWindowTest, TheTimerBringsTheHeaderCountUpOnceASecond) {
    Record(3);
    const QString journal = JournalIn(*folder);
    EXPECT_EQ(Le32In(ReadAll(journal), 20), 0);
    QTest::qWait(1100);
    Tick();
    EXPECT_EQ(Le32In(ReadAll(journal), 20), 3);
}

enum class Then { Save, CancelStopped, StartAgain, CancelRecording, CloseWindow };

struct LifeRow {
    const char* name;
    Then then;
    int32_t journalSamples;   // in the journal afterwards; -1: no journal
    int32_t setAsideSamples;  // in the one journal set aside; -1: none set aside
};

void PrintTo(const LifeRow& row, std::ostream* out) {
    *out << row.name;
}

class JournalLifeTest : public DrivenWindowTest, public ::testing::WithParamInterface<LifeRow> {};

// Three samples recorded, then one action of the operator.
TEST_P(JournalLifeTest, TheActionAfterARegistrationDecidesWhereItsJournalGoes) {
    const LifeRow& row = GetParam();
    Record(3);
    if (row.then != Then::CancelRecording) {
        Click(Button("btStop"));
    }
    switch (row.then) {
        case Then::Save:
            dialogs.fileAnswers = {PathOf("saved.ktd")};
            Click(Button("btSaveTest"));
            ASSERT_TRUE(QFile::exists(PathOf("saved.ktd")));
            break;
        case Then::CancelStopped:
            Click(Button("btCancel"));
            break;
        case Then::StartAgain:
            Click(Button("btStart"));
            break;
        case Then::CancelRecording:
            Click(Button("btCancel"));
            Feed(2000, 2);  // the registration goes on from sample 0
            ASSERT_EQ(form->Recording().Store().TimeMs[1], 100);
            break;
        case Then::CloseWindow:
            form->close();
            form.reset();
            break;
    }
    const QString journal = JournalIn(*folder);
    if (row.journalSamples < 0) {
        EXPECT_FALSE(QFile::exists(journal));
    } else {
        const TJournalScan scan = records::ScanJournal(journal);
        EXPECT_EQ(scan.Samples, row.journalSamples);
        EXPECT_TRUE(scan.Damage.isEmpty()) << scan.Damage.toStdString();
    }
    const QStringList setAside = SetAsideIn(*folder);
    if (row.setAsideSamples < 0) {
        EXPECT_TRUE(setAside.isEmpty()) << setAside.join(' ').toStdString();
    } else {
        ASSERT_EQ(setAside.size(), 1) << setAside.join(' ').toStdString();
        const TJournalScan scan =
            records::ScanJournal(QDir(DbCustomOf(*folder)).filePath(setAside.front()));
        EXPECT_EQ(scan.Samples, row.setAsideSamples);
        EXPECT_EQ(scan.Announced, row.setAsideSamples);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Actions, JournalLifeTest,
    ::testing::Values(LifeRow{"SaveRemovesIt", Then::Save, -1, -1},
                      LifeRow{"CancelSetsItAside", Then::CancelStopped, -1, 3},
                      LifeRow{"NewStartSetsItAsideAndBeginsAnother", Then::StartAgain, 0, 3},
                      LifeRow{"CancelWhileRecordingBeginsAgainFromZero", Then::CancelRecording, 2,
                              3},
                      LifeRow{"ClosingTheWindowKeepsIt", Then::CloseWindow, 3, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalWindowTest, AFullDiskStopsTheJournalOnceAndNotTheRegistration) {
    Click(Button("btStart"));
    {
        // The sixth record is cut: the disk is full in the middle of the registration.
        const FileSizeLimit fullDisk(kHeaderBytes + kRecordBytes * 5 + 3);
        Feed(2000, 20);
        EXPECT_TRUE(dialogs.messages.isEmpty()) << "no message box inside a frame's hand-over";
        QCoreApplication::processEvents();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().contains(QStringLiteral("больше не записывается")))
            << dialogs.messages.front().toStdString();
        Feed(3000, 10);
        Tick(3);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(dialogs.messages.size(), 1) << "shown once";
    ASSERT_EQ(form->Recording().Store().Count, 30) << "the registration goes on";
    Click(Button("btStop"));
    const auto recorded = std::make_unique<TSampleStore>(form->Recording().Store());

    dialogs.fileAnswers = {PathOf("full.ktd")};
    Click(Button("btSaveTest"));
    auto saved = std::make_unique<TSampleStore>();
    ASSERT_TRUE(records::OpenTestFile(PathOf("full.ktd"), *saved).ok);
    ASSERT_EQ(saved->Count, 30);
    EXPECT_TRUE(
        std::equal(saved->ForceN.begin(), saved->ForceN.begin() + 30, recorded->ForceN.begin()));
    EXPECT_FALSE(QFile::exists(JournalIn(*folder)));
    EXPECT_EQ(dialogs.messages.size(), 1);
}

// A test file under a journal's name would pass for one: removed with the journal, or pushed
// out among those set aside. The name is refused and the test can be saved under another.
TEST_F(JournalWindowTest, ATestIsNotSavedUnderAJournalsName) {
    Record(3);
    Click(Button("btStop"));
    const QString journal = JournalIn(*folder);
    const QByteArray recorded = ReadAll(journal);
    const QString setAsideName = PathOf("~registration-2026-12-10_14-03-27.ktd");
    for (const QString& path : {journal, setAsideName}) {
        SCOPED_TRACE(path.toStdString());
        dialogs.messages.clear();
        dialogs.fileAnswers = {path};
        Click(Button("btSaveTest"));
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().startsWith(
            QStringLiteral("Испытание не сохранено в файл \"%1\"")
                .arg(QDir::toNativeSeparators(path))))
            << dialogs.messages.front().toStdString();
        EXPECT_TRUE(Button("btSaveTest")->isEnabled());
        EXPECT_FALSE(Button("btProtocol")->isEnabled());
    }
    EXPECT_EQ(ReadAll(journal), recorded);
    EXPECT_FALSE(QFile::exists(setAsideName));

    dialogs.fileAnswers = {PathOf("saved.ktd")};
    Click(Button("btSaveTest"));
    EXPECT_TRUE(QFile::exists(PathOf("saved.ktd")));
    EXPECT_FALSE(QFile::exists(journal)) << "the journal ends with its test saved";
}

// A save is done once the file is on the disk; until then the journal stays.
TEST_F(JournalWindowTest, ASaveWhoseDataSyncFailsIsAFailedSaveAndKeepsTheJournal) {
    Record(3);
    Click(Button("btStop"));
    dialogs.fileAnswers = {PathOf("synced.ktd")};
    {
        const TFailingSync failing(TSyncCall::Fdatasync);
        Click(Button("btSaveTest"));
        EXPECT_EQ(failing.Failed(), 1);
    }
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().startsWith(
        QStringLiteral("Не удалось сохранить испытание в файл \"%1\"")
            .arg(QDir::toNativeSeparators(PathOf("synced.ktd")))))
        << dialogs.messages.front().toStdString();
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
    EXPECT_FALSE(Button("btProtocol")->isEnabled());
    EXPECT_FALSE(QFile::exists(PathOf("synced.ktd")));
    EXPECT_TRUE(JournalHolds(JournalIn(*folder), form->Recording().Store(), 3));

    dialogs.fileAnswers = {PathOf("synced.ktd")};
    Click(Button("btSaveTest"));
    EXPECT_TRUE(QFile::exists(PathOf("synced.ktd")));
    EXPECT_FALSE(QFile::exists(JournalIn(*folder)));
}

// Another operator's copy of the program starts while this one records: it leaves this
// journal alone, and this copy still ends it with its save.
TEST_F(JournalWindowTest, ASecondCopyStartingWhileThisOneRecordsLeavesItsJournal) {
    Record(3);
    {
        records::TRegistrationJournal second(DbCustomOf(*folder));
        const records::TJournalRead left = records::ReadJournal(second.Path());
        EXPECT_TRUE(left.scan.Locked);
        EXPECT_FALSE(second.TakeOver(left.file));
        EXPECT_TRUE(second.SetAside(QDateTime::currentDateTime()).isEmpty());
        second.Discard();
    }
    Feed(1000, 2);
    Click(Button("btStop"));
    EXPECT_TRUE(JournalHolds(JournalIn(*folder), form->Recording().Store(), 5));
    EXPECT_TRUE(SetAsideIn(*folder).isEmpty());

    dialogs.fileAnswers = {PathOf("saved.ktd")};
    Click(Button("btSaveTest"));
    EXPECT_FALSE(QFile::exists(JournalIn(*folder)));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

// This copy is the second: another operator's records into the journal. Nothing is offered or
// said at start-up; a registration here goes on without a journal, told once.
TEST_F(JournalWindowTest, AJournalAnotherCopyRecordsIntoIsNeitherOfferedNorTouched) {
    records::TRegistrationJournal other(DbCustomOf(*folder));
    other.Begin(JournalHeader(), 100, kMoveTime);
    for (int32_t i = 0; i < 4; ++i) {
        other.Append(ForceOf(i), 100 * i);
    }
    form->RecoverRegistration();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();

    for (int registration = 0; registration < 2; ++registration) {
        Record(3);
        QCoreApplication::processEvents();
        Click(Button("btStop"));
        ASSERT_EQ(form->Recording().Store().Count, 3);
    }
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices.front().contains(QStringLiteral("ведёт другая копия программы")))
        << dialogs.notices.front().toStdString();
    dialogs.fileAnswers = {PathOf("saved.ktd")};
    Click(Button("btSaveTest"));
    EXPECT_TRUE(QFile::exists(PathOf("saved.ktd")));

    const TJournalScan scan = records::ScanJournal(JournalIn(*folder));
    EXPECT_TRUE(scan.Locked);
    EXPECT_EQ(scan.Samples, 4);
    EXPECT_TRUE(SetAsideIn(*folder).isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 1);
}

// A journal that cannot be written is told once per run, in a notice that does not wait for
// the operator: Stop stays at hand while the registration runs.
TEST_F(JournalWindowTest, AWriteProtectedFolderIsToldOnceWithoutHoldingUpTheOperator) {
    ASSERT_TRUE(QDir().mkpath(DbCustomOf(*folder)));
    const WriteProtectedFolder writeProtected(DbCustomOf(*folder));
    if (!writeProtected.IsProtected()) {
        GTEST_SKIP() << "this file system or user cannot write-protect a folder";
    }
    int modal = 0;
    dialogs.whileShown = [&modal] { ++modal; };
    for (int registration = 0; registration < 2; ++registration) {
        Record(3);
        QCoreApplication::processEvents();
        Click(Button("btStop"));
        EXPECT_TRUE(Button("btSaveTest")->isEnabled()) << "stopped";
    }
    EXPECT_EQ(modal, 0);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_EQ(dialogs.messages, dialogs.notices);
    EXPECT_TRUE(dialogs.notices.front().contains(QDir::toNativeSeparators(JournalIn(*folder))))
        << dialogs.notices.front().toStdString();
    EXPECT_TRUE(FilesIn(DbCustomOf(*folder)).isEmpty());
}

// ---- Recovery at start-up ----

// A window started over the journal an earlier run left behind.
class RecoveryTest : public ::testing::Test, protected TControlFinder {
  protected:
    void SetUp() override { folder = std::make_unique<TScratchProgramFolder>(kIni); }
    void TearDown() override {
        form.reset();
        folder.reset();
    }
    const QObject& ControlsRoot() const override { return *form; }

    // What a registration of `samples` samples at 100 ms leaves when its program is killed.
    void LeaveJournal(int32_t samples) {
        records::TRegistrationJournal journal(DbCustomOf(*folder));
        journal.Begin(JournalHeader(), 100, kMoveTime);
        for (int32_t i = 0; i < samples; ++i) {
            journal.Append(ForceOf(i), 100 * i);
        }
    }
    void StartWindow() {
        form = std::make_unique<TMainForm>(dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    // Starts the window and answers the recovery question, if it comes.
    void StartAndAnswer(bool yes) {
        ASSERT_NO_FATAL_FAILURE(StartWindow());
        dialogs.questionAnswers = {yes};
        form->RecoverRegistration();
        QCoreApplication::processEvents();
    }
    QString Journal() const { return JournalIn(*folder); }
    ::testing::AssertionResult StoreHoldsTheKilledSamples(int32_t samples) const {
        const TSampleStore& store = form->Recording().Store();
        if (store.Count != samples) {
            return ::testing::AssertionFailure() << "count " << store.Count;
        }
        for (int32_t i = 0; i < samples; ++i) {
            if (store.ForceN[i] != ForceOf(i) || store.TimeMs[i] != 100 * i) {
                return ::testing::AssertionFailure() << "sample " << i;
            }
        }
        return ::testing::AssertionSuccess();
    }

    static constexpr const char* kIni = "[CONFIG]\r\nLINK_PORT=none\r\n";
    std::unique_ptr<TScratchProgramFolder> folder;
    TFakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(RecoveryTest, TheWindowsOwnCancelLeavesTheJournalAlone) {
    LeaveJournal(4);
    const QByteArray journal = ReadAll(Journal());
    ASSERT_NO_FATAL_FAILURE(StartWindow());
    EXPECT_EQ(ReadAll(Journal()), journal);
    EXPECT_EQ(FilesIn(DbCustomOf(*folder)), QStringList{"~registration.ktd"});
    EXPECT_TRUE(dialogs.questions.isEmpty()) << "asked only when the window asks";
}

TEST_F(RecoveryTest, YesShowsTheTestAsOpenedAndSavingItWritesItsOwnHeaderAndEndsTheJournal) {
    LeaveJournal(5);
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(true));
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions.front(),
              QStringLiteral("Найдено несохранённое испытание «Куб-7» от 10.12.2026, отсчётов: "
                             "5.\nВосстановить испытание?"));
    EXPECT_TRUE(StoreHoldsTheKilledSamples(5));
    EXPECT_EQ(Chart().Series().Count(), 5);
    EXPECT_TRUE(Widget("pnInfo")->isVisible());
    EXPECT_EQ(Label("lbInfoTest")->text(), QStringLiteral("Куб-7"));
    EXPECT_EQ(Label("lbInfoDate")->text(), QStringLiteral("10.12.2026"));
    EXPECT_TRUE(Button("btProtocol")->isEnabled());
    EXPECT_TRUE(Button("btToExel")->isEnabled());
    EXPECT_TRUE(Button("btSaveTest")->isEnabled()) << "it can be saved under a proper name";
    EXPECT_FALSE(Button("btOpenTest")->isEnabled()) << "another test replaces it after Cancel";
    EXPECT_TRUE(QFile::exists(Journal())) << "until the test is saved";

    dialogs.fileAnswers = {folder->FilePath(QStringLiteral("recovered.ktd"))};
    Button("btSaveTest")->click();
    auto saved = std::make_unique<TSampleStore>();
    const TOpenedTest reopened =
        records::OpenTestFile(folder->FilePath(QStringLiteral("recovered.ktd")), *saved);
    ASSERT_TRUE(reopened.ok);
    TSpecimenData expected = JournalHeader();
    expected.SampleCount = 5;
    EXPECT_EQ(reopened.header, expected) << "the boxes still say (...)";
    EXPECT_EQ(saved->Count, 5);
    EXPECT_TRUE(FilesIn(DbCustomOf(*folder)).isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

TEST_F(RecoveryTest, AJournalCutInTheMiddleOfARecordGivesBackItsWholeSamples) {
    LeaveJournal(5);
    QFile journal(Journal());
    ASSERT_TRUE(journal.resize(kHeaderBytes + kRecordBytes * 4 + 5));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(true));
    ASSERT_EQ(dialogs.questions.size(), 1);
    const QString question = dialogs.questions.front();
    EXPECT_TRUE(question.contains(QStringLiteral("отсчётов: 4.")));
    EXPECT_TRUE(question.contains(QStringLiteral("последний отсчёт записан не полностью")));
    EXPECT_TRUE(question.contains(QStringLiteral("восстановить можно только целые отсчёты")))
        << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("Восстановить испытание?")));
    EXPECT_TRUE(StoreHoldsTheKilledSamples(4));
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
}

TEST_F(RecoveryTest, NoSetsTheJournalAsideUntouchedAndLeavesTheWindowAsItStarted) {
    LeaveJournal(5);
    const QByteArray journal = ReadAll(Journal());
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(false));
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_FALSE(QFile::exists(Journal()));
    const QStringList setAside = SetAsideIn(*folder);
    ASSERT_EQ(setAside.size(), 1);
    EXPECT_EQ(ReadAll(QDir(DbCustomOf(*folder)).filePath(setAside.front())), journal);
    EXPECT_EQ(form->Recording().Store().Count, 0);
    EXPECT_FALSE(Widget("pnInfo")->isVisible());
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
    EXPECT_TRUE(Button("btOpenTest")->isEnabled());
}

TEST_F(RecoveryTest, NothingToRecoverAsksNothing) {
    const struct {
        const char* name;
        int32_t samples;  // -1: no journal at all
    } rows[] = {{"NoJournal", -1}, {"HeaderOnly", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        folder.reset();  // the program's folder goes back before the next is set
        folder = std::make_unique<TScratchProgramFolder>(kIni);
        if (row.samples >= 0) {
            LeaveJournal(row.samples);
            ASSERT_TRUE(QFile::exists(Journal()));
        }
        dialogs.questions.clear();
        ASSERT_NO_FATAL_FAILURE(StartAndAnswer(true));
        EXPECT_TRUE(dialogs.questions.isEmpty());
        EXPECT_TRUE(FilesIn(DbCustomOf(*folder)).isEmpty()) << "a journal without a sample goes";
        EXPECT_EQ(form->Recording().Store().Count, 0);
        form.reset();
    }
}

// A test file holds more than 2 samples: a shorter journal is shown but not offered for saving.
TEST_F(RecoveryTest, ATestOfFewerThanThreeSamplesIsShownButNotOfferedForSaving) {
    for (const int32_t samples : {2, 3}) {
        SCOPED_TRACE(samples);
        folder.reset();  // the program's folder goes back before the next is set
        folder = std::make_unique<TScratchProgramFolder>(kIni);
        LeaveJournal(samples);
        ASSERT_NO_FATAL_FAILURE(StartAndAnswer(true));
        EXPECT_TRUE(StoreHoldsTheKilledSamples(samples));
        EXPECT_TRUE(Widget("pnInfo")->isVisible());
        EXPECT_EQ(Button("btSaveTest")->isEnabled(), samples > 2);
        EXPECT_TRUE(QFile::exists(Journal()));
        form.reset();
    }
}

TEST_F(RecoveryTest, ARecoveredTestIsSetAsideByCancelOrANewStart) {
    const struct {
        const char* name;
        const char* button;
        int32_t journalSamples;  // the new journal afterwards; -1: none
    } rows[] = {{"Cancel", "btCancel", -1}, {"Start", "btStart", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        folder.reset();  // the program's folder goes back before the next is set
        folder = std::make_unique<TScratchProgramFolder>(kIni);
        LeaveJournal(5);
        ASSERT_NO_FATAL_FAILURE(StartAndAnswer(true));
        Button(row.button)->click();
        const QStringList setAside = SetAsideIn(*folder);
        ASSERT_EQ(setAside.size(), 1);
        EXPECT_EQ(
            records::ScanJournal(QDir(DbCustomOf(*folder)).filePath(setAside.front())).Samples, 5);
        EXPECT_EQ(QFile::exists(Journal()), row.journalSamples >= 0);
        form.reset();
    }
}

}  // namespace
