// The records panel: saving the recorded test, opening a test file, the CSV table, the printed
// protocol and the area entry box.
#include "records/records_panel.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "chart/chart.h"
#include "config/config.h"
#include "measure/recording.h"
#include "platform/program_dir.h"
#include "records/records_test_util.h"
#include "records/test_file.h"
#include "support/controls.h"
#include "support/device_frames.h"
#include "support/fake_dialogs.h"
#include "support/program_folder.h"

namespace {

// The panel in a window of its own, with the records it works on and a chart to print.
class RecordsTest : public ::testing::Test, protected TControlFinder {
  protected:
    void SetUp() override {
        INI_FILE_DATA = TIniFileData{};
        ReadIniFile();
        host.setFixedSize(1039, 664);
        auto* group = new QGroupBox(&host);
        group->setGeometry(772, 375, 253, 188);
        chart = new TChart(&host);
        chart->setGeometry(5, 15, 742, 567);
        SetClock(QDateTime(QDate(2026, 3, 4), QTime(10, 0)));
        panel = new TRecordsPanel({.client = &host, .specimenGroup = group}, recording,
                                  INI_FILE_DATA, *chart, dialogs, &host);
        QObject::connect(&recording, &TRecording::TestLoaded, [this] { ++samplesLoaded; });
        TControlStates created;  // as the window's creation leaves them
        created.Protocol = false;
        created.SaveTest = false;
        panel->Apply(created);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    const QObject& ControlsRoot() const override { return host; }

    QString PathOf(const char* name) const { return folder.FilePath(QString::fromUtf8(name)); }

    // A save dates its test by the clock reading of the last measurement frame.
    void SetClock(const QDateTime& now) {
        recording.ProcessFrame(DeviceFrame(' ', 0), 100, false, now);
    }

    // A test file as another session of the program would have saved it.
    void MakeTestFile(const QString& path, const TSampleStore& samples, const char* area = "100") {
        const TSpecimenData header =
            FillForSave(QDate(2011, 12, 12), QStringLiteral("Test-1"), QStringLiteral("M-7"),
                        QStringLiteral("куб"), QString::fromLatin1(area), samples.Count, 100);
        ASSERT_TRUE(records::SaveTestFile(path, header, samples).ok);
    }

    void Open(const QString& path) {
        dialogs.fileAnswers = {path};
        Click(Button("btOpenTest"));
    }

    // A registration of 3 samples has stopped: saving is offered.
    void RecordThree() {
        store = StoreOf({{0, 1000}, {100, 1000}, {200, 1000}});
        TControlStates stopped;
        stopped.SaveTest = true;
        panel->Apply(stopped);
    }

    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    bool InProgramFolder() const {
        return QFileInfo(QDir::currentPath()) == QFileInfo(platform::ProgramDir());
    }

    // Places where no file can be made: a folder that is a regular file, a missing folder.
    QString UnwritablePath() {
        WriteAll(PathOf("plain"), "not a folder");
        return PathOf("plain/test.ktd");
    }

    const TSampleStore threeSamples = StoreOf({{0, 1000}, {100, 2500}, {200, 1800}});

    TScratchProgramFolder folder;
    TFakeDialogs dialogs;
    TRecording recording;
    TSampleStore& store = recording.StoreToFill();
    const TSpecimenData& specimen = recording.Specimen();
    QWidget host;
    TChart* chart = nullptr;
    TRecordsPanel* panel = nullptr;
    int samplesLoaded = 0;
};

// ---- Saving ----

TEST_F(RecordsTest, SaveWritesTheRegistrationAndOffersProtocolAndTable) {
    Edit("edTestName")->setText(QStringLiteral("Test-1"));
    Edit("edSQR")->clear();
    RecordThree();
    QDir::setCurrent(QDir::tempPath());
    dialogs.fileAnswers = {PathOf("saved.ktd")};
    Click(Button("btSaveTest"));

    const QByteArray bytes = ReadAll(PathOf("saved.ktd"));
    ASSERT_EQ(bytes.size(), 144);
    EXPECT_EQ(bytes.mid(20, 4), QByteArray("\x03\0\0\0", 4));
    EXPECT_EQ(bytes.mid(24, 11), QByteArray("04.03.2026\0", 11)) << "dated by the clock reading";
    EXPECT_EQ(bytes.mid(36, 7), QByteArray("Test-1\0", 7));
    EXPECT_EQ(bytes.mid(108, 2), QByteArray("0\0", 2)) << "an empty area is saved as 0";
    EXPECT_EQ(Edit("edSQR")->text(), QStringLiteral("0"));
    EXPECT_EQ(specimen.TestNameString(), QStringLiteral("Test-1"));

    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
    EXPECT_TRUE(Button("btToExel")->isEnabled());
    EXPECT_TRUE(Button("btProtocol")->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());

    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    const TFileDialogSetup& dialog = dialogs.fileDialogs.front();
    EXPECT_EQ(dialog.Title, QStringLiteral("Сохранить результаты испытания..."));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Файлы результатов испытаний (*.ktd)"));
    EXPECT_EQ(dialog.InitialDir, platform::ProgramDir() + QStringLiteral("DBCustom"));
    EXPECT_TRUE(QFileInfo(dialog.InitialDir).isDir());
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("ktd"));
    EXPECT_TRUE(dialog.ConfirmOverwrite);
}

TEST_F(RecordsTest, FailedSaveNamesTheFileAndTheTestStaysSavable) {
    RecordThree();
    const QString unwritable = UnwritablePath();
    dialogs.fileAnswers = {unwritable};
    Click(Button("btSaveTest"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(QDir::toNativeSeparators(unwritable)))
        << dialogs.messages.front().toStdString();
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
    EXPECT_FALSE(Button("btToExel")->isEnabled());
    EXPECT_FALSE(Button("btProtocol")->isEnabled());
    EXPECT_EQ(specimen.SampleCount, 0) << "the protocol still belongs to no test";

    dialogs.fileAnswers = {PathOf("second-try.ktd")};
    Click(Button("btSaveTest"));
    EXPECT_EQ(ReadAll(PathOf("second-try.ktd")).size(), 144);
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
}

TEST_F(RecordsTest, CancelledSaveChangesNothing) {
    RecordThree();
    Edit("edSQR")->clear();
    QDir::setCurrent(QDir::tempPath());
    Click(Button("btSaveTest"));
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
    EXPECT_FALSE(Button("btToExel")->isEnabled());
    EXPECT_EQ(Edit("edSQR")->text(), QString());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());
    EXPECT_EQ(QDir(folder.Path()).entryList({QStringLiteral("*.ktd")}, QDir::Files).size(), 0);
}

// ---- Opening ----

// A test named on the command line opens as btOpenTest opens one, and never over a recovered
// test that waits for its save.
TEST_F(RecordsTest, AGivenTestOpensOnlyWhereOpeningIsOffered) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    store = StoreOf({{0, 700}, {100, 800}, {200, 900}});
    recording.Loaded(FillForSave(QDate(2026, 1, 2), QStringLiteral("R-1"), QString(), QString(),
                                 QStringLiteral("50"), 3, 100),
                     true);
    panel->OpenTest(PathOf("a.ktd"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(QStringLiteral("не открыто")));
    EXPECT_EQ(specimen.TestNameString(), QStringLiteral("R-1"));
    EXPECT_EQ(store.ForceN[2], 900) << "the recovered test stays";

    TControlStates cancelled;
    cancelled.OpenTest = true;
    panel->Apply(cancelled);
    panel->OpenTest(PathOf("a.ktd"));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(specimen.TestNameString(), QStringLiteral("Test-1"));
    EXPECT_EQ(store.ForceN[1], 2500);
}

TEST_F(RecordsTest, OpenShowsTheTestInThePanelAndLeavesTheEntryBoxes) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Edit("edTestName")->setText(QStringLiteral("keep me"));
    Edit("edSQR")->setText(QStringLiteral("555"));
    store.PeriodMs = 200;
    store.AreaMm2 = 7;
    QDir::setCurrent(QDir::tempPath());

