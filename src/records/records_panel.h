// The test records of the main window: the specimen's data, saving and opening ".ktd" files,
// the panel that shows an opened test, the CSV table and the printed protocol. An opened or
// recovered test is shown as the test under way announces it.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <optional>

#include "measure/control_states.h"
#include "measure/specimen_data.h"

class QKeyEvent;
class QLineEdit;
class QPrinter;
class QPushButton;
class QWidget;

namespace records {
class TInfoPanel;
}
class TChart;
class TRecording;
class TUserDialogs;
struct TIniFileData;

// Where the panel's controls go.
struct TRecordsPlaces {
    QWidget* client;         // the file buttons and pnInfo (over the registration group)
    QWidget* specimenGroup;  // gbTestSpec: the specimen's boxes
};

class TRecordsPanel : public QObject {
    Q_OBJECT

  public:
    // recording: the test under way; a saved test is dated by its clock reading (the local time
    // of the last frame or whole second). config: the force scale a saved test is written with.
    // chart: the load chart the protocol prints.
    TRecordsPanel(const TRecordsPlaces& places, TRecording& recording, const TIniFileData& config,
                  TChart& chart, TUserDialogs& dialogs, QObject* parent);

    void btSaveTestClick();
    void btOpenTestClick();
    // Opens the test file at `path` as btOpenTest does, when btOpenTest could be pressed (no
    // registration runs and no recovered test waits for its save); otherwise says why not.
    void OpenTest(const QString& path);
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildSpecimenBoxes(QWidget* group);
    void BuildInfoPanel(QWidget* client);
    void BuildButtons(QWidget* client);
    // An opened test is shown in pnInfo; a recovered one also becomes saveable like a stopped
    // registration, with more than 2 samples (opening another test waits for Cancel).
    void ShowLoaded(bool recovered);
    void Open(const QString& path);
    void PrintProtocol(QPrinter& printer);
    void SaveProtocolAsPdf();
    bool IsFileButtonKey(const QKeyEvent& key) const;
    QWidget* Window() const;

    TRecording& recording_;
    const TIniFileData& config_;
    TChart& chart_;
    TUserDialogs& dialogs_;
    QString testPath_;  // the test file last saved or opened: the protocol's PDF is named after it

    QLineEdit* edTestName = nullptr;
    QLineEdit* edSampleName = nullptr;
    QLineEdit* edSampleType = nullptr;
    QLineEdit* edSQR = nullptr;
    records::TInfoPanel* pnInfo = nullptr;
    QPushButton* btOpenTest = nullptr;
    QPushButton* btProtocol = nullptr;
    QPushButton* btSaveTest = nullptr;
    QPushButton* btToExel = nullptr;
};
