// Faults of the line, the unit and the disk, through the real receiver thread and the window.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <vector>

#include "config/config.h"
#include "config/config_form.h"
#include "measure/indicators.h"
#include "platform/error_report.h"
#include "platform/program_dir.h"
#include "sim_fixture.h"
#include "support/adapter_link.h"
#include "support/file_size_limit.h"
#include "support/write_protected_folder.h"

namespace {

QStringList Args(std::initializer_list<const char*> args) {
    QStringList list;
    for (const char* arg : args) {
        list << QString::fromLatin1(arg);
    }
    return list;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The message of the error WriteIniFile raises; empty when it raises none.
std::string WriteIniFileError() {
    try {
        WriteIniFile();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return {};
}

class FaultTest : public SimulatedUnitTest {
  protected:
    // A short registration: Start, 0.8 s of frames, Stop.
    void RecordBriefly() {
        Button("btStart")->click();
        RunFor(800);
        Button("btStop")->click();
    }

    // The registration's journal could not be written: said once, in its own message, and the
    // registration went on.
    void ExpectJournalStoppedOnce() {
        ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.messages.join('\n').toStdString();
        EXPECT_TRUE(dialogs.messages.front().startsWith(QStringLiteral("Журнал регистрации \"")))
            << dialogs.messages.front().toStdString();
        EXPECT_GT(form->Recording().Store().Count, 2);
        dialogs.messages.clear();
    }

    // Saving the test to `path` fails with one message naming the file; it can be saved again.
    void ExpectSaveRefused(const QString& path) {
        dialogs.fileAnswers = {path};
        Button("btSaveTest")->click();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().contains(QDir::toNativeSeparators(path)))
            << dialogs.messages.front().toStdString();
        EXPECT_TRUE(Button("btSaveTest")->isEnabled()) << "the test can be saved again";
    }
};

TEST_F(FaultTest, PulledCableStopsTheRegistrationAndEverySampleCanBeSaved) {
    StartWith(Args({"--profile", "steady", "--load", "20", "--silence-after", "3"}));
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 3000));
    Button("btStart")->click();

    // The last frame is the moment the cable was pulled.
    QElapsedTimer clock;
    clock.start();
    int32_t frames = form->Recording().Measure().FrameCount;
    qint64 lastFrameMs = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (form->Recording().Measure().FrameCount != frames) {
                frames = form->Recording().Measure().FrameCount;
                lastFrameMs = clock.elapsed();
            }
            return Button("btStop")->isChecked();
        },
        8000))
        << "the lost link ends the registration";
    const qint64 stoppedAfterMs = clock.elapsed() - lastFrameMs;
    std::printf("registration stopped %lld ms after the last frame\n",
                static_cast<long long>(stoppedAfterMs));
    // The watchdog runs down over 19 more receive cycles of at least 50 ms each, and the next
    // timer tick clicks Stop.
    EXPECT_GE(stoppedAfterMs, 800);
    EXPECT_LT(stoppedAfterMs, 2000);
    EXPECT_EQ(form->Recording().Measure().Watchdog, 0);
    ASSERT_GT(form->Recording().Store().Count, 2);
    EXPECT_TRUE(Button("btSaveTest")->isEnabled()) << "the samples can be saved";

    const auto recorded = CopyOf(form->Recording().Store());
    const QString path = folder->FilePath(QStringLiteral("pulled.ktd"));
    dialogs.fileAnswers = {path};
    Button("btSaveTest")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    Button("btCancel")->click();
    ASSERT_EQ(form->Recording().Store().Count, 0);
    dialogs.fileAnswers = {path};
    Button("btOpenTest")->click();
    EXPECT_TRUE(SameSamples(*recorded, form->Recording().Store()));
}