    Open(PathOf("a.ktd"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());
    EXPECT_TRUE(Widget("pnInfo")->isVisible());
    EXPECT_EQ(Label("lbInfoDate")->text(), QStringLiteral("12.12.2011"));
    EXPECT_EQ(Label("lbInfoTest")->text(), QStringLiteral("Test-1"));
    EXPECT_EQ(Label("lbInfoMark")->text(), QStringLiteral("M-7"));
    EXPECT_EQ(Label("lbInfoType")->text(), QStringLiteral("куб"));
    EXPECT_EQ(Label("lbInfoSQR")->text(), QStringLiteral("100"));
    EXPECT_EQ(Label("lbInfoFmax")->text(), QStringLiteral("2.500   "));
    EXPECT_EQ(Label("lbInfoRmax")->text(), QStringLiteral("25.000  "));

    EXPECT_EQ(store.Count, 3);
    EXPECT_EQ(store.ForceN[1], 2500);
    EXPECT_EQ(store.TimeMs[2], 200);
    EXPECT_EQ(samplesLoaded, 1) << "the chart is asked to show them";
    EXPECT_EQ(specimen.TestNameString(), QStringLiteral("Test-1"));

    EXPECT_TRUE(Button("btProtocol")->isEnabled());
    EXPECT_TRUE(Button("btToExel")->isEnabled());
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
    EXPECT_EQ(Edit("edTestName")->text(), QStringLiteral("keep me"));
    EXPECT_EQ(Edit("edSampleName")->text(), QStringLiteral("(...)"));
    EXPECT_EQ(Edit("edSQR")->text(), QStringLiteral("555"));
    EXPECT_EQ(store.PeriodMs, 200);
    EXPECT_EQ(store.AreaMm2, 7);

    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    const TFileDialogSetup& dialog = dialogs.fileDialogs.front();
    EXPECT_EQ(dialog.Title, QStringLiteral("Открыть результаты испытания..."));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Файлы результатов испытаний (*.ktd)"));
    EXPECT_EQ(dialog.InitialDir, platform::ProgramDir() + QStringLiteral("DBCustom"));
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("ktd"));
    EXPECT_FALSE(dialog.ConfirmOverwrite);
}

