// The simulator's command line.
#pragma once

#include <string>
#include <vector>

#include "streamer.h"

namespace ve17sim {

struct Options {
    StreamSettings stream;
    std::string iniPath;
    std::string portName = "COM1";
    bool noMap = false;
    bool quiet = false;
    bool help = false;
    bool seedGiven = false;
};

struct ParseResult {
    Options options;
    std::string error;  // empty when the command line was good
};

// Arguments without the program name. Profile names set the load shape and switch on their
// fault with its default values; fault options also work on their own, on top of any profile.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The --help text.
std::string UsageText();

}  // namespace ve17sim
