#pragma once
// Group/code pairs of the read-back requests (class 0xF4) and of the answers that echo them (0xF6).

#include <cstdint>

namespace readback {

struct Pair {
    std::uint8_t group;
    std::uint8_t code;
    // Bytes 3 and 4 of an answer as one number, for a switch.
    constexpr int Key() const { return group << 8 | code; }
};

inline constexpr Pair kMusicMaster{0x01, 0xA0};
inline constexpr Pair kMusicEq{0x01, 0xA1};
inline constexpr Pair kMusicLevel{0x01, 0xA2};
inline constexpr Pair kMicMaster{0x02, 0x80};
inline constexpr Pair kMicEq{0x02, 0x81};
inline constexpr Pair kMicLimiter{0x02, 0x82};
inline constexpr Pair kNoiseGate{0x02, 0x83};
inline constexpr Pair kFbc{0x02, 0x84};
inline constexpr Pair kEffectMaster{0x02, 0x85};
inline constexpr Pair kFbcThreshold{0x02, 0x88};  // asked; the answer is passed over
inline constexpr Pair kOutputLimiter{0x04, 0xC0};
inline constexpr Pair kDelays{0x04, 0xC1};
inline constexpr Pair kOutputEq{0x04, 0xC2};
inline constexpr Pair kDirectLevel{0x06, 0xB0};
inline constexpr Pair kEchoOther{0x07, 0x98};  // answered unasked; taken and passed over
inline constexpr Pair kEchoEq{0x07, 0x99};
inline constexpr Pair kEchoLevel{0x07, 0x9A};
inline constexpr Pair kEffectBlock{0x08, 0x90};
inline constexpr Pair kReverbEq{0x08, 0x91};
inline constexpr Pair kReverbLevel{0x08, 0x92};
inline constexpr Pair kStatus{0xF0, 0xD0};

}  // namespace readback