TEST_F(RecordsTest, UnreadableFileIsReportedAndTheShownTestStays) {
    MakeTestFile(PathOf("good.ktd"), threeSamples);
    Open(PathOf("good.ktd"));
    ASSERT_EQ(store.Count, 3);
    WriteAll(PathOf("short.ktd"), QByteArray(50, 'x'));
    for (const char* name : {"short.ktd", "missing.ktd"}) {
        SCOPED_TRACE(name);
        dialogs.messages.clear();
        Open(PathOf(name));
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().contains(QDir::toNativeSeparators(PathOf(name))));
        EXPECT_EQ(store.Count, 3);
        EXPECT_EQ(store.ForceN[1], 2500);
        EXPECT_EQ(samplesLoaded, 1) << "the chart keeps the shown test";
        EXPECT_EQ(Label("lbInfoTest")->text(), QStringLiteral("Test-1"));
        EXPECT_TRUE(InProgramFolder());
    }
}

TEST_F(RecordsTest, CancelledOpenChangesNothing) {
    Click(Button("btOpenTest"));
    EXPECT_FALSE(Widget("pnInfo")->isVisible());
    EXPECT_FALSE(Button("btProtocol")->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(samplesLoaded, 0);
}

TEST_F(RecordsTest, TruncatedFileLoadsItsWholeRecordsAndSaysHowMany) {
    MakeTestFile(PathOf("cut.ktd"),
                 StoreOf({{0, 1000}, {100, 2500}, {200, 1800}, {300, 900}, {400, 100}}));
    ASSERT_TRUE(QFile::resize(PathOf("cut.ktd"), 120 + 3 * 8 + 5));
    Open(PathOf("cut.ktd"));
    EXPECT_EQ(store.Count, 3);
    EXPECT_EQ(samplesLoaded, 1);
    EXPECT_TRUE(Widget("pnInfo")->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(QStringLiteral(" 3 из 5 ")))
        << dialogs.messages.front().toStdString();
}

// ---- CSV table ----

TEST_F(RecordsTest, CsvTableHoldsTheOpenedTestExactly) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    dialogs.fileAnswers = {PathOf("a.csv")};
    Click(Button("btToExel"));
    EXPECT_EQ(ReadAll(PathOf("a.csv")), QByteArray("     T, ms    \t     F, N     \n"
                                                   " 0 \t  1000  \n"
                                                   " 100 \t  2500  \n"
                                                   " 200 \t  1800  \n"));
    ASSERT_EQ(dialogs.fileDialogs.size(), 2);
    const TFileDialogSetup& dialog = dialogs.fileDialogs.back();
    EXPECT_EQ(dialog.Title, QStringLiteral("Преобразовать в CSV формат..."));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Файлы (*.csv)"));
    EXPECT_EQ(dialog.InitialDir, platform::ProgramDir() + QStringLiteral("DBCustom"));
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("csv"));
    EXPECT_TRUE(dialog.ConfirmOverwrite);
    EXPECT_TRUE(InProgramFolder());
}

