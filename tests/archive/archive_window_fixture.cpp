#include "archive_window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "archive_test_support.h"
#include "support/wait.h"

using archive::TArchiveEntry;
using archive::TWindowColumn;

archive::TArchiveWindowOptions ArchiveWindow::Options() {
    archive::TArchiveWindowOptions options;
    options.pollEvery = std::chrono::milliseconds(50);
    // Any executable stands for the recorder: it is never started.
    options.recorderProgram = QCoreApplication::applicationFilePath();
    options.startProgram = [this](const QString& program, const QStringList& arguments) {
        started_.push_back({program, arguments});
        return true;
    };
    return options;
}

void ArchiveWindow::Store(const std::vector<TArchiveEntry>& entries) {
    const auto store = OpenOrFail(settings_);
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->Insert(entries)) << store->Error().toStdString();
}

archive::TArchiveWindow& ArchiveWindow::Open() {
    window_ = std::make_unique<archive::TArchiveWindow>(settings_, dialogs_, options_);
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_TRUE(WaitUntil([this] { return Rows().Listed() || !Rows().Error().isEmpty(); }));
    return *window_;
}

void ArchiveWindow::Relisted(const std::function<void()>& change) {
    QSignalSpy listed(&Rows(), &QAbstractItemModel::modelReset);
    change();
    EXPECT_TRUE(WaitUntil([&] { return listed.count() > 0; })) << "no new listing came";
}

void ArchiveWindow::WaitForRows() {
    const bool all = WaitUntil([this] {
        const QTableView& table = window_->Table();
        for (int row = 0; row < Rows().rowCount(); ++row) {
            if (Rows().EntryAt(row) == nullptr) {
                // Asked for as the view asks: by looking at the row.
                table.model()->data(table.model()->index(row, 0));
                return false;
            }
        }
        return true;
    });
    EXPECT_TRUE(all) << "not every row came";
}

QStringList ArchiveWindow::ColumnTexts(TWindowColumn column) {
    WaitForRows();
    QStringList texts;
    for (int row = 0; row < Rows().rowCount(); ++row) {
        texts << Rows().index(row, int(column)).data().toString();
    }
    return texts;
}

QStringList ArchiveWindow::RowTexts(int row) {
    WaitForRows();
    QStringList texts;
    for (int column = 0; column < archive::kWindowColumnCount; ++column) {
        texts << Rows().index(row, column).data().toString();
    }
    return texts;
}

void ArchiveWindow::SelectRow(int row) {
    window_->Table().selectionModel()->setCurrentIndex(
        Rows().index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

TArchiveEntry ArchiveWindow::SavedFile(const QString& name, const std::vector<int32_t>& forces,
                                       int n) {
    QDir(folder_.Path()).mkpath(QStringLiteral("DBCustom"));
    const QString path = PathOf(QStringLiteral("DBCustom/%1.ktd").arg(name));
    SaveTest(path, name, forces);
    auto scratch = std::make_unique<TSampleStore>();
    archive::TTestFileEntry read = archive::EntryFromTestFile(path, *scratch);
    EXPECT_TRUE(read.ok) << read.reason.toStdString();
    TArchiveEntry entry = read.entry;
    const TArchiveEntry sample = SampleEntry(n);
    entry.savedAt = sample.savedAt;
    entry.userAccount = archive::CurrentAccount();
    entry.hostName = archive::HostName();
    entry.operatorName = sample.operatorName;
    entry.machine = sample.machine;
    return entry;
}