TEST_F(FaultTest, UnitThatSpeaksAgainBringsTheLinkBackWithoutReopeningThePort) {
    // Mute long enough for the lost link to blink at least once (every second, at tick 5).
    StartWith(Args({"--profile", "steady", "--talk", "2", "--mute", "2.5"}));
    // Opening a port writes its panel: a re-open would overwrite this mark.
    const QString mark = QStringLiteral("opened once");
    Link().SetStatusPanel(0, mark);
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog == 0; }, 5000))
        << "the unit mutes";
    EXPECT_TRUE(
        WaitUntil([&] { return Link().StatusPanelText(2) == measure::kLinkLostText; }, 2000));
    const int32_t framesBefore = form->Recording().Measure().FrameCount;

    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 4000))
        << "the first frame after the silence re-arms the watchdog";
    EXPECT_TRUE(WaitUntil(
        [&] {
            const QString panel = Link().StatusPanelText(2);
            return panel.startsWith(QStringLiteral(" I/O count: ")) &&
                   panel.mid(12).toInt() > framesBefore;
        },
        1000))
        << Link().StatusPanelText(2).toStdString();
    EXPECT_EQ(Link().StatusPanelText(0), mark) << "the port was not re-opened";
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(FaultTest, HungUpLineShowsTheLostLinkAndCostsNoBusyCpu) {
    StartWith(Args({"--profile", "steady", "--hangup-after", "3"}));
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog == 0; }, 5000))
        << "a hung-up line is a lost link";

    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    RunFor(3000);
    const double share = (ProcessCpuSeconds() - cpuBefore) / (wall.elapsed() * 0.001);
    std::printf("dead line: %.1f %% of one core (this process)\n", share * 100);
    // The receiver sleeps 50 ms per cycle; a loop spinning on the dead port would use a core.
    EXPECT_LT(share, 0.25);
    EXPECT_EQ(form->Recording().Measure().Watchdog, 0);
    EXPECT_FALSE(Link().StatusPanelText(2).startsWith(QStringLiteral(" I/O count: ")));
    EXPECT_EQ(Link().StatusPanelText(0), QStringLiteral("Порт COM1 - ошибка"))
        << "the dead port is let go and shown";
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(FaultTest, PulledAdapterEndsTheRegistrationAndIsUsedAgainOncePluggedIn) {
    ASSERT_NO_FATAL_FAILURE(PrepareFolder(kLinkIni));
    const AdapterLink adapter(folder->FilePath(QStringLiteral("usb-ve17")).toStdString());
    folder->WriteIni(QByteArray(kLinkIni) +
                     "[PORTS]\r\nCOM1=" + QByteArray::fromStdString(adapter.Path()) + "\r\n");
    ASSERT_NO_FATAL_FAILURE(
        StartSimulator(Args({"--no-map", "--profile", "steady", "--hangup-after", "4"})));
    adapter.PlugIn(simulator.readLine().trimmed().toStdString());
    ASSERT_NO_FATAL_FAILURE(StartWindow());
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 3000));
    Button("btStart")->click();

    ASSERT_TRUE(WaitUntil(
        [&] { return Link().StatusPanelText(0) == QStringLiteral("Порт COM1 - ошибка"); }, 5000))
        << "the adapter is pulled";
    adapter.Pull();
    EXPECT_TRUE(WaitUntil([&] { return Button("btStop")->isChecked(); }, 3000))
        << "the lost link ends the registration";
    EXPECT_GT(form->Recording().Store().Count, 2);
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());

    // Plugged in again: the name points at another device node.
    ASSERT_NO_FATAL_FAILURE(StartSimulator(Args({"--no-map", "--profile", "steady"})));
    adapter.PlugIn(simulator.readLine().trimmed().toStdString());
    ASSERT_TRUE(WaitUntil(
        [&] { return Link().StatusPanelText(0) == QStringLiteral("Порт COM1 - ОК"); }, 4000));
    const int32_t frames = form->Recording().Measure().FrameCount;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return form->Recording().Measure().Watchdog != 0 &&
                   form->Recording().Measure().FrameCount > frames + 5;
        },
        3000))
        << "frames are processed again";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(FaultTest, GarbageStormAtFullRateKeepsForcesPhysicalAndLeavesLaterFramesRight) {
    // 20 kN on the default 100 kN scale: code 10486, stored as 20000 N.
    StartWith(Args({"--profile", "garbage", "--fast", "--load", "20", "--seed", "7"}));
    RunFor(1000);
    Button("btStart")->click();
    // About 3 s at the full rate; longer on a loaded machine.
    const bool through = WaitUntil([&] { return form->Recording().Store().Count > 100; }, 20000);
    Button("btStop")->click();

    const TSampleStore& store = form->Recording().Store();
    ASSERT_TRUE(through) << "frames get through the storm: " << store.Count << " samples";
    std::vector<int32_t> forces(store.ForceN.begin(), store.ForceN.begin() + store.Count);
    const int32_t highest = INI_FILE_DATA.FORCE_SCALE * 1250;  // code 65535 = 1.25 x scale
    for (int i = 0; i < store.Count; ++i) {
        ASSERT_GE(forces[i], 0) << "sample " << i;
        ASSERT_LE(forces[i], highest) << "sample " << i;
    }
    const auto exact = std::count(forces.begin(), forces.end(), 20000);
    std::nth_element(forces.begin(), forces.begin() + forces.size() / 2, forces.end());
    std::printf("garbage storm: %d samples, %.0f %% of them exactly 20000 N\n", store.Count,
                100.0 * exact / store.Count);
    EXPECT_NEAR(forces[forces.size() / 2], 20000, 500) << "most frames are the unit's own";

    // The storm ends: a clean unit on the same COM1, re-opened as the operator would.
    ASSERT_NO_FATAL_FAILURE(
        StartSimulator(Args({"--profile", "steady", "--fast", "--load", "20"})));
    form->mnPort1Click();
    ASSERT_EQ(Link().StatusPanelText(0), QStringLiteral("Порт COM1 - ОК"));
    RunFor(1000);  // the 10-frame mean fills with clean frames
    Button("btCancel")->click();
    Button("btStart")->click();
    const bool recorded = WaitUntil([&] { return store.Count > 100; }, 20000);
    Button("btStop")->click();
    ASSERT_TRUE(recorded) << store.Count << " samples";
    for (int i = 0; i < store.Count; ++i) {
        ASSERT_EQ(store.ForceN[i], 20000) << "sample " << i;
    }
    EXPECT_NEAR(form->Recording().Measure().Force, 20.0, 0.001);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FaultTest, HandEditedIniFullOfJunkStartsTheWindowWithDefaults) {
    QByteArray ini("\x00\x01\x02\xff\xfe\x7f junk\r\n", 13);
    ini += "[]\r\n[\r\n]]][[[\r\n=no key\r\n\r\r\r\n";
    ini += "[USER]\r\nFORCE_SCALE=abc\r\nSER_NUM=\x01\x02\x03\r\n";
    ini += "MACHINE=" + QByteArray(100 * 1024, 'x') + "\r\n";
    // Long lines, yet the whole file within the 256 KiB the program reads of a VE17.ini.
    QByteArray binaryLine(100 * 1024, '\0');
    for (int i = 0; i < binaryLine.size(); ++i) {
        binaryLine[i] = static_cast<char>(0x80 + i % 0x80);  // no line end, no '=' or '['
    }
    ini += binaryLine + "\r\n";
    ini += "[LINEAR]\r\nFORCE_LIN_ENABLE=yes\r\nFLIN10%=12a\r\nFLIN50%=\r\n";
    StartWith(Args({"--profile", "steady", "--load", "30"}), ini);

    const TIniFileData defaults{.NAME = QStringLiteral("-неизвестный пользователь-"),
                                .MACHINE = QString(2047, QLatin1Char('x')),
                                .LINK_PORT = QStringLiteral("COM1"),
                                .SER_NUM = 999,
                                .FORCE_SCALE = 100,
                                .LEN_SCALE = 100,
                                .REG_TIME = 1};
    EXPECT_TRUE(INI_FILE_DATA == defaults)
        << "NAME " << INI_FILE_DATA.NAME.toStdString() << ", MACHINE of "
        << INI_FILE_DATA.MACHINE.size() << " characters, SER_NUM " << INI_FILE_DATA.SER_NUM
        << ", FORCE_SCALE " << INI_FILE_DATA.FORCE_SCALE << ", FLIN10% " << INI_FILE_DATA.FLIN10;
    // The default scale turns the unit's 30 kN into 30 kN.
    EXPECT_TRUE(
        WaitUntil([&] { return std::abs(form->Recording().Measure().Force - 30.0) < 0.01; }, 3000))
        << form->Recording().Measure().Force;
    RunFor(1100);  // a whole second: panel 1 shows the machine and the scale
    EXPECT_TRUE(Link().StatusPanelText(1).contains(QStringLiteral("xxxx")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FaultTest, FullDiskLeavesTheWindowWorkingAndReportsEveryFailedWrite) {
    ASSERT_NO_FATAL_FAILURE(PrepareFolder(kLinkIni));
    ASSERT_NO_FATAL_FAILURE(StartSimulator(Args({"--profile", "steady", "--load", "20"})));
    const QByteArray iniBefore = ReadAll(IniPath());
    // Not a byte more can be written, whoever runs the test (root ignores permission bits).
    std::optional<FileSizeLimit> fullDisk(std::in_place, 0);
    ASSERT_NO_FATAL_FAILURE(StartWindow());
    RunFor(1200);
    RecordBriefly();
    ASSERT_TRUE(Button("btSaveTest")->isEnabled());
    ASSERT_NO_FATAL_FAILURE(ExpectJournalStoppedOnce());

    EXPECT_EQ(WriteIniFileError(), "Unable to write to " + IniPath().toStdString());
    const QString testPath = platform::ProgramDir() + QStringLiteral("DBCustom/full.ktd");
    ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(testPath));

    fullDisk.reset();
    EXPECT_EQ(ReadAll(IniPath()), iniBefore) << "the configuration file is left whole";
    EXPECT_TRUE(QDir(platform::ProgramDir() + QStringLiteral("DBCustom"))
                    .entryList(QDir::Files | QDir::Hidden)
                    .isEmpty())
        << "no half-written test file is left";
    EXPECT_EQ(WriteIniFileError(), "");
    dialogs.fileAnswers = {testPath};
    Button("btSaveTest")->click();
    EXPECT_TRUE(QFile::exists(testPath));
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
}

// The operator accepts the configuration dialog as it opens; what the general error box showed.
QStringList AcceptConfigurationDialog(TMainForm& form, TFakeDialogs& dialogs) {
    dialogs.errors.clear();
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<TConfigForm*>(QApplication::activeModalWidget())) {
            dialog->btConfigSave->click();
        }
    });
    FindControl<QAction>(form, "mnConfig")->trigger();
    return dialogs.errors;
}

