// What the receiver hands over to the main window on the UI thread.
#pragma once

class TFrameSink {
  public:
    virtual ~TFrameSink() = default;
    // A complete frame is in the channel's Frame.
    virtual void ProcessFrame() = 0;
    // One receive cycle has ended.
    virtual void WatchdogTick() = 0;
};
