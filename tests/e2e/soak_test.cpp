// The store filled at the line's full rate: about two minutes of a 100 ms registration in which
// every frame stores a sample, then saved and opened again. Run alone with `ctest -L soak`.
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>
#include <vector>

#include "sim_fixture.h"

namespace {

using SoakTest = SimulatedUnitTest;

TEST_F(SoakTest, FullRateRegistrationFillsTheStoreStopsItselfAndSavesEverySample) {
    // A slow rise, so that every sample differs from its neighbours over the whole store.
    StartWith({QStringLiteral("--profile"), QStringLiteral("press"), QStringLiteral("--fast"),
               QStringLiteral("--load-rate"), QStringLiteral("0.5"), QStringLiteral("--peak"),
               QStringLiteral("100"), QStringLiteral("--seed"), QStringLiteral("1")});
    ASSERT_TRUE(WaitUntil([&] { return form->Recording().Measure().Watchdog != 0; }, 3000));
    RunFor(1000);
    const long startedKb = ResidentKb();
    const double cpuBefore = ProcessCpuSeconds();
    const int32_t framesBefore = form->Recording().Measure().FrameCount;
    QElapsedTimer clock;
    clock.start();

    Combo("cbPeriod")->setCurrentIndex(Combo("cbPeriod")->findText(QStringLiteral("100")));
    Button("btStart")->click();
    // The frames received in each 10 s: a UI thread that falls behind loses frames.
    std::vector<int32_t> framesAt{framesBefore};
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (clock.elapsed() >= 10000 * static_cast<qint64>(framesAt.size())) {
                framesAt.push_back(form->Recording().Measure().FrameCount);
            }
            return Button("btStop")->isChecked();
        },
        300000));
    const double seconds = clock.elapsed() * 0.001;
    const double cpuShare = (ProcessCpuSeconds() - cpuBefore) / seconds;
    const double framesPerSecond =
        (form->Recording().Measure().FrameCount - framesBefore) / seconds;
    const long fullKb = ResidentKb();

    const TSampleStore& store = form->Recording().Store();
    ASSERT_EQ(store.Count, kStoreCapacity) << "the full store, not the lost link, stopped it";
    EXPECT_TRUE(Button("btSaveTest")->isEnabled());
    for (int i = 0; i < store.Count; ++i) {
        ASSERT_EQ(store.TimeMs[i], i * 100) << "sample " << i;
    }
    EXPECT_GT(store.ForceN[store.Count - 1], store.ForceN[0] + 30000) << "the load rose";

    const auto recorded = CopyOf(store);
    const QString path = folder->FilePath(QStringLiteral("soak.ktd"));
    dialogs.fileAnswers = {path};
    Button("btSaveTest")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    Button("btCancel")->click();
    ASSERT_EQ(store.Count, 0);
    dialogs.fileAnswers = {path};
    Button("btOpenTest")->click();
    EXPECT_TRUE(SameSamples(*recorded, store));
    RunFor(500);
    const long reopenedKb = ResidentKb();

    std::printf("soak: %d samples in %.1f s, %.0f frames/s, test process CPU %.1f %% of one core\n",
                store.Count, seconds, framesPerSecond, cpuShare * 100);
    std::printf("soak: frames/s in each 10 s:");
    for (size_t i = 1; i < framesAt.size(); ++i) {
        std::printf(" %d", (framesAt[i] - framesAt[i - 1]) / 10);
    }
    std::printf("\n");
    std::printf(
        "soak: resident memory after start-up %.1f MB, store full %.1f MB (+%.1f MB), "
        "after save and open %.1f MB (+%.1f MB)\n",
        startedKb / 1024.0, fullKb / 1024.0, (fullKb - startedKb) / 1024.0, reopenedKb / 1024.0,
        (reopenedKb - startedKb) / 1024.0);
    // The store and the chart's 32767 points take a few MB; a leak per frame (about 33000
    // frames) would take far more.
    EXPECT_LT(fullKb - startedKb, 50 * 1024);
    EXPECT_LT(reopenedKb - startedKb, 50 * 1024);
}

}  // namespace
