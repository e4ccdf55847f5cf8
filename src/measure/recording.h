// The test under way: its recorded samples, the live values, the specimen data of the test on
// screen and the registration's flags, with the operations that change them. Each change is
// announced once by a signal; the chart, the records panel and the journal follow the signals,
// so nothing relays a change by hand.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "link/device_frame.h"
#include "measure/frame_processing.h"
#include "measure/indicators.h"
#include "measure/measure_state.h"
#include "measure/registration.h"
#include "measure/sample_store.h"
#include "measure/specimen_data.h"

class TRecording : public QObject {
    Q_OBJECT

  public:
    explicit TRecording(QObject* parent = nullptr);
    ~TRecording() override;

    const TSampleStore& Store() const { return *store_; }
    const TMeasureState& Measure() const { return measure_; }
    // The header of the test last saved or opened (or recovered): the protocol's heading.
    const TSpecimenData& Specimen() const { return specimen_; }
    const TRegistrationFlags& Flags() const { return flags_; }
    // The header a recovered test was recorded with, while that test is in the store: saving it
    // writes this header rather than the specimen's boxes.
    const std::optional<TSpecimenData>& Recovered() const { return recovered_; }

    // A frame from the unit, on the UI thread; `registering` is the pressed state of btStart.
    // Announces a stored sample; a frame that stores none announces nothing.
    measure::TFrameOutcome ProcessFrame(const TDeviceFrame& frame, int16_t forceScale,
                                        bool registering, const QDateTime& now);
    // The end of a receive cycle: the link watchdog runs down.
    void WatchdogTick();
    // A tick of the 100 ms timer; on a whole second the clock reading is taken.
    measure::TTimerStep TimerTick(bool stopPressed);

    // Start: false when a registration was started already (the press is ignored).
    bool Start(int32_t periodMs, int32_t areaMm2);
    // Stop: false when already stopped.
    bool Stop();
    // Cancel throws the recorded test away; `pause` lets pending messages run between chunks.
    void Cancel(bool registering, const std::function<void()>& pause);

    // The store for a reader of a test file or a journal to fill; Loaded then announces what
    // it put there: a test opened from a file, or one recovered from a journal.
    TSampleStore& StoreToFill() { return *store_; }
    void Loaded(const TSpecimenData& header, bool recovered);
    // The test in the store is saved under `header` to the file at `path`.
    void MarkSaved(const QString& path, const TSpecimenData& header);

  signals:
    // Start ran: the store holds its period and area, and no sample.
    void RegistrationStarted();
    // A sample was stored at Store().Count - 1, inside the frame's hand-over and before a full
    // store stops the registration; at `timeS` with `forceKn`, as the chart plots it.
    void SampleAppended(double timeS, double forceKn);
    void RegistrationStopped();
    // The recorded data are thrown away; `registering` when the registration goes on from
    // sample 0.
    void DataCancelled(bool registering);
    // An opened or a recovered test is in the store, with its header as Specimen().
    void TestLoaded(bool recovered);
    void TestSaved(const QString& path);

  private:
    std::unique_ptr<TSampleStore> store_;
    TMeasureState measure_;
    TSpecimenData specimen_;
    TRegistrationFlags flags_;
    std::optional<TSpecimenData> recovered_;
};
