// Start, Stop and Cancel of a registration, the frames from the unit, the 100 ms timer with its
// link supervision, and the live indicators. The work on the test under way is TRecording's;
// this panel holds the controls that ask for it and shows the live values.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "link/device_frame.h"
#include "measure/control_states.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;
class TRecording;
struct TIniFileData;

// Where the panel's controls go.
struct TRegistrationPlaces {
    QWidget* client;        // btCancel
    QWidget* indicators;    // Panel1: force, maximum, rate
    QWidget* controlGroup;  // gbControl: period, sample count, Stop and Start
    QWidget* strip;         // Panel3 under the chart: Rmax
};

class TRegistrationPanel : public QObject {
    Q_OBJECT

  public:
    // config: the force scale and the machine's name the indicators and the status bar show.
    // areaForStart: the area text the registration starts with (the specimen's area box).
    TRegistrationPanel(const TRegistrationPlaces& places, TRecording& recording,
                       const TIniFileData& config, std::function<QString()> areaForStart,
                       QObject* parent);

    // A complete frame from the unit, on the UI thread.
    void ProcessFrame(const TDeviceFrame& frame);
    // The end of a receive cycle.
    void WatchdogTick();

    void btStartClick();
    void btStopClick();
    void btCancelClick();
    void TmTimer();
    void UpdateIndicators();

    // A registration runs while btStart is pressed.
    bool Registering() const;

    // The steps of the window's creation and closing that belong here.
    void StartTimer();
    void StopTimer();
    void SelectFirstPeriod();
    void ClickCancel();

  signals:
    // Start, Stop and Cancel change these controls of other panels and of the menu.
    void ControlsChanged(const TControlStates& states);
    // The timer writes status-bar panels 1 to 3.
    void StatusPanelChanged(int8_t index, const QString& text);
    // The timer ticked: the journal keeps its pace of disk syncs by it.
    void TimerTicked();

  private:
    void BuildIndicators(QWidget* panel, QWidget* strip);
    void BuildControls(QWidget* group, QWidget* client);
    void ConnectHandlers();
    // The force, its unit, the maximum and the rate in their colours, or grey while the link is
    // lost (the watchdog at 0).
    void ShowIndicatorsLive(bool live);

    TRecording& recording_;
    const TIniFileData& config_;
    std::function<QString()> areaForStart_;

    QLabel* stFORCE = nullptr;
    QLabel* forceUnit_ = nullptr;
    QLabel* stMaxForce = nullptr;
    QLabel* stSpeedForce = nullptr;
    QLabel* lbRmax = nullptr;
    QComboBox* cbPeriod = nullptr;
    QLabel* stCountSamples = nullptr;
    QPushButton* btStop = nullptr;
    QPushButton* btStart = nullptr;
    QButtonGroup* RegistrationGroup = nullptr;
    QPushButton* btCancel = nullptr;
    QTimer* Tm = nullptr;
    bool indicatorsLive_ = true;
};