TEST_F(FaultTest, WriteProtectedProgramFolderReportsEveryFailedWriteAndKeepsRecording) {
    ASSERT_NO_FATAL_FAILURE(PrepareFolder(kLinkIni));
    ASSERT_NO_FATAL_FAILURE(StartSimulator(Args({"--profile", "steady", "--load", "20"})));
    const QByteArray iniBefore = ReadAll(IniPath());
    const WriteProtectedFolder writeProtected(folder->Path());
    if (!writeProtected.IsProtected()) {
        GTEST_SKIP() << "this file system or user cannot write-protect "
                     << folder->Path().toStdString();
    }
    ASSERT_NO_FATAL_FAILURE(StartWindow());
    RunFor(1200);

    EXPECT_EQ(AcceptConfigurationDialog(*form, dialogs),
              QStringList{QStringLiteral("Unable to write to ") + IniPath()});
    RecordBriefly();
    ASSERT_NO_FATAL_FAILURE(ExpectJournalStoppedOnce());
    ASSERT_NO_FATAL_FAILURE(
        ExpectSaveRefused(platform::ProgramDir() + QStringLiteral("DBCustom/protected.ktd")));
    EXPECT_GT(form->Recording().Store().Count, 0);
    EXPECT_EQ(ReadAll(IniPath()), iniBefore);
    EXPECT_EQ(
        QDir(folder->Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("VE17.ini")});
}

}  // namespace
