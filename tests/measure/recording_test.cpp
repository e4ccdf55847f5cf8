// The test under way announces each change once, and only a change.
#include "measure/recording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/device_frames.h"

namespace {

class RecordingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QObject::connect(&recording, &TRecording::RegistrationStarted,
                         [this] { heard.push_back("start"); });
        QObject::connect(&recording, &TRecording::SampleAppended, [this](double timeS, double) {
            heard.push_back("sample " + std::to_string(int(timeS * 1000)));
        });
        QObject::connect(&recording, &TRecording::RegistrationStopped,
                         [this] { heard.push_back("stop"); });
        QObject::connect(&recording, &TRecording::DataCancelled, [this](bool registering) {
            heard.push_back(registering ? "cancel, recording on" : "cancel");
        });
        QObject::connect(&recording, &TRecording::TestLoaded, [this](bool recovered) {
            heard.push_back(recovered ? "recovered" : "opened");
        });
        QObject::connect(&recording, &TRecording::TestSaved, [this](const QString& path) {
            heard.push_back("saved " + path.toStdString());
        });
    }

    // A measurement frame, stored as a sample while registering at the period 100 ms.
    measure::TFrameOutcome Frame(bool registering) {
        return recording.ProcessFrame(DeviceFrame(' ', 1000), 100, registering,
                                      QDateTime::currentDateTime());
    }

    static TSpecimenData Header(const char* name) {
        return FillForSave(QDate(2026, 12, 1), QString::fromLatin1(name), QString(), QString(),
                           QStringLiteral("100"), 0, 100);
    }

    TRecording recording;
    std::vector<std::string> heard;
};

TEST_F(RecordingTest, EachChangeIsAnnouncedOnceAndNothingElse) {
    EXPECT_FALSE(Frame(false).SampleStored);
    EXPECT_TRUE(recording.Start(100, 400));
    EXPECT_FALSE(recording.Start(100, 400)) << "a second Start is ignored";
    Frame(true);
    Frame(true);
    recording.ProcessFrame(DeviceFrame('p', 0), 100, true, QDateTime::currentDateTime());
    recording.WatchdogTick();
    recording.TimerTick(false);
    EXPECT_TRUE(recording.Stop());
    EXPECT_FALSE(recording.Stop());
    recording.MarkSaved(QStringLiteral("a.ktd"), Header("A"));
    recording.Cancel(false, [] {});
    EXPECT_EQ(heard, (std::vector<std::string>{"start", "sample 0", "sample 100", "stop",
                                               "saved a.ktd", "cancel"}));
    EXPECT_EQ(recording.Store().Count, 0);
}

// A recovered test is saved with the header it was recorded with, until a new registration or a
// Cancel replaces it; an opened test or a save leaves no recovered header behind.
TEST_F(RecordingTest, TheRecoveredHeaderLastsAsLongAsItsTest) {
    const struct {
        const char* step;
        bool recoveredAfter;
    } steps[] = {{"recover", true}, {"save", true},    {"start", false}, {"recover", true},
                 {"cancel", false}, {"recover", true}, {"open", false}};
    for (const auto& s : steps) {
        const std::string step = s.step;
        if (step == "recover") {
            recording.Loaded(Header("R"), true);
        } else if (step == "open") {
            recording.Loaded(Header("O"), false);
        } else if (step == "save") {
            recording.MarkSaved(QStringLiteral("r.ktd"), *recording.Recovered());
        } else if (step == "start") {
            recording.Start(100, 0);
            recording.Stop();
        } else {
            recording.Cancel(false, [] {});
        }
        EXPECT_EQ(recording.Recovered().has_value(), s.recoveredAfter) << step;
    }
    EXPECT_EQ(recording.Specimen().TestNameString(), QStringLiteral("O"));
}

}  // namespace
