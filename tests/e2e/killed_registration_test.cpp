// A registration killed with SIGKILL, through the real window and receiver thread against the
// simulated unit, comes back at the next start with every sample it had stored.
#include <QProcess>
#include <csignal>
#include <vector>

#include "sim_fixture.h"

namespace {

struct TPrintedSample {
    int32_t forceN;
    int32_t timeMs;
};

// The child's lines "sample <force> <time>", in order; a line cut by the kill is left out.
std::vector<TPrintedSample> PrintedSamples(const QByteArray& output) {
    std::vector<TPrintedSample> samples;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 3 && words[0] == "sample" && output.contains(line + '\n')) {
            samples.push_back({words[1].toInt(), words[2].toInt()});
        }
    }
    return samples;
}

class KilledRegistrationTest : public SimulatedUnitTest {
  protected:
    void TearDown() override {
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
        }
        SimulatedUnitTest::TearDown();
    }

    QProcess child;
};

TEST_F(KilledRegistrationTest, EverySampleStoredBeforeTheKillComesBackIdentical) {
    ASSERT_NO_FATAL_FAILURE(PrepareFolder(kLinkIni));
    // A rising load: every sample has a force of its own.
    ASSERT_NO_FATAL_FAILURE(StartSimulator({QStringLiteral("--profile"), QStringLiteral("press"),
                                            QStringLiteral("--load-rate"), QStringLiteral("3"),
                                            QStringLiteral("--peak"), QStringLiteral("120")}));
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(VE17_RECORDING_CHILD), {folder->Path()});
    ASSERT_TRUE(child.waitForStarted(10000));

    // A few seconds into the registration: 30 samples at 100 ms.
    QByteArray output;
    const bool recorded = WaitUntil(
        [&] {
            output += child.readAllStandardOutput();
            return output.count("sample ") >= 30;
        },
        60000);
    ASSERT_TRUE(recorded) << output.data() << child.readAllStandardError().data();
    ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
    ASSERT_TRUE(child.waitForFinished(10000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
    output += child.readAllStandardOutput();
    const QByteArray shown = child.readAllStandardError();
    EXPECT_FALSE(shown.contains("shown: ")) << shown.data();
    const std::vector<TPrintedSample> printed = PrintedSamples(output);
    ASSERT_GE(printed.size(), 30u);

    ASSERT_NO_FATAL_FAILURE(StartWindow());
    dialogs.questionAnswers = {true};
    form->RecoverRegistration();
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.questions.front().contains(QStringLiteral("«Убит-1»")))
        << dialogs.questions.front().toStdString();
    EXPECT_FALSE(dialogs.questions.front().contains(QStringLiteral("повреждён")))
        << dialogs.questions.front().toStdString();

    // Every printed sample was written before it was printed; one more may have been stored
    // and written when the kill came before its line.
    const TSampleStore& store = form->Recording().Store();
    const auto count = static_cast<size_t>(store.Count);
    std::printf("killed after %zu printed samples, %zu recovered\n", printed.size(), count);
    ASSERT_GE(count, printed.size());
    ASSERT_LE(count, printed.size() + 1);
    for (size_t i = 0; i < printed.size(); ++i) {
        ASSERT_EQ(store.ForceN[i], printed[i].forceN) << "sample " << i;
        ASSERT_EQ(store.TimeMs[i], printed[i].timeMs) << "sample " << i;
        ASSERT_EQ(store.TimeMs[i], static_cast<int32_t>(i) * 100) << "sample " << i;
    }
    EXPECT_GT(store.ForceN[store.Count - 1], store.ForceN[0]) << "the load rose";
    EXPECT_TRUE(FindControl<QPushButton>(*form, "btSaveTest")->isEnabled());
}

}  // namespace
