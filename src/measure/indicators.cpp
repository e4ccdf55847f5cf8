#include "measure/indicators.h"

namespace measure {

QString ForceText(double forceKn, int16_t forceScale) {
    if (forceScale <= 50) {
        return QString::asprintf(" %7.3f", forceKn);
    }
    if (forceScale <= 250) {
        return QString::asprintf(" %7.2f", forceKn);
    }
    if (forceScale <= 1000) {
        return QString::asprintf(" %7.1f", forceKn);
    }
    return QString::asprintf(" %7.0f", forceKn);
}

QString RateText(double rateKnPerS) {
    return QString::asprintf("%6.1f кН/с", rateKnPerS);
}

QString MaxForceText(double maxForceKn) {
    return QString::asprintf("max=%-8.3f", maxForceKn);
}

QString RmaxText(double rmax) {
    return QString::asprintf("%6.3f", rmax);
}

QString CountText(int32_t count) {
    return QString::asprintf("%05ld", static_cast<long>(count));
}

TIndicatorTexts IndicatorTexts(const TMeasureState& state, const TSampleStore& store,
                               int16_t forceScale) {
    return {.Force = ForceText(state.Force, forceScale),
            .Rate = RateText(state.Rate),
            .MaxForce = MaxForceText(state.MaxForce),
            .Rmax = RmaxText(state.Rmax),
            .Count = CountText(store.Count)};
}

QString MachinePanelText(const QString& machine, int16_t forceScale) {
    // The scale is shown signed: a negative value from a hand-edited INI reads as itself.
    return QString::asprintf(" Машина: %s / Шкала= %4d кН", machine.toUtf8().constData(),
                             static_cast<int>(forceScale));
}

QString IoCountPanelText(int32_t frameCount) {
    return QString::asprintf(" I/O count: %08ld", static_cast<long>(frameCount));
}

QString ClockPanelText(const QDateTime& clock) {
    return clock.toString(QStringLiteral(" dd.MM.yyyy            hh:mm:ss"));
}

TTimerStep TimerTick(uint16_t& tickCount, uint16_t watchdog, int32_t frameCount, bool stopPressed) {
    TTimerStep step;
    tickCount += 1;
    if (tickCount >= 10) {
        tickCount = 0;
        step.WholeSecond = true;
    }
    if (watchdog != 0) {
        step.Panel2 = IoCountPanelText(frameCount);
        return step;
    }
    if (tickCount == 5) {
        step.Panel2 = kLinkLostText;
    } else if (tickCount == 9) {
        step.Panel2 = QString();
    }
    step.ClickStop = !stopPressed;
    return step;
}

}  // namespace measure
