// The archive window from its start to the paint that first shows rows, over an archive of
// 100,000 entries: the window made and shown, its database thread connecting and reading the
// counts and the first page, the table painted. Beside it the floor: a connection of the driver
// alone opened, the same count and first page queried bare, their texts put into a bare
// QTableWidget and painted. Both reach the screen through real paint events on the offscreen
// platform; the time is wall-clock time, as the work runs on more than one thread. The
// database lives in a temporary folder on the file system of TMPDIR (or /tmp).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <memory>

#include "archive/archive.h"
#include "archive/archive_window.h"
#include "archive/window_columns.h"
#include "full_archive.h"
#include "ui/user_dialogs.h"

namespace {

constexpr int kEntries = full_archive::kFullArchiveEntries;
constexpr int kPageSize = archive::TArchiveRows::kPageSize;

// Runs the event loop until `done` holds; false after a few seconds without it.
bool RunEventsUntil(const std::function<bool()>& done) {
    QTimer wake;
    wake.start(50);
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(5000)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Set once a paint of the widget began while `ready` held; the paint itself is over when the
// event loop returns.
class TPaintWatch : public QObject {
  public:
    TPaintWatch(QWidget& widget, std::function<bool()> ready) : ready_(std::move(ready)) {
        widget.installEventFilter(this);
    }
    bool Seen() const { return seen_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        seen_ = seen_ || (event->type() == QEvent::Paint && ready_());
        return false;
    }

  private:
    std::function<bool()> ready_;
    bool seen_ = false;
};

void BM_ArchiveWindowToFirstRows(benchmark::State& state) {
    const archive::TArchiveSettings settings = full_archive::FullArchive().settings;
    const std::unique_ptr<TUserDialogs> dialogs = MakeDesktopDialogs();
    for (auto _ : state) {
        QElapsedTimer took;
        took.start();
        auto window = std::make_unique<archive::TArchiveWindow>(settings, *dialogs);
        archive::TArchiveRows& rows = window->Rows();
        const TPaintWatch painted(*window->Table().viewport(),
                                  [&rows] { return rows.EntryAt(0) != nullptr; });
        window->show();
        if (!RunEventsUntil([&] { return painted.Seen(); }) || rows.rowCount() != kEntries) {
            state.SkipWithError("the window never showed the archive's rows");
            break;
        }
        state.SetIterationTime(took.nsecsElapsed() * 1e-9);
        window.reset();
    }
}
BENCHMARK(BM_ArchiveWindowToFirstRows)->Unit(benchmark::kMillisecond)->UseManualTime();

// A bare table of the first page's texts.
void FillBareTable(QTableWidget& table, QSqlQuery& page) {
    table.setRowCount(kPageSize);
    int row = 0;
    while (page.next()) {
        for (int column = 0; column < archive::kWindowColumnCount; ++column) {
            table.setItem(row, column, new QTableWidgetItem(page.value(column).toString()));
        }
        ++row;
    }
}

void BM_ArchiveWindowToFirstRowsFloor(benchmark::State& state) {
    const QString path = full_archive::FullArchive().settings.databasePath;
    int connections = 0;
    for (auto _ : state) {
        QElapsedTimer took;
        took.start();
        const QString name = QStringLiteral("bare-%1").arg(connections++);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            QSqlQuery count(db);
            QSqlQuery page(db);
            page.setForwardOnly(true);
            if (!db.open() || !count.exec(QStringLiteral("SELECT COUNT(*) FROM archive_tests")) ||
                !page.exec(QStringLiteral(
                    "SELECT saved_at, test_name, marking, sample_type, area_text, fmax_text, "
                    "rmax_text, machine, operator_name, file_path FROM archive_tests ORDER BY "
                    "saved_at DESC, id DESC LIMIT 100"))) {
                state.SkipWithError("the bare queries failed");
                break;
            }
            count.next();
            auto table = std::make_unique<QTableWidget>(0, archive::kWindowColumnCount);
            FillBareTable(*table, page);
            const TPaintWatch painted(*table->viewport(), [] { return true; });
            table->resize(1000, 800);
            table->show();
            if (!RunEventsUntil([&] { return painted.Seen(); })) {
                state.SkipWithError("the bare table was never painted");
                break;
            }
            state.SetIterationTime(took.nsecsElapsed() * 1e-9);
        }
        QSqlDatabase::removeDatabase(name);
    }
}
BENCHMARK(BM_ArchiveWindowToFirstRowsFloor)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
