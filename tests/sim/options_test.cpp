#include "options.h"

#include <gtest/gtest.h>

namespace ve17sim {
namespace {

ParseResult Parse(std::vector<std::string> args) {
    return ParseOptions(args);
}

TEST(SimOptions, DefaultsAreAPressTestAtTenFramesASecond) {
    const ParseResult r = Parse({"--ini", "VE17.ini"});
    ASSERT_EQ(r.error, "");
    const Options& o = r.options;
    EXPECT_EQ(o.iniPath, "VE17.ini");
    EXPECT_EQ(o.portName, "COM1");
    EXPECT_EQ(o.stream.load.shape, LoadShape::Press);
    EXPECT_EQ(o.stream.load.loadRateKnS, 5);
    EXPECT_EQ(o.stream.load.peakKn, 80);
    EXPECT_EQ(o.stream.scaleKn, 100);
    EXPECT_EQ(o.stream.rateHz, 10);
    EXPECT_DOUBLE_EQ(o.stream.load.dropS, 0.3);  // three frames
    EXPECT_LT(o.stream.durationS, 0);
    EXPECT_FALSE(o.seedGiven);
}

TEST(SimOptions, FaultProfilesHoldASteadyLoadAndSwitchOnTheirFault) {
    struct Case {
        std::vector<std::string> args;
        bool (*check)(const FaultSettings&);
    };
    const Case cases[] = {
        {{"--profile", "garbage"}, [](const FaultSettings& f) { return f.garbage; }},
        {{"--profile", "split"}, [](const FaultSettings& f) { return f.split; }},
        {{"--profile", "kinds"}, [](const FaultSettings& f) { return f.kinds; }},
        {{"--profile", "overlong"}, [](const FaultSettings& f) { return f.overlong; }},
        {{"--profile", "silence"}, [](const FaultSettings& f) { return f.silenceAfterS == 5; }},
        {{"--profile=silence", "--silence-after", "2"},
         [](const FaultSettings& f) { return f.silenceAfterS == 2; }},
        {{"--profile", "silence", "--talk", "3", "--mute", "1"},
         [](const FaultSettings& f) {
             return f.silenceAfterS < 0 && f.talkS == 3 && f.muteS == 1;
         }},
        {{"--hangup-after", "2", "--profile", "hangup"},
         [](const FaultSettings& f) { return f.hangupAfterS == 2; }},
        {{"--profile", "hangup"}, [](const FaultSettings& f) { return f.hangupAfterS == 5; }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--no-map");
        const ParseResult r = Parse(args);
        ASSERT_EQ(r.error, "") << c.args[0] << c.args[1];
        EXPECT_EQ(r.options.stream.load.shape, LoadShape::Steady) << c.args[1];
        EXPECT_TRUE(c.check(r.options.stream.faults)) << c.args[1];
    }
}

TEST(SimOptions, FaultsCombineWithThePressAndFastPaceShortensTheDrop) {
    const ParseResult r = Parse({"--no-map", "--garbage", "--split", "--split-pause-ms=700",
                                 "--fast", "--seed", "42", "--repeat", "--peak", "110"});
    ASSERT_EQ(r.error, "");
    const Options& o = r.options;
    EXPECT_EQ(o.stream.load.shape, LoadShape::Press);
    EXPECT_TRUE(o.stream.faults.garbage && o.stream.faults.split && o.stream.load.repeat);
    EXPECT_EQ(o.stream.faults.splitPauseMs, 700);
    EXPECT_EQ(o.stream.seed, 42u);
    EXPECT_TRUE(o.seedGiven);
    EXPECT_EQ(o.stream.load.peakKn, 110);
    EXPECT_DOUBLE_EQ(o.stream.load.dropS, 3 * 20 / 5760.0);
}

TEST(SimOptions, BadCommandLinesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> cases = {
        {},                             // no INI and no --no-map
        {"--no-map", "--rate", "0"},    // no frames at all
        {"--no-map", "--rate", "289"},  // more than the line carries
        {"--no-map", "--rate", "ten"},
        {"--no-map", "--rate", "10x"},
        {"--no-map", "--scale", "-100"},
        {"--no-map", "--scale", "40000"},  // FORCE_SCALE is a 16-bit number
        {"--no-map", "--seed", "1.5"},
        {"--no-map", "--duration", "nan"},
        {"--no-map", "--duration"},   // value missing
        {"--no-map", "--talk", "3"},  // without --mute
        {"--no-map", "--profile", "crush"},
        {"--no-map", "--fast=yes"},
        {"--no-map", "--quiet", "--verbose"},
        {"--no-map", "--bogus"},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const std::string& a : args) {
            line += a + " ";
        }
        EXPECT_NE(Parse(args).error, "") << line;
    }
}

TEST(SimOptions, HelpNeedsNothingElse) {
    const ParseResult r = Parse({"--help"});
    EXPECT_EQ(r.error, "");
    EXPECT_TRUE(r.options.help);
}

}  // namespace
}  // namespace ve17sim
