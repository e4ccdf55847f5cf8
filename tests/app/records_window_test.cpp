// Test records through the window: saving a registration, opening a test file, the CSV table,
// the printed protocol and the area entry box.
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "chart/chart.h"
#include "platform/program_dir.h"
#include "records/records_test_util.h"
#include "records/test_file.h"
#include "window_driver.h"

namespace {

class RecordsTest : public DrivenWindowTest {
  protected:
    QString PathOf(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    // A test file as another session of the program would have saved it.
    void MakeTestFile(const QString& path, const TSampleStore& store, const char* area = "100") {
        const TSpecimenData header =
            FillForSave(QDate(2011, 12, 12), QStringLiteral("Test-1"), QStringLiteral("M-7"),
                        QStringLiteral("куб"), QString::fromLatin1(area), store.Count, 100);
        ASSERT_TRUE(records::SaveTestFile(path, header, store).ok);
    }

    void Open(const QString& path) {
        script->fileAnswers = {path};
        Click(form->btOpenTest);
    }

    // A registration of 3 samples, stopped: saving is offered.
    void RecordThree() {
        Record(3);
        Click(form->btStop);
        ASSERT_TRUE(form->btSaveTest->isEnabled());
    }

    bool InProgramFolder() const {
        return QFileInfo(QDir::currentPath()) == QFileInfo(platform::ProgramDir());
    }

    // Places where no file can be made: a folder that is a regular file, a missing folder.
    QString UnwritablePath() {
        WriteAll(PathOf("plain"), "not a folder");
        return PathOf("plain/test.ktd");
    }

    const TSampleStore threeSamples = StoreOf({{0, 1000}, {100, 2500}, {200, 1800}});
};

// ---- Saving ----

TEST_F(RecordsTest, SaveWritesTheRegistrationAndOffersProtocolAndTable) {
    form->edTestName->setText(QStringLiteral("Test-1"));
    form->edSQR->clear();
    RecordThree();
    QDir::setCurrent(QDir::tempPath());
    script->fileAnswers = {PathOf("saved.ktd")};
    Click(form->btSaveTest);

    const QByteArray bytes = ReadAll(PathOf("saved.ktd"));
    ASSERT_EQ(bytes.size(), 144);
    EXPECT_EQ(bytes.mid(20, 4), QByteArray("\x03\0\0\0", 4));
    EXPECT_EQ(bytes.mid(36, 7), QByteArray("Test-1\0", 7));
    EXPECT_EQ(bytes.mid(108, 2), QByteArray("0\0", 2)) << "an empty area is saved as 0";
    EXPECT_EQ(form->edSQR->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Specimen.TestNameString(), QStringLiteral("Test-1"));

    EXPECT_FALSE(form->btSaveTest->isEnabled());
    EXPECT_TRUE(form->btToExel->isEnabled());
    EXPECT_TRUE(form->btProtocol->isEnabled());
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());

    ASSERT_EQ(script->fileDialogs.size(), 1);
    const TFileDialogSetup& dialog = script->fileDialogs.front();
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
    script->fileAnswers = {unwritable};
    Click(form->btSaveTest);
    ASSERT_EQ(script->messages.size(), 1);
    EXPECT_TRUE(script->messages.front().contains(QDir::toNativeSeparators(unwritable)))
        << script->messages.front().toStdString();
    EXPECT_TRUE(form->btSaveTest->isEnabled());
    EXPECT_FALSE(form->btToExel->isEnabled());
    EXPECT_FALSE(form->btProtocol->isEnabled());
    EXPECT_EQ(form->Specimen.SampleCount, 0) << "the protocol still belongs to no test";

    script->fileAnswers = {PathOf("second-try.ktd")};
    Click(form->btSaveTest);
    EXPECT_EQ(ReadAll(PathOf("second-try.ktd")).size(), 144);
    EXPECT_FALSE(form->btSaveTest->isEnabled());
}

TEST_F(RecordsTest, CancelledSaveChangesNothing) {
    RecordThree();
    form->edSQR->clear();
    QDir::setCurrent(QDir::tempPath());
    Click(form->btSaveTest);
    EXPECT_TRUE(form->btSaveTest->isEnabled());
    EXPECT_FALSE(form->btToExel->isEnabled());
    EXPECT_EQ(form->edSQR->text(), QString());
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.ktd")}, QDir::Files).size(), 0);
}

// ---- Opening ----

TEST_F(RecordsTest, OpenShowsTheTestInThePanelAndOnTheChartOnly) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Feed(52428, 10);  // the live force and maximum: 100 kN
    Tick();
    const QStringList indicators = {form->stFORCE->text(), form->stMaxForce->text(),
                                    form->lbRmax->text()};
    form->edTestName->setText(QStringLiteral("keep me"));
    form->edSQR->setText(QStringLiteral("555"));
    form->Store.PeriodMs = 200;
    form->Store.AreaMm2 = 7;
    QDir::setCurrent(QDir::tempPath());