TEST_F(RecordsTest, FailedCsvExportNamesTheFile) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    const QString unwritable = UnwritablePath();
    dialogs.fileAnswers = {unwritable};
    Click(Button("btToExel"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(QDir::toNativeSeparators(unwritable)));
}

// ---- Protocol ----

TEST_F(RecordsTest, ProtocolPrintsTheChartWithItsHeadingTwice) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    for (const char* pdf : {"first.pdf", "second.pdf"}) {
        SCOPED_TRACE(pdf);
        dialogs.pdfPath = PathOf(pdf);
        Click(Button("btProtocol"));
        const QByteArray printed = ReadAll(dialogs.pdfPath);
        EXPECT_TRUE(printed.startsWith("%PDF")) << printed.size() << " bytes";
        EXPECT_GT(printed.size(), 1000);
        EXPECT_FALSE(chart->TitleShown());
        const QStringList heading = chart->TitleLines();
        ASSERT_EQ(heading.size(), 6);
        EXPECT_TRUE(heading[1].contains(QStringLiteral("от 12.12.2011 ")));
        EXPECT_TRUE(heading[1].contains(QStringLiteral("Test-1")));
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RecordsTest, ProtocolNotPrintedSaysSoAndHidesTheHeading) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    const struct {
        const char* name;
        QString pdfPath;
    } rows[] = {
        {"no printer installed", QString()},
        {"the printer refuses the job", UnwritablePath()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.messages.clear();
        dialogs.pdfPath = row.pdfPath;
        Click(Button("btProtocol"));
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().contains(QStringLiteral("Протокол не напечатан")));
        EXPECT_FALSE(chart->TitleShown());
    }
}

// ---- Protocol as a PDF file, without a printer ----

// The text of a PDF file, or of one of its properties, as poppler's tools read it.
QString PdfTool(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << tool << " failed (package poppler-utils): "
                      << process.readAllStandardError().toStdString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& path) {
    return PdfTool("pdftotext", {QStringLiteral("-raw"), path, QStringLiteral("-")});
}

TEST_F(RecordsTest, WithoutPrinterTheProtocolIsSavedAsAPdfOfTheSamePage) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    dialogs.pdfPath = PathOf("printed.pdf");
    Click(Button("btProtocol"));
    ASSERT_TRUE(dialogs.questions.isEmpty()) << "a printer prints without asking";

    dialogs.pdfPath.clear();
    dialogs.questionAnswers = {true};
    const QString pdf = PathOf("DBCustom/protocol.pdf");
    dialogs.fileAnswers = {pdf};
    QDir::setCurrent(QDir::tempPath());
    Click(Button("btProtocol"));

    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.questions.front().contains(QStringLiteral("PDF")));
    ASSERT_EQ(dialogs.fileDialogs.size(), 2);
    const TFileDialogSetup& dialog = dialogs.fileDialogs.back();
    EXPECT_EQ(dialog.Title, QStringLiteral("Сохранить протокол в PDF..."));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Файлы PDF (*.pdf)"));
    EXPECT_EQ(dialog.InitialDir, platform::ProgramDir() + QStringLiteral("DBCustom"));
    EXPECT_EQ(dialog.FileName, QStringLiteral("a.pdf")) << "named after the opened test file";
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(dialog.ConfirmOverwrite);
    EXPECT_TRUE(InProgramFolder());
    EXPECT_FALSE(chart->TitleShown());
    EXPECT_EQ(
        dialogs.messages,
        QStringList(
            QStringLiteral("Протокол сохранён в файл \"%1\".").arg(QDir::toNativeSeparators(pdf))));

    const QString info = PdfTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";

    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("ПРОТОКОЛ ИСПЫТАНИЯ от 12.12.2011")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Test-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("маркировка - M-7")));
    EXPECT_EQ(text, PdfText(PathOf("printed.pdf"))) << "the page the printer got, word for word";
}

