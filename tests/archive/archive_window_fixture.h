// The archive window on a real embedded archive in a scratch program folder: entries stored
// through the archive itself, the window's rows read as the operator sees them, and a recorder
// that is only recorded, never started.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "archive/archive_window.h"
#include "archive/window_columns.h"
#include "archive_engine.h"
#include "support/fake_dialogs.h"

class ArchiveWindow : public ArchiveOnEngine {
  protected:
    struct TStarted {
        QString program;
        QStringList arguments;
    };

    void Store(const std::vector<archive::TArchiveEntry>& entries);

    // The window, shown, once its first listing has come.
    archive::TArchiveWindow& Open();
    void Close() { window_.reset(); }

    archive::TArchiveRows& Rows() { return window_->Rows(); }
    // Makes the change of the filter or order and waits for the listing it brings.
    void Relisted(const std::function<void()>& change);
    // Waits until every row has its entry.
    void WaitForRows();
    // The column's texts, row by row, once every row has come (a small archive).
    QStringList ColumnTexts(archive::TWindowColumn column);
    QStringList RowTexts(int row);
    void SelectRow(int row);

    // A test file saved in DBCustom and its entry as this PC made it, saved `n` minutes after
    // a fixed moment.
    archive::TArchiveEntry SavedFile(const QString& name, const std::vector<int32_t>& forces,
                                     int n);

    TFakeDialogs dialogs_;
    std::vector<TStarted> started_;
    archive::TArchiveWindowOptions options_ = Options();

  private:
    archive::TArchiveWindowOptions Options();

    std::unique_ptr<archive::TArchiveWindow> window_;
};
