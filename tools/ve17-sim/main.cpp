// ve17-sim: the measuring unit for tests and demos. See UsageText() or --help.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <random>

#include "options.h"
#include "port_mapping.h"
#include "pty_port.h"
#include "streamer.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested.store(true);
}

// No SA_RESTART: a pending sleep or poll returns at once and the stream loop ends, so the INI
// is put back on Ctrl+C and SIGTERM as on a normal end.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int Simulate(ve17sim::Options& options) {
    ve17sim::PtyPort port;
    std::optional<ve17sim::PortMapping> mapping;
    if (!options.noMap) {
        mapping.emplace(options.iniPath, options.portName, port.SlavePath());
    }
    // Printed once the mapping is in place: a script that has read it may start the recorder.
    std::printf("%s\n", port.SlavePath().c_str());
    std::fflush(stdout);
    std::FILE* log = options.quiet ? nullptr : stderr;
    if (log) {
        if (mapping) {
            std::fprintf(log, "ve17-sim: %s=%s in [PORTS] of %s\n", options.portName.c_str(),
                         port.SlavePath().c_str(), options.iniPath.c_str());
        }
        std::fprintf(log, "ve17-sim: seed %u; Ctrl+C ends\n", options.stream.seed);
    }
    const ve17sim::StreamStats stats = ve17sim::Stream(options.stream, port, stopRequested, log);
    const bool restored = !mapping || mapping->Restore();
    if (log) {
        std::fprintf(log, "ve17-sim: %llu measurement frames sent, %llu dropped, %llu bytes%s\n",
                     static_cast<unsigned long long>(stats.measurementFrames),
                     static_cast<unsigned long long>(stats.framesDropped),
                     static_cast<unsigned long long>(stats.bytesSent),
                     stats.hungUp ? ", line hung up" : "");
    }
    if (!restored) {
        std::fprintf(stderr, "ve17-sim: could not put %s back as it was\n",
                     options.iniPath.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    ve17sim::ParseResult parsed = ve17sim::ParseOptions({argv + 1, argv + argc});
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "ve17-sim: %s\nTry 've17-sim --help'.\n", parsed.error.c_str());
        return 2;
    }
    ve17sim::Options& options = parsed.options;
    if (options.help) {
        std::fputs(ve17sim::UsageText().c_str(), stdout);
        return 0;
    }
    if (!options.seedGiven) {
        options.stream.seed = std::random_device{}();
    }
    CatchStopSignals();
    try {
        return Simulate(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ve17-sim: %s\n", e.what());
        return 1;
    }
}
