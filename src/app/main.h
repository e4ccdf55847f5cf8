// The main window of the recorder: layout, menu, creation and closing, and every handler of the
// operator's controls. Handlers of each subsystem are defined in that subsystem's folder
// (*_handlers.cpp); the rules they apply live in plain C++ beside them.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>

#include "app/user_dialogs.h"
#include "link/frame_sink.h"
#include "measure/measure_state.h"
#include "measure/sample_store.h"
#include "records/specimen_data.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class TChart;
class THelpViewer;

inline const QString kMainWindowTitle = QStringLiteral("  Регистратор ВЕ-17 v1.1");

class TMainForm : public QMainWindow, public TFrameSink {
    Q_OBJECT

  public:
    // dialogs: the dialogs and printer to use; the desktop's own when null.
    explicit TMainForm(std::unique_ptr<TUserDialogs> dialogs = nullptr);
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

    // Registration
    void btStartClick();
    void btStopClick();
    void btCancelClick();
    void TmTimer();
    void UpdateIndicators();

    // Chart navigation
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

    // Test records
    void btSaveTestClick();
    void btOpenTestClick();
    void btToExelClick();
    void btProtocolClick();
    bool edSQRKeyPress(QChar typed);  // true: the character passes
    void edSQRExit();

    // Menu
    void mnPort1Click();
    void mnPort2Click();
    void mnPort3Click();
    void mnExitClick();
    void mnConfigClick();
    void mnAboutClick();
    void mnHelpClick();

    // State owned by the window
    TSampleStore Store;
    TMeasureState Measure;
    TSpecimenData Specimen;
    bool Started = false;
    bool Stopped = false;
    uint16_t TickCount = 0;

    // Controls, named as the operator's documentation and the handlers name them
    QFrame* Panel2 = nullptr;
    TChart* chrtSignTraces = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* stX = nullptr;
    QLabel* stY = nullptr;
    QLabel* lbRmax = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btRight = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* btPrintChart = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* stFORCE = nullptr;
    QLabel* stMaxForce = nullptr;
    QLabel* stSpeedForce = nullptr;
    QGroupBox* gbControl = nullptr;
    QComboBox* cbPeriod = nullptr;
    QLabel* stCountSamples = nullptr;
    QPushButton* btStop = nullptr;
    QPushButton* btStart = nullptr;
    QButtonGroup* RegistrationGroup = nullptr;
    QFrame* pnInfo = nullptr;
    QLabel* lbInfoDate = nullptr;
    QLabel* lbInfoTest = nullptr;
    QLabel* lbInfoMark = nullptr;
    QLabel* lbInfoType = nullptr;
    QLabel* lbInfoSQR = nullptr;
    QLabel* lbInfoFmax = nullptr;
    QLabel* lbInfoRmax = nullptr;
    QPushButton* btCancel = nullptr;
    QGroupBox* gbTestSpec = nullptr;
    QLineEdit* edTestName = nullptr;
    QLineEdit* edSampleName = nullptr;
    QLineEdit* edSampleType = nullptr;
    QLineEdit* edSQR = nullptr;
    QPushButton* btOpenTest = nullptr;
    QPushButton* btProtocol = nullptr;
    QPushButton* btSaveTest = nullptr;
    QPushButton* btToExel = nullptr;
    QFrame* stBar = nullptr;
    std::array<QLabel*, 4> stBarPanels{};
    QTimer* Tm = nullptr;

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

    TUserDialogs& Dialogs() { return *dialogs_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void BuildChartArea();
    void BuildIndicatorPanel();
    void BuildControlGroup();
    void BuildInfoPanel();
    void BuildSpecimenGroup();
    void BuildRecordButtons();
    void BuildStatusBar();
    void BuildMenu();
    void ConnectHandlers();
    void FormClose();

    std::unique_ptr<TUserDialogs> dialogs_;
    THelpViewer* helpViewer_ = nullptr;
    bool closed_ = false;
};

// The one main window of the running program.
extern TMainForm* MainForm;
