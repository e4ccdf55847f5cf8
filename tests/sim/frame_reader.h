// A small reader of the unit's frames for the simulator's tests: hunts for 0x77, takes a header
// ending in 0x0A and its payload; anything else (garbage, over-long headers) is skipped.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ve17sim::testing {

struct ParsedFrame {
    uint16_t tag = 0;
    uint8_t kind = 0;
    std::vector<uint8_t> payload;

    uint16_t Code() const { return payload.size() >= 2 ? payload[0] | payload[1] << 8 : 0; }
};

class FrameReader {
  public:
    void Feed(std::span<const uint8_t> bytes) {
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        for (;;) {
            size_t start = 0;
            while (start < buffer_.size() && buffer_[start] != 0x77) {
                ++start;
            }
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start));
            if (buffer_.size() < 8) {
                return;
            }
            const size_t length = buffer_[4] | buffer_[5] << 8;
            if (buffer_[7] != 0x0A || length > 1016) {
                buffer_.erase(buffer_.begin());
                ++skipped_;
                continue;
            }
            if (buffer_.size() < 8 + length) {
                return;
            }
            frames_.push_back({static_cast<uint16_t>(buffer_[1] | buffer_[2] << 8),
                               buffer_[3],
                               {buffer_.begin() + 8, buffer_.begin() + 8 + length}});
            buffer_.erase(buffer_.begin(),
                          buffer_.begin() + 8 + static_cast<std::ptrdiff_t>(length));
        }
    }

    const std::vector<ParsedFrame>& Frames() const { return frames_; }
    int Skipped() const { return skipped_; }

  private:
    std::vector<uint8_t> buffer_;
    std::vector<ParsedFrame> frames_;
    int skipped_ = 0;
};

}  // namespace ve17sim::testing