    Open(PathOf("a.ktd"));
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_TRUE(InProgramFolder());
    EXPECT_TRUE(form->pnInfo->isVisible());
    EXPECT_EQ(form->lbInfoDate->text(), QStringLiteral("12.12.2011"));
    EXPECT_EQ(form->lbInfoTest->text(), QStringLiteral("Test-1"));
    EXPECT_EQ(form->lbInfoMark->text(), QStringLiteral("M-7"));
    EXPECT_EQ(form->lbInfoType->text(), QStringLiteral("куб"));
    EXPECT_EQ(form->lbInfoSQR->text(), QStringLiteral("100"));
    EXPECT_EQ(form->lbInfoFmax->text(), QStringLiteral("2.500   "));
    EXPECT_EQ(form->lbInfoRmax->text(), QStringLiteral("25.000  "));

    EXPECT_EQ(form->Store.Count, 3);
    EXPECT_EQ(form->Store.ForceN[1], 2500);
    EXPECT_EQ(form->Store.TimeMs[2], 200);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 3);
    EXPECT_DOUBLE_EQ(form->chrtSignTraces->LeftAxis().Maximum(), 3.0);
    EXPECT_DOUBLE_EQ(form->chrtSignTraces->BottomAxis().Maximum(), 0.22);

    EXPECT_TRUE(form->btProtocol->isEnabled());
    EXPECT_TRUE(form->btToExel->isEnabled());
    EXPECT_FALSE(form->btSaveTest->isEnabled());
    EXPECT_EQ(form->edTestName->text(), QStringLiteral("keep me"));
    EXPECT_EQ(form->edSampleName->text(), QStringLiteral("(...)"));
    EXPECT_EQ(form->edSQR->text(), QStringLiteral("555"));
    EXPECT_EQ(form->Store.PeriodMs, 200);
    EXPECT_EQ(form->Store.AreaMm2, 7);
    EXPECT_DOUBLE_EQ(form->Measure.MaxForce, 100);
    EXPECT_EQ((QStringList{form->stFORCE->text(), form->stMaxForce->text(), form->lbRmax->text()}),
              indicators);

    ASSERT_EQ(script->fileDialogs.size(), 1);
    const TFileDialogSetup& dialog = script->fileDialogs.front();
    EXPECT_EQ(dialog.Title, QStringLiteral("Открыть результаты испытания..."));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Файлы результатов испытаний (*.ktd)"));
    EXPECT_EQ(dialog.InitialDir, platform::ProgramDir() + QStringLiteral("DBCustom"));
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("ktd"));
    EXPECT_FALSE(dialog.ConfirmOverwrite);
}

TEST_F(RecordsTest, UnreadableFileIsReportedAndTheShownTestStays) {
    MakeTestFile(PathOf("good.ktd"), threeSamples);
    Open(PathOf("good.ktd"));
    ASSERT_EQ(form->Store.Count, 3);
    WriteAll(PathOf("short.ktd"), QByteArray(50, 'x'));
    for (const char* name : {"short.ktd", "missing.ktd"}) {
        SCOPED_TRACE(name);
        script->messages.clear();
        Open(PathOf(name));
        ASSERT_EQ(script->messages.size(), 1);
        EXPECT_TRUE(script->messages.front().contains(QDir::toNativeSeparators(PathOf(name))));
        EXPECT_EQ(form->Store.Count, 3);
        EXPECT_EQ(form->Store.ForceN[1], 2500);
        EXPECT_EQ(form->chrtSignTraces->Series().Count(), 3);
        EXPECT_EQ(form->lbInfoTest->text(), QStringLiteral("Test-1"));
        EXPECT_TRUE(InProgramFolder());
    }
}

TEST_F(RecordsTest, CancelledOpenChangesNothing) {
    Click(form->btOpenTest);
    EXPECT_FALSE(form->pnInfo->isVisible());
    EXPECT_FALSE(form->btProtocol->isEnabled());
    EXPECT_TRUE(script->messages.isEmpty());
}

