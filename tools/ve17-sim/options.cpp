#include "options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>

#include "frame_encoder.h"

namespace ve17sim {

namespace {

constexpr double kDefaultSilenceAfterS = 5;
constexpr double kDefaultHangupAfterS = 5;
constexpr int kDropFrames = 3;  // the failure falls to the rest load within this many frames
constexpr double kLongest = 1e9;

struct NumberOption {
    std::string_view name;
    double low;
    bool lowIncluded;
    double high;
    bool whole;
    std::function<void(Options&, double)> set;
};

struct FlagOption {
    std::string_view name;
    std::function<void(Options&)> set;
};

const std::vector<NumberOption>& NumberOptions() {
    static const std::vector<NumberOption> options = {
        {"--scale", 0, false, 32767, false, [](Options& o, double v) { o.stream.scaleKn = v; }},
        {"--rate", 0, false, kLineBytesPerSecond / kMeasurementFrameSize, false,
         [](Options& o, double v) { o.stream.rateHz = v; }},
        {"--duration", 0, false, kLongest, false,
         [](Options& o, double v) { o.stream.durationS = v; }},
        {"--seed", 0, true, 4294967295.0, true,
         [](Options& o, double v) {
             o.stream.seed = static_cast<uint32_t>(v);
             o.seedGiven = true;
         }},
        {"--load-rate", 0, false, 1e5, false,
         [](Options& o, double v) { o.stream.load.loadRateKnS = v; }},
        {"--peak", 0, false, 1e5, false, [](Options& o, double v) { o.stream.load.peakKn = v; }},
        {"--rest", 0, true, 1e5, false, [](Options& o, double v) { o.stream.load.restKn = v; }},
        {"--pause", 0, true, kLongest, false,
         [](Options& o, double v) { o.stream.load.pauseS = v; }},
        {"--load", 0, true, 1e5, false, [](Options& o, double v) { o.stream.load.steadyKn = v; }},
        {"--split-pause-ms", 0, true, 60000, true,
         [](Options& o, double v) { o.stream.faults.splitPauseMs = static_cast<int>(v); }},
        {"--silence-after", 0, true, kLongest, false,
         [](Options& o, double v) { o.stream.faults.silenceAfterS = v; }},
        {"--talk", 0, false, kLongest, false,
         [](Options& o, double v) { o.stream.faults.talkS = v; }},
        {"--mute", 0, false, kLongest, false,
         [](Options& o, double v) { o.stream.faults.muteS = v; }},
        {"--hangup-after", 0, true, kLongest, false,
         [](Options& o, double v) { o.stream.faults.hangupAfterS = v; }},
    };
    return options;
}

const std::vector<FlagOption>& FlagOptions() {
    static const std::vector<FlagOption> options = {
        {"--no-map", [](Options& o) { o.noMap = true; }},
        {"--fast", [](Options& o) { o.stream.fast = true; }},
        {"--repeat", [](Options& o) { o.stream.load.repeat = true; }},
        {"--garbage", [](Options& o) { o.stream.faults.garbage = true; }},
        {"--split", [](Options& o) { o.stream.faults.split = true; }},
        {"--kinds", [](Options& o) { o.stream.faults.kinds = true; }},
        {"--overlong", [](Options& o) { o.stream.faults.overlong = true; }},
        {"--quiet", [](Options& o) { o.quiet = true; }},
        {"--verbose", [](Options& o) { o.stream.verbose = true; }},
        {"--help", [](Options& o) { o.help = true; }},
        {"-h", [](Options& o) { o.help = true; }},
    };
    return options;
}

std::string SetNumber(const NumberOption& option, const std::string& text, Options& o) {
    const std::string what = std::string(option.name) + " " + text;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v)) {
        return what + ": not a number";
    }
    const bool low = option.lowIncluded ? v >= option.low : v > option.low;
    if (option.whole && v != std::floor(v)) {
        return what + ": not a whole number";
    }
    if (!low || v > option.high) {
        char range[96];
        std::snprintf(range, sizeof range, ": out of range (%s %g, at most %g)",
                      option.lowIncluded ? "at least" : "more than", option.low, option.high);
        return what + range;
    }
    option.set(o, v);
    return {};
}

std::string ApplyProfile(const std::string& name, Options& o) {
    FaultSettings& f = o.stream.faults;
    o.stream.load.shape = name == "press" ? LoadShape::Press : LoadShape::Steady;
    if (name == "press" || name == "steady") {
        return {};
    }
    if (name == "silence") {
        if (f.silenceAfterS < 0 && f.talkS == 0) {
            f.silenceAfterS = kDefaultSilenceAfterS;
        }
    } else if (name == "garbage") {
        f.garbage = true;
    } else if (name == "split") {
        f.split = true;
    } else if (name == "kinds") {
        f.kinds = true;
    } else if (name == "overlong") {
        f.overlong = true;
    } else if (name == "hangup") {
        if (f.hangupAfterS < 0) {
            f.hangupAfterS = kDefaultHangupAfterS;
        }
    } else {
        return "--profile " + name + ": unknown profile";
    }
    return {};
}

