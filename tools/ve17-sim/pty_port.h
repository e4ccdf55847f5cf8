// The unit's end of the serial line: a pseudo-terminal whose slave side plays the port.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/unique_fd.h"

namespace ve17sim {

class PtyPort {
  public:
    // Opens the master and one slave descriptor of our own, so the line stays up while the
    // recorder closes and re-opens the port; the slave is raw, 57600 baud, 8N1.
    // Throws std::system_error when the system has no pseudo-terminal to give.
    PtyPort();

    const std::string& SlavePath() const { return slavePath_; }
    bool IsOpen() const { return master_.Get() >= 0; }

    // Writes what the line takes within the timeout and returns how many bytes that was.
    // A port nobody reads fills up; the unit never waits for it longer than that.
    size_t Write(std::span<const uint8_t> bytes, std::chrono::milliseconds timeout);

    // Throws away whatever the far end wrote: the unit never listens.
    void DiscardInput();

    // A recorder that ended without closing its port (killed, crashed) leaves the terminal in
    // exclusive mode, which keeps its next start out unless it runs as root. The recorder holds
    // a lock on the port while it has it open; with no lock held the mode is stale and cleared.
    void ReleaseStaleExclusive();

    // Closes the master, so the recorder's port sees a hang-up (EIO) as with a pulled adapter.
    // Our own slave descriptor, hung up with it, stays open: while it does, the system gives the
    // terminal's number to no other pseudo-terminal, so a recorder that tries its port again
    // finds no device there rather than somebody else's line.
    void HangUp();

  private:
    platform::TUniqueFd master_;
    platform::TUniqueFd slave_;
    std::string slavePath_;
};

// Raw 57600 baud, 8 data bits, 1 stop bit, no parity, no flow control: no byte is translated.
// Returns false (errno set) when the settings cannot be applied.
bool SetRawLine(int fd);

}  // namespace ve17sim
