// The main window of the recorder: its layout and menu, its creation and closing, and the panels
// of the subsystems it is composed of. The names the operator's documentation gives the window's
// operations are kept here; each hands over to the panel that does the work.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "link/frame_sink.h"
#include "measure/measure_state.h"
#include "measure/registration.h"
#include "measure/sample_store.h"
#include "records/specimen_data.h"
#include "ui/control_states.h"

class QAction;
class QFrame;
class QGroupBox;
class QMenu;
class TChartPanel;
class THelpViewer;
class TLinkPanel;
class TRecordsPanel;
class TRegistrationPanel;
class TUserDialogs;
namespace records {
class TRegistrationJournal;
}

inline const QString kMainWindowTitle = QStringLiteral("  Регистратор ВЕ-17 v1.1");

class TMainForm : public QMainWindow, public TFrameSink {
    Q_OBJECT

  public:
    // dialogs: the dialogs, message boxes and printer the window and its dialogs use.
    explicit TMainForm(TUserDialogs& dialogs);
    ~TMainForm() override;

    // Link
    void OpenLinkPort(const QString& portName);
    void SetStatusPanel(int8_t index, const QString& text);
    QString StatusPanelText(int index) const;

    // Frames, handed over by the receiver on this thread
    void ProcessFrame() override;
    void WatchdogTick() override;

    // Load chart
    void AutoScale();
    void Button1Click();
    void btRightClick();
    void Button3Click();
    void Button4Click();
    void chrtSignTracesZoom();
    void chrtSignTracesUndoZoom();
    void chrtSignTracesMouseWheelDown();
    void chrtSignTracesMouseWheelUp();
    void chrtSignTracesMouseMove(int x, int y);
    void Panel2MouseMove();

    // Registration
    void btStartClick();
    void btStopClick();
    void btCancelClick();
    void TmTimer();
    void UpdateIndicators();

    // Test records
    void btSaveTestClick();
    void btOpenTestClick();
    void btToExelClick();
    void btProtocolClick();
    bool edSQRKeyPress(QChar typed);  // true: the character passes
    void edSQRExit();

    // Start-up, once the window is shown: a registration journal that a killed program or a
    // power loss left behind is offered once for recovery, with the default answer Yes. Yes
    // shows its test as an opened test that can be saved; No sets the journal aside.
    void RecoverRegistration();

    // Menu
    void mnPort1Click();
    void mnPort2Click();
    void mnPort3Click();
    void mnExitClick();
    void mnConfigClick();
    void mnAboutClick();
    void mnHelpClick();

    // The records the window owns, for reading.
    const TSampleStore& Store() const { return store_; }
    const TMeasureState& Measure() const { return measure_; }
    const TSpecimenData& Specimen() const { return specimen_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void BuildPanels();
    void BuildMenu();
    void SetTabOrder();
    void ConnectMenu();
    void ApplyControlStates(const TControlStates& states);
    void FormClose();
    void ConnectJournal();
    void ShowJournalFailure();

    TUserDialogs& dialogs_;
    TSampleStore store_;
    TMeasureState measure_;
    TSpecimenData specimen_;
    TRegistrationFlags registrationFlags_;

    // The frames the panels fill, at their places in the window.
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QGroupBox* gbControl = nullptr;
    QGroupBox* gbTestSpec = nullptr;

    TLinkPanel* link_ = nullptr;
    TChartPanel* chart_ = nullptr;
    TRegistrationPanel* registrationPanel_ = nullptr;
    TRecordsPanel* records_ = nullptr;
    THelpViewer* helpViewer_ = nullptr;
    // Every stored sample of the running registration, in DBCustom, until its test is saved.
    std::unique_ptr<records::TRegistrationJournal> journal_;

    QMenu* N1 = nullptr;
    QMenu* N2 = nullptr;
    QMenu* N4 = nullptr;
    QMenu* N7 = nullptr;
    QAction* mnPort1 = nullptr;
    QAction* mnPort2 = nullptr;
    QAction* mnPort3 = nullptr;
    QAction* mnNote = nullptr;
    QAction* mnExit = nullptr;
    QAction* mnConfig = nullptr;
    QAction* mnModeNormal = nullptr;
    QAction* mnModeModel = nullptr;
    QAction* mnHelp = nullptr;
    QAction* mnAbout = nullptr;

    bool closed_ = false;
};

// The one main window of the running program.
extern TMainForm* MainForm;