TEST_F(RecordsTest, RefusedOrCancelledPdfWritesNothing) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    const struct {
        const char* name;
        bool saveAsPdf;
        QStringList messages;
    } rows[] = {
        {"refused",
         false,
         {QStringLiteral("Протокол не напечатан: в системе не установлен принтер по умолчанию.")}},
        {"save dialog cancelled", true, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.messages.clear();
        dialogs.fileDialogs.clear();
        dialogs.questionAnswers = {row.saveAsPdf};
        Click(Button("btProtocol"));
        EXPECT_EQ(dialogs.fileDialogs.size(), row.saveAsPdf ? 1 : 0);
        EXPECT_EQ(dialogs.messages, row.messages);
        EXPECT_FALSE(chart->TitleShown());
        EXPECT_TRUE(QDir(PathOf("DBCustom")).entryList(QDir::Files).isEmpty());
    }
}

TEST_F(RecordsTest, FailedPdfNamesTheFileAndLeavesTheOldOneAsItWas) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    const QString earlier = PathOf("DBCustom/a.pdf");
    WriteAll(earlier, "an earlier protocol");
    const struct {
        const char* name;
        QString path;
        rlim_t diskLeft;  // bytes a file may grow to
    } rows[] = {
        {"folder is a file", UnwritablePath(), RLIM_INFINITY},
        {"disk full", earlier, 4096},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.messages.clear();
        dialogs.questionAnswers = {true};
        dialogs.fileAnswers = {row.path};
        {
            const FileSizeLimit disk(row.diskLeft);
            Click(Button("btProtocol"));
        }
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.front().startsWith(
            QStringLiteral("Не удалось сохранить протокол в файл \"%1\": ")
                .arg(QDir::toNativeSeparators(row.path))))
            << dialogs.messages.front().toStdString();
        EXPECT_FALSE(chart->TitleShown());
        EXPECT_EQ(ReadAll(earlier), QByteArray("an earlier protocol"));
        EXPECT_EQ(QDir(PathOf("DBCustom")).entryList(QDir::Files), QStringList{"a.pdf"});
    }
}

// ---- Keyboard ----

class ShortcutTest : public RecordsTest {
  protected:
    void SetUp() override {
        RecordsTest::SetUp();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
};

TEST_F(ShortcutTest, KeysClickTheFileButtonsOnlyWhileEnabled) {
    const struct {
        const char* button;
        Qt::Key key;
        const char* hint;
        const char* tooltip;
    } rows[] = {
        {"btOpenTest", Qt::Key_O, "открыть испытание...", "открыть испытание... (Ctrl+O)"},
        {"btSaveTest", Qt::Key_S, "сохранить испытание...", "сохранить испытание... (Ctrl+S)"},
        {"btProtocol", Qt::Key_P, "печать протокола...", "печать протокола... (Ctrl+P)"},
        {"btToExel", Qt::Key_E, "преобразовать в  CSV", "преобразовать в  CSV (Ctrl+E)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        QPushButton* button = Button(row.button);
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(row.hint));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(row.tooltip));
        int clicks = 0;
        const QMetaObject::Connection counting =
            QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });

        button->setEnabled(false);
        QTest::keyClick(&host, row.key, Qt::ControlModifier);
        QTest::qWait(250);  // a click by key comes after a short pressed look
        EXPECT_EQ(clicks, 0) << "a disabled button takes no key";

        button->setEnabled(true);
        QTest::keyClick(&host, row.key, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 2000));
        QObject::disconnect(counting);
    }
    EXPECT_EQ(dialogs.fileDialogs.size(), 3) << "open, save and CSV asked for their files";
    EXPECT_EQ(dialogs.questions.size(), 1) << "the protocol, without a printer, asked";
}

