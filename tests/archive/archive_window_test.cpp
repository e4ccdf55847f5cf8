// The archive window on a real embedded archive: the rows newest first with their texts, the
// filter line, sorting by a heading, the file column, the selected test's curve, new entries
// and the queue seen while it is open, an archive out of reach, and opening in the recorder.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "archive/archive_queue.h"
#include "archive/window_main.h"
#include "archive/window_test_view.h"
#include "archive_test_support.h"
#include "archive_window_fixture.h"
#include "chart/chart.h"
#include "support/controls.h"
#include "support/wait.h"

namespace {

using archive::TArchiveEntry;
using archive::TWindowColumn;

QDateTime LocalNoon(int day) {
    return QDateTime(QDate(2026, 3, day), QTime(12, 0)).toUTC();
}

TArchiveEntry Entry(int n, const QString& name, const QString& machine, int day) {
    TArchiveEntry entry = SampleEntry(n);
    entry.testName = name;
    entry.machine = machine;
    entry.savedAt = LocalNoon(day);
    return entry;
}

TEST_F(ArchiveWindow, RowsComeNewestFirstWithTheirTexts) {
    Store({SampleEntry(1), SampleEntry(3), SampleEntry(2)});
    archive::TArchiveWindow& window = Open();
    EXPECT_EQ(ColumnTexts(TWindowColumn::TestName),
              QStringList({"Испытание 3", "Испытание 2", "Испытание 1"}));
    const QString savedAt =
        SampleEntry(3).savedAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const QStringList expected{savedAt, "Испытание 3", "М-3",   "куб",   "100",
                               "3.000", "30.000",      "П-125", "Иванов"};
    EXPECT_EQ(RowTexts(0).mid(0, 9), expected);
    EXPECT_EQ(FindControl<QLabel>(window, "lbCounts")->text(),
              QStringLiteral("Показано испытаний: 3 из 3 в архиве"));
}

// A series is made of the selected rows in the table's order, whichever was selected first.
TEST_F(ArchiveWindow, TheSelectedRowsMakeTheSeriesInTheTablesOrder) {
    Store({SampleEntry(1), SampleEntry(2), SampleEntry(3)});
    archive::TArchiveWindow& window = Open();
    QItemSelectionModel& selection = *window.Table().selectionModel();
    const auto select = [&](int row) {
        selection.select(window.Table().model()->index(row, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    select(2);
    select(0);
    const std::vector<qint64> ids = window.SelectedIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], window.Rows().EntryAt(0)->id);
    EXPECT_EQ(ids[1], window.Rows().EntryAt(2)->id);
    EXPECT_TRUE(FindControl<QPushButton>(window, "btSeries")->isEnabled());
}

TEST_F(ArchiveWindow, FilterTextPressAndDaysNarrowTheRows) {
    Store({Entry(1, "Бетон В25", "П-125", 1), Entry(2, "Балка", "П-500", 10),
           Entry(3, "Бетон В30", "П-500", 20)});
    const struct {
        const char* text;
        const char* machine;  // nullptr: every press
        int fromDay;          // 0: no span of days
        int toDay;
        QStringList names;
    } cases[] = {
        {"бетон", nullptr, 0, 0, {"Бетон В30", "Бетон В25"}},
        {"", "П-500", 0, 0, {"Бетон В30", "Балка"}},
        {"", nullptr, 5, 15, {"Балка"}},
        {"", nullptr, 10, 10, {"Балка"}},  // the last day counts whole
        {"", nullptr, 11, 19, {}},
        {"БЕТОН", "П-500", 0, 0, {"Бетон В30"}},
        {"иванов", nullptr, 0, 0, {"Бетон В30", "Балка", "Бетон В25"}},  // the operator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3-%4")
                         .arg(c.text, c.machine ? c.machine : "*")
                         .arg(c.fromDay)
                         .arg(c.toDay)
                         .toStdString());
        archive::TArchiveWindow& window = Open();
        if (*c.text != '\0') {
            Relisted([&] { FindControl<QLineEdit>(window, "edFilter")->setText(c.text); });
        }
        if (c.machine != nullptr) {
            auto* press = FindControl<QComboBox>(window, "cbMachine");
            ASSERT_TRUE(WaitUntil([&] { return press->findText(c.machine) > 0; }));
            EXPECT_EQ(press->itemText(0), QStringLiteral("все прессы"));
            Relisted([&] { press->setCurrentIndex(press->findText(c.machine)); });
        }
        if (c.fromDay != 0) {
            FindControl<QDateEdit>(window, "deFrom")->setDate(QDate(2026, 3, c.fromDay));
            FindControl<QDateEdit>(window, "deTo")->setDate(QDate(2026, 3, c.toDay));
            Relisted([&] { FindControl<QCheckBox>(window, "cbPeriod")->setChecked(true); });
        }
        EXPECT_EQ(ColumnTexts(TWindowColumn::TestName), c.names);
        EXPECT_EQ(FindControl<QLabel>(window, "lbCounts")->text(),
                  QStringLiteral("Показано испытаний: %1 из 3 в архиве").arg(c.names.size()));
        Close();
    }
}

TEST_F(ArchiveWindow, AHeadingClickSortsByItsColumnAndASecondTurnsTheOrder) {
    // Numbers sort as numbers: 2 < 5 < 10, where their texts would give 10 < 2 < 5.
    Store({SampleEntry(2), SampleEntry(10), SampleEntry(5)});
    const struct {
        TWindowColumn column;
        QStringList ascending;
    } cases[] = {
        {TWindowColumn::Fmax, {"2.000", "5.000", "10.000"}},
        {TWindowColumn::TestName, {"10.000", "2.000", "5.000"}},
    };
    for (const auto& c : cases) {
        archive::TArchiveWindow& window = Open();
        QHeaderView* heading = window.Table().horizontalHeader();
        const int column = int(c.column);
        const QPoint middle(
            heading->sectionViewportPosition(column) + heading->sectionSize(column) / 2,
            heading->height() / 2);
        QStringList descending = c.ascending;
        std::reverse(descending.begin(), descending.end());
        for (int click = 0; click < 2; ++click) {
            Relisted([&] { QTest::mouseClick(heading->viewport(), Qt::LeftButton, {}, middle); });
            EXPECT_EQ(heading->sortIndicatorSection(), column);
            EXPECT_EQ(
                ColumnTexts(TWindowColumn::Fmax),
                heading->sortIndicatorOrder() == Qt::AscendingOrder ? c.ascending : descending)
                << "click " << click;
        }
        Close();
    }
}

TEST_F(ArchiveWindow, TheFileColumnTellsIntactChangedMissingAndAnotherPcs) {
    const TArchiveEntry intact = SavedFile("intact", {1000, 2000, 1500}, 4);
    const TArchiveEntry changed = SavedFile("changed", {1000, 2000, 1500}, 3);
    const TArchiveEntry missing = SavedFile("missing", {1000, 2000, 1500}, 2);
    TArchiveEntry elsewhere = SampleEntry(1);
    elsewhere.hostName = QStringLiteral("another-press-pc");
    Store({intact, changed, missing, elsewhere});
    QByteArray bytes = ReadBytes(changed.filePath);
    bytes[130] = char(bytes[130] ^ 1);
    WriteBytes(changed.filePath, bytes);
    ASSERT_TRUE(QFile::remove(missing.filePath));

    Open();
    const QStringList expected{"в порядке", "изменён", "нет файла", "на другом ПК"};
    QStringList states;
    EXPECT_TRUE(WaitUntil([&] {
        states = ColumnTexts(TWindowColumn::File);
        return states == expected;
    })) << states.join(", ").toStdString();
}

TEST_F(ArchiveWindow, SelectingARowDrawsItsCurveWithItsTextsUnderIt) {
    Store(
        {SavedFile("five", {1000, 2500, 1800, 500, 0}, 2), SavedFile("three", {400, 900, 100}, 1)});
    archive::TArchiveWindow& window = Open();
    WaitForRows();
    TChart& chart = window.TestView().Chart();
    const struct {
        int row;
        int points;
        const char* test;
        const char* fmax;
        const char* rmax;
    } cases[] = {{0, 5, "five", "2.500   ", "25.000  "}, {1, 3, "three", "0.900   ", "9.000   "}};
    for (const auto& c : cases) {
        SelectRow(c.row);
        EXPECT_TRUE(WaitUntil([&] { return chart.Series().Count() == c.points; }))
            << "row " << c.row << ": " << chart.Series().Count() << " points";
        EXPECT_EQ(FindControl<QLabel>(window, "lbInfoTest")->text(), c.test);
        EXPECT_EQ(FindControl<QLabel>(window, "lbInfoFmax")->text(), c.fmax);
        EXPECT_EQ(FindControl<QLabel>(window, "lbInfoRmax")->text(), c.rmax);
        EXPECT_EQ(FindControl<QLabel>(window, "lbInfoSQR")->text(), "100");
        EXPECT_EQ(FindControl<QLabel>(window, "lbInfoDate")->text(), "14.03.2026");
    }
}

TEST_F(ArchiveWindow, NewEntriesAndTheQueueShowWhileTheWindowIsOpen) {
    Store({SampleEntry(1)});
    archive::TArchiveWindow& window = Open();
    WaitForRows();
    SelectRow(0);
    Store({SampleEntry(2)});
    EXPECT_TRUE(WaitUntil([&] { return Rows().rowCount() == 2; }));
    EXPECT_EQ(ColumnTexts(TWindowColumn::TestName), QStringList({"Испытание 2", "Испытание 1"}));
    // The selection stays with its test.
    EXPECT_EQ(window.Table().selectionModel()->currentIndex().row(), 1);

    auto* counts = FindControl<QLabel>(window, "lbCounts");
    ASSERT_TRUE(archive::TArchiveQueue(settings_.queueFolder).Put(SampleEntry(3)).isEmpty());
    EXPECT_TRUE(WaitUntil([&] {
        return counts->text().contains("В очереди на внесение в архив: 1");
    })) << counts->text().toStdString();
}

TEST_F(ArchiveWindow, AnArchiveOutOfReachIsSaidInTheWindowUntilItCanBeRead) {
    const QString away = PathOf(QStringLiteral("not-yet"));
    settings_.databasePath = away + QStringLiteral("/VE17-archive.sqlite");
    archive::TArchiveWindow& window = Open();
    auto* error = FindControl<QLabel>(window, "lbArchiveError");
    EXPECT_TRUE(WaitUntil([&] { return error->isVisible(); }));
    EXPECT_TRUE(error->text().contains(QStringLiteral("недоступна")))
        << error->text().toStdString();
    EXPECT_EQ(Rows().rowCount(), 0);

    ASSERT_TRUE(QDir().mkpath(away));
    Store({SampleEntry(1)});
    EXPECT_TRUE(WaitUntil([&] { return !error->isVisible() && Rows().rowCount() == 1; }));
}

TEST_F(ArchiveWindow, OpeningInTheRecorderSaysFirstWhatIsWrongWithTheFile) {
    const TArchiveEntry intact = SavedFile("intact", {1000, 2000, 1500}, 3);
    const TArchiveEntry changed = SavedFile("changed", {1000, 2000, 1500}, 2);
    const TArchiveEntry missing = SavedFile("missing", {1000, 2000, 1500}, 1);
    Store({intact, changed, missing});
    WriteBytes(changed.filePath, ReadBytes(changed.filePath) + QByteArray(8, '\0'));
    ASSERT_TRUE(QFile::remove(missing.filePath));
    const struct {
        int row;
        bool answer;  // to a question, if one is asked
        int questions;
        int messages;
        bool started;
    } cases[] = {
        {0, false, 0, 0, true},
        {1, false, 1, 0, false},
        {1, true, 1, 0, true},
        {2, true, 0, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        dialogs_ = {};
        dialogs_.questionAnswers = {c.answer};
        started_.clear();
        archive::TArchiveWindow& window = Open();
        WaitForRows();
        SelectRow(c.row);
        auto* button = FindControl<QPushButton>(window, "btOpenInRecorder");
        ASSERT_TRUE(button->isEnabled());
        button->click();
        EXPECT_TRUE(WaitUntil([&] {
            return !started_.empty() || !dialogs_.questions.isEmpty() ||
                   !dialogs_.messages.isEmpty();
        }));
        EXPECT_EQ(dialogs_.questions.size(), c.questions);
        EXPECT_EQ(dialogs_.messages.size(), c.messages);
        ASSERT_EQ(started_.size(), c.started ? 1u : 0u);
        if (c.started) {
            EXPECT_EQ(started_[0].program, options_.recorderProgram);
            EXPECT_EQ(started_[0].arguments, QStringList{Rows().EntryAt(c.row)->filePath});
        }
        Close();
    }
}

TEST(ArchiveProgramCall, TheWindowComesWithoutACommand) {
    const struct {
        QStringList arguments;
        bool window;
        const char* folder;
    } cases[] = {
        {{}, true, ""},
        {{"--folder", "/lab"}, true, "/lab"},
        {{"--folder=/lab"}, true, "/lab"},
        {{"--folder"}, false, ""},
        {{"--folder="}, false, ""},
        {{"list"}, false, ""},
        {{"--folder", "/lab", "list"}, false, ""},
        {{"--help"}, false, ""},
    };
    for (const auto& c : cases) {
        QString folder;
        EXPECT_EQ(archive::IsWindowCall(c.arguments, &folder), c.window)
            << c.arguments.join(' ').toStdString();
        if (c.window) {
            EXPECT_EQ(folder, c.folder);
        }
    }
}

// The program itself: the window in the folder it is given, or, without a display, the usage
// and the status of a wrong call.
TEST(ArchiveProgramCall, TheProgramOpensTheWindowInItsFolderOrSaysWhyNot) {
    const QTemporaryDir folder;
    const QString database = folder.filePath(QLatin1String(archive::kDatabaseFileName));
    QProcess window;
    window.start(QStringLiteral(VE17_ARCHIVE_PROGRAM), {QStringLiteral("--folder"), folder.path()});
    // The window's reader makes the folder's archive.
    EXPECT_TRUE(WaitUntil([&] { return QFileInfo::exists(database); }, 20000));
    EXPECT_EQ(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();

    QProcess headless;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    headless.setProcessEnvironment(environment);
    const TProgramRun run = [&] {
        headless.start(QStringLiteral(VE17_ARCHIVE_PROGRAM), QStringList{});
        return Finish(headless);
    }();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("ve17-archive list"))) << run.err.toStdString();
}

}  // namespace
