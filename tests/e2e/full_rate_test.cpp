// The window at the line's full rate: every frame stores a sample, but the chart is redrawn at
// a pace of its own. A redraw of a full chart costs several ms of the UI thread, which also has
// to take every frame from the receiver; one redraw per frame falls behind the line as the
// chart fills, and frames are lost.
#include <qcustomplot.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <cstdio>

#include "chart/chart.h"
#include "sim_fixture.h"

namespace {

using FullRateTest = SimulatedUnitTest;

TEST_F(FullRateTest, ChartIsRedrawnAtItsOwnPaceNotOncePerFrame) {
    StartWith({QStringLiteral("--profile"), QStringLiteral("steady"), QStringLiteral("--fast")});
    RunFor(1000);
    // A spy, not a lambda on this function's counter: the chart still redraws while the window
    // closes after the test, when this frame of the stack is gone.
    QSignalSpy replots(Chart().Plot(), &QCustomPlot::afterReplot);
    Button("btStart")->click();
    const int32_t framesBefore = form->Recording().Measure().FrameCount;
    QElapsedTimer recording;
    recording.start();
    // About 2 s at the full rate; longer on a loaded machine.
    const bool streamed = WaitUntil(
        [&] { return form->Recording().Measure().FrameCount - framesBefore > 500; }, 20000);
    const int32_t frames = form->Recording().Measure().FrameCount - framesBefore;
    const int redraws = static_cast<int>(replots.count());
    Button("btStop")->click();

    std::printf("full rate: %d frames, %d samples, %d chart redraws in %.1f s\n", frames,
                form->Recording().Store().Count, redraws, recording.elapsed() * 0.001);
    ASSERT_TRUE(streamed) << "the simulator streams at the full rate: " << frames << " frames";
    EXPECT_GT(redraws, 0) << "the chart follows the registration";
    EXPECT_LT(redraws * 4, frames) << "redraws are coalesced, not one per frame";
}

}  // namespace