TEST_F(ShortcutTest, FileKeysReachTheirButtonsFromTheEntryBoxes) {
    RecordThree();
    for (QPushButton* button : {Button("btProtocol"), Button("btToExel")}) {
        button->setEnabled(true);
    }
    int clicks = 0;
    for (const char* button : {"btOpenTest", "btSaveTest", "btProtocol", "btToExel"}) {
        QObject::connect(Button(button), &QPushButton::clicked, [&clicks] { ++clicks; });
    }
    int expected = 0;
    for (const char* box : {"edTestName", "edSampleName", "edSampleType", "edSQR"}) {
        SCOPED_TRACE(box);
        for (const Qt::Key key : {Qt::Key_O, Qt::Key_S, Qt::Key_P, Qt::Key_E}) {
            Edit(box)->setFocus();
            ASSERT_TRUE(QTest::qWaitFor([&] { return Edit(box)->hasFocus(); }, 2000));
            QTest::keyClick(Edit(box), key, Qt::ControlModifier);
            ++expected;
            EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == expected; }, 2000))
                << "key " << QKeySequence(key).toString().toStdString();
            clicks = expected;
        }
    }
}

// ---- Area entry box ----

TEST_F(RecordsTest, AreaBoxTakesDigitsOnlyAndNoSecondLeadingZero) {
    const struct {
        const char* before;
        QString typed;
        const char* after;
        bool whitened;  // any typed digit, even a refused 0, turns the box white
    } rows[] = {
        {"", QStringLiteral("0"), "0", true},      {"0", QStringLiteral("0"), "0", true},
        {"0", QStringLiteral("5"), "05", true},    {"12", QStringLiteral("a-,.+ "), "12", false},
        {"12", QStringLiteral("\b"), "12", false}, {"12345", QStringLiteral("6"), "12345", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + std::string(" + ") + row.typed.toStdString());
        Edit("edSQR")->setText(QString::fromLatin1(row.before));
        QPalette yellow = Edit("edSQR")->palette();
        yellow.setColor(QPalette::Base, Qt::yellow);
        Edit("edSQR")->setPalette(yellow);
        if (row.typed == QStringLiteral("\b")) {
            QTest::keyClick(Edit("edSQR"), Qt::Key_Backspace);
        } else {
            QTest::keyClicks(Edit("edSQR"), row.typed);
        }
        EXPECT_EQ(Edit("edSQR")->text(), QString::fromLatin1(row.after));
        EXPECT_EQ(Edit("edSQR")->palette().color(QPalette::Base),
                  row.whitened ? QColor(Qt::white) : QColor(Qt::yellow));
    }
}

TEST_F(RecordsTest, PastedAreaMustBeDigitsToo) {
    const struct {
        const char* pasted;
        const char* after;
    } rows[] = {{"34", "1234"}, {"3a", "12"}, {"-5", "12"}, {"1,5", "12"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pasted);
        Edit("edSQR")->setText(QStringLiteral("12"));
        QGuiApplication::clipboard()->setText(QString::fromLatin1(row.pasted));
        Edit("edSQR")->paste();
        EXPECT_EQ(Edit("edSQR")->text(), QString::fromLatin1(row.after));
    }
}

class AreaFocusTest : public RecordsTest {
  protected:
    void SetUp() override {
        RecordsTest::SetUp();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        Edit("edSQR")->setFocus();
        ASSERT_TRUE(Edit("edSQR")->hasFocus());
    }
};

TEST_F(AreaFocusTest, LeavingAnEmptyBoxPutsZero) {
    Edit("edSQR")->clear();
    Edit("edTestName")->setFocus();
    EXPECT_EQ(Edit("edSQR")->text(), QStringLiteral("0"));
}

TEST_F(AreaFocusTest, TabMovesOnToTheNextControl) {
    Edit("edSQR")->setText(QStringLiteral("250"));
    QTest::keyClick(Edit("edSQR"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button("btOpenTest"));
    EXPECT_EQ(Edit("edSQR")->text(), QStringLiteral("250"));
    QTest::keyClick(Button("btOpenTest"), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Edit("edSQR"));
}

}  // namespace
