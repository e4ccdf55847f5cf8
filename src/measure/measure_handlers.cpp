// The main window's measurement: frames from the unit, Start / Stop / Cancel, the 100 ms timer
// and the live indicators.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "app/main.h"
#include "chart/chart.h"
#include "config/config.h"
#include "link/ktcom.h"
#include "measure/frame_processing.h"
#include "measure/indicators.h"
#include "measure/registration.h"

namespace {

void Apply(TMainForm& form, const measure::TControlStates& states) {
    const std::pair<const std::optional<bool>&, QPushButton*> buttons[] = {
        {states.Protocol, form.btProtocol},
        {states.SaveTest, form.btSaveTest},
        {states.OpenTest, form.btOpenTest},
        {states.ToExel, form.btToExel},
    };
    for (const auto& [enabled, button] : buttons) {
        if (enabled) {
            button->setEnabled(*enabled);
        }
    }
    if (states.ConfigMenu) {
        form.N2->menuAction()->setEnabled(*states.ConfigMenu);
    }
    if (states.InfoVisible) {
        form.pnInfo->setVisible(*states.InfoVisible);
    }
}

}  // namespace

void TMainForm::ProcessFrame() {
    const measure::TFrameOutcome outcome =
        measure::ProcessFrame(KTCOM->Frame, INI_FILE_DATA.FORCE_SCALE, btStart->isChecked(),
                              QDateTime::currentDateTime(), Measure, Store);
    if (!outcome.SampleStored) {
        return;
    }
    chrtSignTraces->Series().AddXY(outcome.TimeS, outcome.ForceKn);
    if (outcome.StoreFull) {
        btStop->click();
    }
    if (measure::LoadAxisNeedsWidening(Measure.Force, chrtSignTraces->LeftAxis().Maximum())) {
        AutoScale();
        chrtSignTraces->LeftAxis().SetMaximum(measure::WidenedLoadMax(Measure.Force));
    }
    if (measure::TimeAxisNeedsWidening(outcome.TimeS, chrtSignTraces->BottomAxis().Maximum())) {
        AutoScale();
        chrtSignTraces->BottomAxis().SetMaximum(
            measure::WidenedTimeMax(chrtSignTraces->BottomAxis().Maximum()));
    }
}

void TMainForm::WatchdogTick() {
    measure::WatchdogTick(Measure);
}

void TMainForm::btStartClick() {
    if (!measure::BeginStart(Started, Stopped)) {
        return;
    }
    if (edSQR->text().isEmpty()) {
        edSQR->setText(QStringLiteral("0"));
    }
    measure::StartRegistration(cbPeriod->currentText().toInt(), edSQR->text().toInt(), Store);
    chrtSignTraces->Series().Clear();
    AutoScale();
    chrtSignTraces->UndoZoom();
    chrtSignTraces->Repaint();
    Apply(*this, measure::ControlsOnStart());
}

void TMainForm::btStopClick() {
    if (!measure::BeginStop(Started, Stopped)) {
        return;
    }
    btStop->setChecked(true);
    Apply(*this, measure::ControlsOnStop(Store.Count));
}

void TMainForm::btCancelClick() {
    chrtSignTraces->Series().Clear();
    AutoScale();
    chrtSignTraces->Series().SetActive(true);
    measure::CancelData(Measure, Store, [] { QCoreApplication::processEvents(); });
    Apply(*this, measure::ControlsOnCancel(btStart->isChecked()));
}

void TMainForm::TmTimer() {
    const measure::TTimerStep step =
        measure::TimerTick(TickCount, Measure.Watchdog, Measure.FrameCount, btStop->isChecked());
    if (step.WholeSecond) {
        Measure.ClockReading = QDateTime::currentDateTime();
        SetStatusPanel(3, measure::ClockPanelText(Measure.ClockReading));
        SetStatusPanel(1,
                       measure::MachinePanelText(INI_FILE_DATA.MACHINE, INI_FILE_DATA.FORCE_SCALE));
    }
    if (step.Panel2) {
        SetStatusPanel(2, *step.Panel2);
    }
    if (step.ClickStop) {
        btStop->click();
    }
    UpdateIndicators();
}

void TMainForm::UpdateIndicators() {
    const measure::TIndicatorTexts texts =
        measure::IndicatorTexts(Measure, Store, INI_FILE_DATA.FORCE_SCALE);
    stFORCE->setText(texts.Force);
    stSpeedForce->setText(texts.Rate);
    stMaxForce->setText(texts.MaxForce);
    lbRmax->setText(texts.Rmax);
    stCountSamples->setText(texts.Count);
}
