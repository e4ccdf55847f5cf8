// "Архив испытаний ВЕ-17": the lab's window on its archive. A table of the archived tests (the
// newest first, sorted by any column on a click of its heading), a filter line over it, the
// selected test's curve and texts beside it, "Открыть в регистраторе" for its file, and a line
// with the counts and this PC's queue. The database and the files are read on threads of their
// own; the archive is looked at every few seconds, so that new tests appear by themselves. An
// archive that cannot be reached is said so in the window, which keeps trying.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <optional>

#include "archive/archive_settings.h"
#include "archive/window_files.h"
#include "archive/window_reader.h"
#include "archive/window_rows.h"

class QLabel;
class QPushButton;
class QSplitter;
class QTableView;
class TUserDialogs;

namespace archive {

class TFilterBar;
class TTestView;

inline constexpr const char* kArchiveWindowTitle = "Архив испытаний ВЕ-17";

struct TArchiveWindowOptions {
    std::chrono::milliseconds pollEvery{2000};
    // The recorder, which opens the test file given as its one argument; empty: the program
    // "ve17" beside this one.
    QString recorderProgram;
    // Starts a program without waiting for it; false when it could not be started. Empty:
    // QProcess::startDetached.
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
};

class TArchiveWindow : public QWidget {
    Q_OBJECT

  public:
    TArchiveWindow(const TArchiveSettings& settings, TUserDialogs& dialogs,
                   TArchiveWindowOptions options = {}, QWidget* parent = nullptr);
    ~TArchiveWindow() override;

    TArchiveRows& Rows() { return rows_; }
    QTableView& Table() const { return *table_; }
    TTestView& TestView() const { return *test_; }

    // Opens the selected test's file in the recorder, once its file has been checked.
    void OpenInRecorder();
    // "Серия...": a series of the selected tests, in the table's order; without a selection,
    // a series kept before.
    void MakeSeries();
    // The ids of the selected rows that have come from the archive, in the table's order.
    std::vector<qint64> SelectedIds() const;

  private:
    void BuildLayout();
    void SetUpTable();
    void FitTable();
    void OnStatus(const TArchiveStatus& status);
    void UpdateLines();
    void ShowCurrent();
    void OnChecked(qint64 id, const TFileCheck& check);
    void OnCheckedForOpening(qint64 id, const TFileCheck& check);
    void StartRecorder(const QString& path);

    TUserDialogs& dialogs_;
    TArchiveSettings settings_;
    TArchiveWindowOptions options_;
    TArchiveReader reader_;
    TFileWork files_;
    TArchiveRows rows_;
    QTimer poll_;
    std::optional<TArchiveStatus> status_;
    std::optional<TArchiveEntry> shown_;
    qint64 opening_ = 0;  // the entry whose file is being checked for opening

    TFilterBar* filters_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTableView* table_ = nullptr;
    TTestView* test_ = nullptr;
    QPushButton* btOpenInRecorder = nullptr;
    QPushButton* btSeries = nullptr;
    QLabel* lbCounts = nullptr;
    QLabel* lbArchiveError = nullptr;
};

}  // namespace archive
