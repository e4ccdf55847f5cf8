// Start, Stop and Cancel of a registration, the frames from the unit, the 100 ms timer with its
// link supervision, and the live indicators.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "link/device_frame.h"
#include "measure/measure_state.h"
#include "measure/registration.h"
#include "measure/sample_store.h"
#include "ui/control_states.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;
class TChartPanel;

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
    // areaForStart: the area text the registration starts with (the specimen's area box).
    TRegistrationPanel(const TRegistrationPlaces& places, TSampleStore& store,
                       TMeasureState& measure, TRegistrationFlags& flags, TChartPanel& chart,
                       std::function<QString()> areaForStart, QObject* parent);

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
    // The registration's course, for its journal: Start ran (the store holds its period and
    // area); a sample was stored, inside the frame's hand-over and before a full store stops
    // the registration; Stop ran; Cancel threw the data away, `registering` when the
    // registration goes on from sample 0; the timer ticked.
    void RegistrationStarted();
    void SampleStored(int32_t forceN, int32_t timeMs);
    void RegistrationStopped();
    void DataCancelled(bool registering);
    void TimerTicked();

  private:
    void BuildIndicators(QWidget* panel, QWidget* strip);
    void BuildControls(QWidget* group, QWidget* client);
    void ConnectHandlers();
    // The force, its unit, the maximum and the rate in their colours, or grey while the link is
    // lost (the watchdog at 0).
    void ShowIndicatorsLive(bool live);

    TSampleStore& store_;
    TMeasureState& measure_;
    TRegistrationFlags& flags_;
    TChartPanel& chart_;
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