TEST_F(RecordsTest, TruncatedFileLoadsItsWholeRecordsAndSaysHowMany) {
    MakeTestFile(PathOf("cut.ktd"),
                 StoreOf({{0, 1000}, {100, 2500}, {200, 1800}, {300, 900}, {400, 100}}));
    ASSERT_TRUE(QFile::resize(PathOf("cut.ktd"), 120 + 3 * 8 + 5));
    Open(PathOf("cut.ktd"));
    EXPECT_EQ(form->Store.Count, 3);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 3);
    EXPECT_TRUE(form->pnInfo->isVisible());
    ASSERT_EQ(script->messages.size(), 1);
    EXPECT_TRUE(script->messages.front().contains(QStringLiteral(" 3 из 5 ")))
        << script->messages.front().toStdString();
}

// ---- CSV table ----

TEST_F(RecordsTest, CsvTableHoldsTheOpenedTestExactly) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    script->fileAnswers = {PathOf("a.csv")};
    Click(form->btToExel);
    EXPECT_EQ(ReadAll(PathOf("a.csv")), QByteArray("     T, ms    \t     F, N     \n"
                                                   " 0 \t  1000  \n"
                                                   " 100 \t  2500  \n"
                                                   " 200 \t  1800  \n"));
    ASSERT_EQ(script->fileDialogs.size(), 2);
    const TFileDialogSetup& dialog = script->fileDialogs.back();
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
    script->fileAnswers = {unwritable};
    Click(form->btToExel);
    ASSERT_EQ(script->messages.size(), 1);
    EXPECT_TRUE(script->messages.front().contains(QDir::toNativeSeparators(unwritable)));
}

// ---- Protocol ----

TEST_F(RecordsTest, ProtocolPrintsTheChartWithItsHeadingTwice) {
    MakeTestFile(PathOf("a.ktd"), threeSamples);
    Open(PathOf("a.ktd"));
    for (const char* pdf : {"first.pdf", "second.pdf"}) {
        SCOPED_TRACE(pdf);
        script->pdfPath = PathOf(pdf);
        Click(form->btProtocol);
        const QByteArray printed = ReadAll(script->pdfPath);
        EXPECT_TRUE(printed.startsWith("%PDF")) << printed.size() << " bytes";
        EXPECT_GT(printed.size(), 1000);
        EXPECT_FALSE(form->chrtSignTraces->TitleShown());
        const QStringList heading = form->chrtSignTraces->TitleLines();
        ASSERT_EQ(heading.size(), 6);
        EXPECT_TRUE(heading[1].contains(QStringLiteral("от 12.12.2011 ")));
        EXPECT_TRUE(heading[1].contains(QStringLiteral("Test-1")));
    }
    EXPECT_TRUE(script->messages.isEmpty());
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
        script->messages.clear();
        script->pdfPath = row.pdfPath;
        Click(form->btProtocol);
        ASSERT_EQ(script->messages.size(), 1);
        EXPECT_TRUE(script->messages.front().contains(QStringLiteral("Протокол не напечатан")));
        EXPECT_FALSE(form->chrtSignTraces->TitleShown());
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
        form->edSQR->setText(QString::fromLatin1(row.before));
        QPalette yellow = form->edSQR->palette();
        yellow.setColor(QPalette::Base, Qt::yellow);
        form->edSQR->setPalette(yellow);
        if (row.typed == QStringLiteral("\b")) {
            QTest::keyClick(form->edSQR, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(form->edSQR, row.typed);
        }
        EXPECT_EQ(form->edSQR->text(), QString::fromLatin1(row.after));
        EXPECT_EQ(form->edSQR->palette().color(QPalette::Base),
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
        form->edSQR->setText(QStringLiteral("12"));
        QGuiApplication::clipboard()->setText(QString::fromLatin1(row.pasted));
        form->edSQR->paste();
        EXPECT_EQ(form->edSQR->text(), QString::fromLatin1(row.after));
    }
}

class AreaFocusTest : public RecordsTest {
  protected:
    void SetUp() override {
        RecordsTest::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->edSQR->setFocus();
        ASSERT_TRUE(form->edSQR->hasFocus());
    }
};

TEST_F(AreaFocusTest, LeavingAnEmptyBoxPutsZero) {
    form->edSQR->clear();
    form->edTestName->setFocus();
    EXPECT_EQ(form->edSQR->text(), QStringLiteral("0"));
}

TEST_F(AreaFocusTest, TabMovesOnToTheNextControl) {
    form->edSQR->setText(QStringLiteral("250"));
    QTest::keyClick(form->edSQR, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->btOpenTest);
    EXPECT_EQ(form->edSQR->text(), QStringLiteral("250"));
    QTest::keyClick(form->btOpenTest, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form->edSQR);
}

}  // namespace
