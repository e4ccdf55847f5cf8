// The test records of the main window: the specimen's data, saving and opening ".ktd" files,
// the panel that shows an opened test, the CSV table and the printed protocol.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <optional>

#include "measure/sample_store.h"
#include "records/info_texts.h"
#include "records/specimen_data.h"
#include "records/test_file.h"
#include "ui/control_states.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QWidget;
class TChart;
class TUserDialogs;

// Where the panel's controls go.
struct TRecordsPlaces {
    QWidget* client;         // the file buttons and pnInfo (over the registration group)
    QWidget* specimenGroup;  // gbTestSpec: the specimen's boxes
};

class TRecordsPanel : public QObject {
    Q_OBJECT

  public:
    // clockReading: the local time of the last frame or whole second; a saved test is dated by
    // it. chart: the load chart, whose series an opened test refills and which the protocol
    // prints.
    TRecordsPanel(const TRecordsPlaces& places, TSampleStore& store, TSpecimenData& specimen,
                  const QDateTime& clockReading, TChart& chart, TUserDialogs& dialogs,
                  QObject* parent);

    void btSaveTestClick();
    void btOpenTestClick();
    void btToExelClick();
    void btProtocolClick();
    bool edSQRKeyPress(QChar typed);  // true: the character passes
    void edSQRExit();

    // The area box's text, for a registration or a saved test: an empty box becomes "0" first.
    QString AreaText();
    // The header the specimen's boxes give a test of `sampleCount` samples dated `date`, under
    // the configured force scale.
    TSpecimenData EnteredHeader(const QDate& date, int32_t sampleCount);
    // Sets the controls of this panel that the states name.
    void Apply(const TControlStates& states);

    // A test recovered from a registration journal, already in the store: shown as an opened
    // test, and saveable like a stopped registration, with more than 2 samples (opening another
    // test waits for Cancel). Saving writes the header it was recorded with, not the boxes.
    void ShowRecovered(const TOpenedTest& recovered);
    // A new registration or a Cancel: the recovered test is gone from the store.
    void ForgetRecovered();

  signals:
    // An opened test is in the store: the chart is to show its samples.
    void SamplesLoaded();
    // The test in the store is saved to its file.
    void TestSaved();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildSpecimenBoxes(QWidget* group);
    void BuildInfoPanel(QWidget* client);
    void BuildButtons(QWidget* client);
    void ShowOpened(const TOpenedTest& opened);
    void PrintProtocol(QPrinter& printer);
    void SaveProtocolAsPdf();
    bool IsFileButtonKey(const QKeyEvent& key) const;
    QWidget* Window() const;

    TSampleStore& store_;
    TSpecimenData& specimen_;
    const QDateTime& clockReading_;
    TChart& chart_;
    TUserDialogs& dialogs_;
    QString testPath_;  // the test file last saved or opened: the protocol's PDF is named after it
    std::optional<TSpecimenData> recovered_;  // the header of a recovered test in the store

    QLineEdit* edTestName = nullptr;
    QLineEdit* edSampleName = nullptr;
    QLineEdit* edSampleType = nullptr;
    QLineEdit* edSQR = nullptr;
    QFrame* pnInfo = nullptr;
    QLabel* lbInfoDate = nullptr;
    QLabel* lbInfoTest = nullptr;
    QLabel* lbInfoMark = nullptr;
    QLabel* lbInfoType = nullptr;
    QLabel* lbInfoSQR = nullptr;
    QLabel* lbInfoFmax = nullptr;
    QLabel* lbInfoRmax = nullptr;
    QPushButton* btOpenTest = nullptr;
    QPushButton* btProtocol = nullptr;
    QPushButton* btSaveTest = nullptr;
    QPushButton* btToExel = nullptr;
};
