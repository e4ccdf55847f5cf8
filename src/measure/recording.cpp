#include "measure/recording.h"

TRecording::TRecording(QObject* parent)
    : QObject(parent), store_(std::make_unique<TSampleStore>()) {}

TRecording::~TRecording() = default;

measure::TFrameOutcome TRecording::ProcessFrame(const TDeviceFrame& frame, int16_t forceScale,
                                                bool registering, const QDateTime& now) {
    const measure::TFrameOutcome outcome =
        measure::ProcessFrame(frame, forceScale, registering, now, measure_, *store_);
    if (outcome.SampleStored) {
        emit SampleAppended(outcome.TimeS, outcome.ForceKn);
    }
    return outcome;
}

void TRecording::WatchdogTick() {
    measure::WatchdogTick(measure_);
}

measure::TTimerStep TRecording::TimerTick(bool stopPressed) {
    const measure::TTimerStep step =
        measure::TimerTick(flags_.TickCount, measure_.Watchdog, measure_.FrameCount, stopPressed);
    if (step.WholeSecond) {
        measure_.ClockReading = QDateTime::currentDateTime();
    }
    return step;
}

bool TRecording::Start(int32_t periodMs, int32_t areaMm2) {
    if (!measure::BeginStart(flags_.Started, flags_.Stopped)) {
        return false;
    }
    measure::StartRegistration(periodMs, areaMm2, *store_);
    recovered_.reset();
    emit RegistrationStarted();
    return true;
}

bool TRecording::Stop() {
    if (!measure::BeginStop(flags_.Started, flags_.Stopped)) {
        return false;
    }
    emit RegistrationStopped();
    return true;
}

void TRecording::Cancel(bool registering, const std::function<void()>& pause) {
    measure::CancelData(measure_, *store_, pause);
    recovered_.reset();
    emit DataCancelled(registering);
}

void TRecording::Loaded(const TSpecimenData& header, bool recovered) {
    specimen_ = header;
    recovered_.reset();
    if (recovered) {
        recovered_ = header;
    }
    emit TestLoaded(recovered);
}

void TRecording::MarkSaved(const QString& path, const TSpecimenData& header) {
    specimen_ = header;
    emit TestSaved(path);
}
