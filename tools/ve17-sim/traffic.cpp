#include "traffic.h"

#include <cmath>

#include "frame_encoder.h"

namespace ve17sim {

namespace {

constexpr int kMaxGarbageBytes = 12;
constexpr int kOverlongEvery = 10;  // ticks, on average, between over-long headers
constexpr int kOtherKindEvery = 5;  // ticks, on average, between frames of other kinds

}  // namespace

double TalkingFrom(const FaultSettings& faults, double seconds) {
    if (faults.silenceAfterS >= 0 && seconds >= faults.silenceAfterS) {
        return -1;
    }
    if (faults.talkS > 0 && faults.muteS > 0) {
        const double cycle = faults.talkS + faults.muteS;
        const double start = std::floor(seconds / cycle) * cycle;
        if (seconds - start >= faults.talkS) {
            const double resume = start + cycle;
            const bool silentForGood = faults.silenceAfterS >= 0 && resume >= faults.silenceAfterS;
            return silentForGood ? -1 : resume;
        }
    }
    return seconds;
}

Traffic::Traffic(const FaultSettings& faults, uint32_t seed) : faults_(faults), rng_(seed) {}

bool Traffic::OneIn(int n) {
    return std::uniform_int_distribution<int>(1, n)(rng_) == 1;
}

std::vector<uint8_t> Traffic::Garbage() {
    std::uniform_int_distribution<int> count(1, kMaxGarbageBytes);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> bytes(count(rng_));
    for (uint8_t& b : bytes) {
        // A start marker now and then, so the recorder has to give up false starts.
        b = OneIn(6) ? kStartMarker : static_cast<uint8_t>(byte(rng_));
    }
    if (OneIn(kOverlongEvery)) {
        const std::vector<uint8_t> header = OverlongHeader();
        bytes.insert(bytes.end(), header.begin(), header.end());
    }
    return bytes;
}

std::vector<uint8_t> Traffic::OverlongHeader() {
    std::uniform_int_distribution<int> length(kLongestPayload + 1, 0xFFFF);
    const uint8_t kind = OneIn(2) ? kMeasurementKind : kResetKind;
    return EncodeHeader(tag_++, kind, static_cast<uint16_t>(length(rng_)));
}

std::vector<uint8_t> Traffic::OtherKindFrame() {
    static constexpr uint8_t kOtherKinds[] = {'a', 'Z', 0x00, kStartMarker, 0xFF};
    std::uniform_int_distribution<int> pick(0, std::size(kOtherKinds) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> byte(0, 255);
    const uint8_t kind = OneIn(2) ? kResetKind : kOtherKinds[pick(rng_)];
    std::vector<uint8_t> payload(kind == kResetKind ? kMeasurementPayload : length(rng_));
    for (uint8_t& b : payload) {
        b = static_cast<uint8_t>(byte(rng_));
    }
    return EncodeFrame(tag_++, kind, payload);
}

void Traffic::AddMeasurement(std::vector<Chunk>& chunks, uint16_t forceCode) {
    std::vector<uint8_t> frame = EncodeMeasurement(tag_++, forceCode);
    if (!faults_.split) {
        chunks.push_back({std::move(frame), 0});
        return;
    }
    const int at = std::uniform_int_distribution<int>(1, kMeasurementFrameSize - 1)(rng_);
    chunks.push_back({{frame.begin(), frame.begin() + at}, faults_.splitPauseMs});
    chunks.push_back({{frame.begin() + at, frame.end()}, 0});
}

std::vector<Chunk> Traffic::Next(uint16_t forceCode) {
    std::vector<Chunk> chunks;
    if (faults_.garbage) {
        chunks.push_back({Garbage(), 0});
    }
    if (faults_.overlong && OneIn(kOverlongEvery)) {
        chunks.push_back({OverlongHeader(), 0});
    }
    if (faults_.kinds && OneIn(kOtherKindEvery)) {
        chunks.push_back({OtherKindFrame(), 0});
    }
    AddMeasurement(chunks, forceCode);
    return chunks;
}

}  // namespace ve17sim
