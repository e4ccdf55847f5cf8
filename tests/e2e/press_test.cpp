// A registration of a simulated press test, from the unit's bytes to the stored samples.
#include <QPushButton>

#include "sim_fixture.h"

namespace {

TEST_F(SimulatedUnitTest, RegistrationStoresOneSamplePerPeriodFollowingTheLoad) {
    // 10 kN/s at 10 frames a second: every frame adds 1 kN to the load.
    StartWith({QStringLiteral("--profile"), QStringLiteral("press"), QStringLiteral("--load-rate"),
               QStringLiteral("10"), QStringLiteral("--peak"), QStringLiteral("120")});
    RunFor(1500);  // the 10-frame mean fills with rising codes before the registration
    EXPECT_NE(form->Recording().Measure().Watchdog, 0) << "frames arrive";

    Button("btStart")->click();
    RunFor(3000);
    Button("btStop")->click();

    const TSampleStore& store = form->Recording().Store();
    EXPECT_GE(store.Count, 25);
    EXPECT_LE(store.Count, 35);
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
    for (int i = 0; i < store.Count; ++i) {
        EXPECT_EQ(store.TimeMs[i], i * 100);
    }
    // The stored force follows the load: about 1000 N more per sample.
    for (int i = 1; i < store.Count; ++i) {
        const int step = store.ForceN[i] - store.ForceN[i - 1];
        EXPECT_NEAR(step, 1000, 100) << "sample " << i;
    }
}

TEST_F(SimulatedUnitTest, SilenceOfTheUnitStopsTheRegistrationAndKeepsTheSamples) {
    StartWith({QStringLiteral("--profile"), QStringLiteral("steady"), QStringLiteral("--load"),
               QStringLiteral("20"), QStringLiteral("--silence-after"), QStringLiteral("4")});
    RunFor(1000);
    Button("btStart")->click();
    RunFor(3500);  // the unit falls silent about 1.5 s into the registration
    EXPECT_EQ(form->Recording().Measure().Watchdog, 0);
    EXPECT_TRUE(Button("btStop")->isChecked()) << "the lost link ends the registration";
    EXPECT_GT(form->Recording().Store().Count, 2);
    EXPECT_TRUE(Button("btSaveTest")->isEnabled()) << "the samples can be saved";
    const int stored = form->Recording().Store().Count;
    RunFor(500);
    EXPECT_EQ(form->Recording().Store().Count, stored);
}

}  // namespace