std::string Finish(const std::string& profile, Options& o) {
    if (o.help) {
        return {};
    }
    const FaultSettings& f = o.stream.faults;
    if ((f.talkS > 0) != (f.muteS > 0)) {
        return "--talk and --mute go together";
    }
    if (o.quiet && o.stream.verbose) {
        return "--quiet and --verbose exclude each other";
    }
    if (!o.noMap && o.iniPath.empty()) {
        return "say which VE17.ini to map the port in (--ini PATH), or use --no-map";
    }
    const double framePeriodS =
        o.stream.fast ? kMeasurementFrameSize / kLineBytesPerSecond : 1.0 / o.stream.rateHz;
    o.stream.load.dropS = kDropFrames * framePeriodS;
    return ApplyProfile(profile, o);
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    std::string profile = "press";
    for (size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const size_t eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            inlineValue = true;
        }
        const auto takeValue = [&]() -> bool {
            if (inlineValue) {
                return true;
            }
            if (i + 1 >= args.size()) {
                result.error = name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        bool known = false;
        for (const FlagOption& flag : FlagOptions()) {
            if (flag.name == name && !inlineValue) {
                flag.set(o);
                known = true;
            }
        }
        for (const NumberOption& number : NumberOptions()) {
            if (number.name == name) {
                known = true;
                if (takeValue()) {
                    result.error = SetNumber(number, value, o);
                }
            }
        }
        if (name == "--ini" || name == "--port" || name == "--profile") {
            known = true;
            if (takeValue()) {
                (name == "--ini" ? o.iniPath : name == "--port" ? o.portName : profile) = value;
            }
        }
        if (!known) {
            result.error = "unknown option " + args[i];
        }
    }
    if (result.error.empty()) {
        result.error = Finish(profile, o);
    }
    return result;
}

std::string UsageText() {
    return R"(ve17-sim - plays the VE-17 measuring unit on a pseudo-terminal, for tests and demos.

Usage: ve17-sim --ini PATH [--port COMn] [options]
       ve17-sim --no-map [options]

The simulator opens a pseudo-terminal (raw, 57600 baud, 8N1), points the COM name at its
slave side in the [PORTS] section of the given VE17.ini (COM1=/dev/pts/N), so the recorder
opens it as its port, and then prints the slave's path as the first line on standard output:
once that line is there, the recorder may be started.
It then streams frames as the unit does: 0x77, a 2-byte frame counter, the kind (' ' for a
measurement), the payload length (little-endian), a spare byte, 0x0A, then the payload;
measurement frames carry 12 payload bytes, the force code little-endian in the first two.
Code 52428 is the full scale (--scale kN); codes 0..65535 cover 0..1.25 x full scale.
When it ends (Ctrl+C, SIGTERM, SIGHUP, --duration) it puts the INI back as it was: byte for
byte if nobody changed the file meanwhile, otherwise the previous value of the key, or no key.

Port:
  --ini PATH            the recorder's VE17.ini whose [PORTS] section gets the mapping
  --port NAME           COM name to map (default COM1)
  --no-map              map nothing; just print the path

Pace and load:
  --profile NAME        press (default), steady, silence, garbage, split, kinds, overlong,
                        hangup; the last six hold a steady load and switch on their fault
  --scale KN            full scale of the channel, the recorder's FORCE_SCALE (default 100)
  --rate HZ             measurement frames per second (default 10, at most 288)
  --fast                as many frames as 57600 baud carries (288 a second of 20 bytes);
                        bytes are never sent faster than the line, faults included
  --load-rate KN/S      press: rise of the load (default 5)
  --peak KN             press: the specimen fails at this load (default 80)
  --rest KN             press: load left after the failure (default 0.5); the fall takes
                        three frames
  --repeat              press: start the next specimen after a pause
  --pause S             press: the pause before the next specimen (default 5)
  --load KN             steady load (default 10; the fault profiles use it too)

Faults (combine them freely with press or steady):
  --garbage             random bytes between frames, start markers (0x77) and over-long
                        headers among them
  --split               every measurement frame in two parts with a pause between
  --split-pause-ms MS   that pause (default 100)
  --kinds               'p' frames and frames of other kinds mixed in
  --overlong            now and then a header announcing more than 1016 payload bytes,
                        followed by normal frames
  --silence-after S     fall silent for good after S seconds (profile silence: 5)
  --talk S --mute S     alternate S seconds of frames and S seconds of silence
  --hangup-after S      close the line after S seconds, so the recorder's port sees a
                        hang-up (profile hangup: 5); until then the simulator keeps its own
                        end of the port open, so the recorder may close and re-open it

Run:
  --duration S          end after S seconds (default: run until Ctrl+C or SIGTERM)
  --seed N              seed of the random faults, for a reproducible stream (default: a
                        random seed, printed at the start)
  --quiet               print only the path
  --verbose             one line per measurement frame on standard error
  --help, -h            this text

Options take their value as the next argument or after '=' (--rate=20).
Exit status: 0 after a normal end, 1 when the line or the INI cannot be set up, 2 for a
bad command line.

Examples:
  ve17-sim --ini build/bin/VE17.ini --port COM1
      a press test: the load rises at 5 kN/s to 80 kN, the specimen fails, rest
  ve17-sim --ini build/bin/VE17.ini --load-rate 20 --peak 110 --repeat --pause 3
      one specimen after another, faster and up to 110 kN
  ve17-sim --ini VE17.ini --profile steady --load 50 --fast --duration 60
      50 kN held, as fast as the line allows, for a minute
  ve17-sim --ini VE17.ini --garbage --kinds --split --split-pause-ms 300 --seed 7
      a press test through a noisy line, the same noise every run
  ve17-sim --ini VE17.ini --profile steady --talk 3 --mute 2
      the link comes and goes: 3 s of frames, 2 s of silence
  ve17-sim --no-map --profile hangup --hangup-after 2
      prints the path and pulls the line 2 s later
)";
}

}  // namespace ve17sim
