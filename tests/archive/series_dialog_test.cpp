// "Серия образцов" on a real SQLite archive: the selected tests with their figures, a specimen
// excluded with its reason, the table written and the series kept; a kept series opens as it was
// made and prints with its own date.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include "archive/archive_settings.h"
#include "archive/series_dialog.h"
#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "archive_test_support.h"
#include "support/fake_dialogs.h"
#include "support/program_folder.h"

namespace {

class SeriesDialogTest : public ::testing::Test {
  protected:
    // Three cubes of area 100 mm2: 25, 30 and 20 N/mm2.
    void SetUp() override {
        settings_ = archive::ArchiveSettingsFor(QString());
        const auto archive = OpenOrFail(settings_);
        const int fmax[] = {2500, 3000, 2000};
        for (int i = 0; i < 3; ++i) {
            const QString path = folder_.FilePath(QStringLiteral("cube%1.ktd").arg(i + 1));
            SaveTest(path, QStringLiteral("Куб-%1").arg(i + 1), {1000, fmax[i], 900});
            TSampleStore scratch;
            archive::TTestFileEntry read = archive::EntryFromTestFile(path, scratch);
            ASSERT_TRUE(read.ok) << read.reason.toStdString();
            read.entry.hostName = archive::HostName();
            read.entry.savedAt = QDateTime(QDate(2026, 12, 1), QTime(9, i), Qt::UTC);
            ASSERT_TRUE(archive->Insert({read.entry}));
            std::optional<archive::TArchiveEntry> stored;
            ASSERT_TRUE(archive->FindEntryOfFile(path, archive::HostName(), &stored) && stored);
            ids_.push_back(stored->id);
        }
    }
    std::unique_ptr<archive::TSeriesDialog> Dialog(const std::vector<qint64>& ids) {
        return std::make_unique<archive::TSeriesDialog>(settings_, ids, QStringLiteral("Петров"),
                                                        QStringLiteral("П-125"), dialogs_, nullptr);
    }
    template <typename T>
    static T* Find(const QObject& dialog, const char* name = nullptr) {
        return name ? dialog.findChild<T*>(QString::fromLatin1(name)) : dialog.findChild<T*>();
    }

    TScratchProgramFolder folder_;
    archive::TArchiveSettings settings_;
    std::vector<qint64> ids_;
    TFakeDialogs dialogs_;
};

TEST_F(SeriesDialogTest, AnExcludedSpecimenCountsInNothingAndTheSeriesIsKeptAsPrinted) {
    auto dialog = Dialog(ids_);
    auto* table = Find<QTableWidget>(*dialog, "tbSpecimens");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("Куб-2"));
    EXPECT_TRUE(Find<QLabel>(*dialog, "lbFigures")->text().contains(QStringLiteral("25.000")))
        << "the mean of 25, 30 and 20";

    Find<QComboBox>(*dialog, "cbSeriesName")->setCurrentText(QStringLiteral("Партия 7"));
    table->item(1, 7)->setCheckState(Qt::Unchecked);
    table->item(1, 8)->setText(QStringLiteral("сколот край"));
    EXPECT_TRUE(Find<QLabel>(*dialog, "lbFigures")->text().contains(QStringLiteral("22.500")));
    dialogs_.fileAnswers = {folder_.FilePath(QStringLiteral("s.csv"))};
    dialog->SaveCsv();
    EXPECT_TRUE(dialogs_.messages.isEmpty()) << dialogs_.messages.join('|').toStdString();
    const QString csv = QString::fromUtf8(ReadBytes(folder_.FilePath(QStringLiteral("s.csv"))));
    EXPECT_TRUE(csv.contains(QStringLiteral("series strength;;;;;;22,500;"))) << csv.toStdString();

    std::optional<archive::TStoredSeries> kept;
    ASSERT_TRUE(OpenOrFail(settings_)->FindSeries(QStringLiteral("Партия 7"), &kept) && kept);
    ASSERT_EQ(kept->members.size(), 3u);
    EXPECT_TRUE(kept->members[1].excluded);
    EXPECT_EQ(kept->members[1].reason, QStringLiteral("сколот край"));
    EXPECT_EQ(kept->operatorName, QStringLiteral("Петров"));

    // Opened again later, unchanged: printed with the day it was made.
    auto again = Dialog({});
    Find<QComboBox>(*again, "cbSeriesName")->setCurrentText(QStringLiteral("Партия 7"));
    emit Find<QComboBox>(*again, "cbSeriesName")->textActivated(QStringLiteral("Партия 7"));
    auto* reopened = Find<QTableWidget>(*again, "tbSpecimens");
    ASSERT_EQ(reopened->rowCount(), 3);
    EXPECT_EQ(reopened->item(1, 7)->checkState(), Qt::Unchecked);
    dialogs_.fileAnswers = {folder_.FilePath(QStringLiteral("again.csv"))};
    again->SaveCsv();
    std::optional<archive::TStoredSeries> after;
    ASSERT_TRUE(OpenOrFail(settings_)->FindSeries(QStringLiteral("Партия 7"), &after) && after);
    EXPECT_EQ(after->madeAt, kept->madeAt) << "an unchanged series is not made anew";
    EXPECT_EQ(ReadBytes(folder_.FilePath(QStringLiteral("again.csv"))),
              ReadBytes(folder_.FilePath(QStringLiteral("s.csv"))));
}

TEST_F(SeriesDialogTest, ASeriesWithoutANameIsNotKept) {
    auto dialog = Dialog(ids_);
    dialogs_.fileAnswers = {folder_.FilePath(QStringLiteral("s.csv"))};
    dialog->SaveCsv();
    ASSERT_EQ(dialogs_.messages.size(), 1);
    EXPECT_FALSE(QFile::exists(folder_.FilePath(QStringLiteral("s.csv"))));
    EXPECT_EQ(OpenOrFail(settings_)->SeriesNames(), QStringList());
}

}  // namespace
