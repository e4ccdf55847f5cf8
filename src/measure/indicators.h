// Texts of the live indicators and the status bar, and what each 100 ms timer tick changes.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "measure/measure_state.h"
#include "measure/sample_store.h"

namespace measure {

inline const QString kLinkLostText = QStringLiteral("       НЕТ СВЯЗИ !!!    ");

// stFORCE: fewer decimals the larger the channel's scale.
QString ForceText(double forceKn, int16_t forceScale);
QString RateText(double rateKnPerS);      // stSpeedForce
QString MaxForceText(double maxForceKn);  // stMaxForce
QString RmaxText(double rmax);            // lbRmax
QString CountText(int32_t count);         // stCountSamples

struct TIndicatorTexts {
    QString Force;
    QString Rate;
    QString MaxForce;
    QString Rmax;
    QString Count;
};
TIndicatorTexts IndicatorTexts(const TMeasureState& state, const TSampleStore& store,
                               int16_t forceScale);

// Status bar panel 1: the machine and the channel's force scale.
QString MachinePanelText(const QString& machine, int16_t forceScale);
// Status bar panel 2 while frames arrive.
QString IoCountPanelText(int32_t frameCount);
// Status bar panel 3: Russian date and time conventions whatever the machine's locale.
QString ClockPanelText(const QDateTime& clock);

// What one timer tick changes besides the indicators.
struct TTimerStep {
    // A whole second has passed: read the clock into ClockReading, then write panel 3
    // (ClockPanelText) and panel 1 (MachinePanelText).
    bool WholeSecond = false;
    std::optional<QString> Panel2;  // new text of panel 2, if it changes
    bool ClickStop = false;         // the link is lost and btStop is not pressed
};

// Advances the tick counter (0..9) and decides the tick's changes. The link-lost text blinks:
// shown at tick 5, blanked at tick 9.
TTimerStep TimerTick(uint16_t& tickCount, uint16_t watchdog, int32_t frameCount, bool stopPressed);

}  // namespace measure
