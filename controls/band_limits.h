#pragma once
// What a band may hold: frequency, gain and Q ranges, and the same ends in tenths as the notices
// and the graph's keys carry them.

namespace controls {

constexpr int kMinFreq = 20;
constexpr int kMaxFreq = 20000;
constexpr float kMinGain = -24.0f;
constexpr float kMaxGain = 12.0f;
constexpr float kMinQ = 0.4f;
constexpr float kMaxQ = 128.0f;

constexpr int kMinGainTenths = -240;
constexpr int kMaxGainTenths = 120;
constexpr int kMinQTenths = 4;
constexpr int kMaxQTenths = 1280;

}  // namespace controls
