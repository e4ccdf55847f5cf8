// The window at the line's full rate: every frame stores a sample, but the chart is redrawn at
// a pace of its own. A redraw of a full chart costs several ms of the UI thread, which also has
// to take every frame from the receiver; one redraw per frame falls behind the line as the
// chart fills, and frames are lost.
#include <qcustomplot.h>

#include <QPushButton>
#include <cstdio>

#include "chart/chart.h"
#include "sim_fixture.h"

namespace {

using FullRateTest = SimulatedUnitTest;

TEST_F(FullRateTest, ChartIsRedrawnAtItsOwnPaceNotOncePerFrame) {
    StartWith({QStringLiteral("--profile"), QStringLiteral("steady"), QStringLiteral("--fast")});
    RunFor(1000);
    int redraws = 0;
    QObject::connect(Chart().Plot(), &QCustomPlot::afterReplot, [&redraws] { ++redraws; });
    Button("btStart")->click();
    const int32_t framesBefore = form->Measure().FrameCount;
    RunFor(2000);
    const int32_t frames = form->Measure().FrameCount - framesBefore;
    Button("btStop")->click();

    std::printf("full rate: %d frames, %d samples, %d chart redraws in 2 s\n", frames,
                form->Store().Count, redraws);
    ASSERT_GT(frames, 200) << "the simulator streams at the full rate";
    EXPECT_GT(redraws, 0) << "the chart follows the registration";
    EXPECT_LT(redraws * 4, frames) << "redraws are coalesced, not one per frame";
}

}  // namespace
