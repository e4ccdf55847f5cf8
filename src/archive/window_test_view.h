// The archive window's view of one test: its load-time curve on the project's load chart, and
// under it the header's texts and results in the recorder's information panel, from the
// archive's entry; a line beside them tells what is wrong with the file, if anything.
#pragma once

#include <QWidget>

#include "archive/archive_entry.h"
#include "archive/window_files.h"

class QLabel;
class TChart;

namespace records {
class TInfoPanel;
}

namespace archive {

class TTestView : public QWidget {
    Q_OBJECT

  public:
    explicit TTestView(QWidget* parent = nullptr);

    // The entry's texts at once; the curve is empty until ShowCurve brings the entry's.
    void ShowEntry(const TArchiveEntry& entry);
    // The curve, when it is the shown entry's.
    void ShowCurve(const TCurve& curve);
    // What is wrong with the shown entry's file; empty: nothing.
    void ShowFileNote(const QString& note);

    qint64 ShownId() const { return shownId_; }
    TChart& Chart() const { return *chart_; }

  private:
    void AutoScale();
    void UpdateNote();

    TChart* chart_;
    records::TInfoPanel* pnInfo_;
    qint64 shownId_ = 0;
    QString curveNote_;
    QString fileNote_;
    QLabel* lbInfoFile = nullptr;
    QLabel* lbFileNote = nullptr;
};

}  // namespace archive
