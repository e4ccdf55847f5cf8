// The main window of the recorder: its layout and menu, its creation and closing, and the panels
// of the subsystems it is composed of around the test under way (TRecording), which each panel
// follows. The receiver hands its frames to the window, which passes them to the registration.
#pragma once

#include <QMainWindow>
#include <QStringList>

#include "link/frame_sink.h"
#include "measure/control_states.h"

class QAction;
class QFrame;
class QGroupBox;
class QMenu;
class TChartPanel;
class THelpViewer;
class TLinkPanel;
class TRecordsPanel;
namespace archive {
class TArchiveRecorder;
}
class TRecording;
class TRegistrationPanel;
class TUserDialogs;
namespace records {
class TRecordingJournal;
}

inline const QString kMainWindowTitle = QStringLiteral("  Регистратор ВЕ-17 v1.1");

class TMainForm : public QMainWindow, public TFrameSink {
    Q_OBJECT

  public:
    // dialogs: the dialogs, message boxes and printer the window and its dialogs use.
    explicit TMainForm(TUserDialogs& dialogs);
    ~TMainForm() override;

    // Frames, handed over by the receiver on this thread
    void ProcessFrame() override;
    void WatchdogTick() override;

    // Start-up, once the window is shown: a registration journal that a killed program or a
    // power loss left behind is offered once for recovery.
    void RecoverRegistration();
    // Start-up too: a test file named on the command line (the archive's "open in the recorder")
    // is opened as btOpenTest opens one.
    void OpenTest(const QString& path);

    // Menu
    void mnPort1Click();
    void mnPort2Click();
    void mnPort3Click();
    void mnExitClick();
    void mnConfigClick();
    void mnAboutClick();
    void mnHelpClick();

    // The test under way, for reading.
    const TRecording& Recording() const { return *recording_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void BuildPanels();
    void BuildLinkPanel();
    void BuildMenu();
    void SetTabOrder();
    void ConnectMenu();
    void ApplyControlStates(const TControlStates& states);
    void ConnectArchive();
    void TellOfArchive(const QString& text);
    void FormClose();

    TUserDialogs& dialogs_;
    TRecording* recording_ = nullptr;

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
    records::TRecordingJournal* journal_ = nullptr;
    // Every saved test is entered in the archive; what the operator is to hear of it while a
    // registration runs waits for its Stop.
    archive::TArchiveRecorder* archive_ = nullptr;
    QStringList archiveNotices_;

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
