// "Серия образцов": the operator makes a series of the tests selected in the archive window (or
// opens one kept before), excludes a specimen with its reason, chooses the rule, sees the
// figures, and prints the series' page, saves it as PDF or its table as CSV. The series is kept
// in the archive as it was printed, so printing it again gives the same page.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "archive/archive.h"
#include "archive/series_page.h"

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class TUserDialogs;

namespace archive {

class TSeriesDialog : public QDialog {
    Q_OBJECT

  public:
    // testIds: the tests selected in the window, in their order (none: open a series kept).
    // operatorName and machine: NAME and MACHINE of this press, for a new series.
    TSeriesDialog(const TArchiveSettings& settings, const std::vector<qint64>& testIds,
                  QString operatorName, QString machine, TUserDialogs& dialogs, QWidget* parent);
    ~TSeriesDialog() override;

    // The page to the default printer; without one, the protocol's question, then a PDF file.
    void Print();
    void SavePdf();
    void SaveCsv();

  private:
    void BuildControls();
    void ShowTests(const std::vector<TSeriesMember>& members);
    void LoadSeries(const QString& name);
    void ShowFigures();
    // The series as the dialog shows it, kept in the archive; its report. False after a message.
    bool KeepSeries(TSeriesReport* report);
    TStoredSeries SeriesShown() const;
    QString AskPath(const QString& title, const QString& filter, const QString& suffix);

    std::unique_ptr<TArchive> archive_;
    QString operatorName_;
    QString machine_;
    TUserDialogs& dialogs_;
    std::vector<TArchiveEntry> entries_;   // the rows, in order
    std::optional<TStoredSeries> loaded_;  // the series kept under the shown name, as read

    QComboBox* cbSeriesName = nullptr;
    QTableWidget* tbSpecimens = nullptr;
    QRadioButton* rbAll = nullptr;
    QRadioButton* rbBest = nullptr;
    QSpinBox* seBestK = nullptr;
    QLabel* lbFigures = nullptr;
};

}  // namespace archive
