#pragma once
// Private messages (WM_USER + 101 .. 126) the graph and the channel pages send to the main dialog,
// and how band, value and type are packed into their two words. The same numbers are the keys
// (low 16 bits) of the main dialog's one-shot timers, which debounce a change before its frame.

#include <cstdint>

namespace notice {

inline constexpr unsigned kMasterVolume = 0x465;  // timer key only, one timer per master slider
inline constexpr unsigned kGraphBandQ = 0x466;    // graph: (band, Q x 10)
// graph: (PackBandFreq, gain x 10); as a timer key, the band's frame of any band edit
inline constexpr unsigned kGraphBandFreqGain = 0x467;
inline constexpr unsigned kBandGain = 0x468;  // (band, gain x 10)
inline constexpr unsigned kBandQ = 0x469;     // (band, Q x 10)
inline constexpr unsigned kBandType = 0x46A;  // (band, type 1..3)
inline constexpr unsigned kBandFreq = 0x46B;  // (band, Hz)
inline constexpr unsigned kDelays = 0x46C;
inline constexpr unsigned kLimiter = 0x46D;
inline constexpr unsigned kFbc = 0x46E;
inline constexpr unsigned kNoiseGate = 0x46F;
inline constexpr unsigned kEffectBlock = 0x471;
inline constexpr unsigned kMusicLevels = 0x472;
inline constexpr unsigned kDirectLevels = 0x473;
inline constexpr unsigned kEchoLevels = 0x474;
inline constexpr unsigned kReverbLevels = 0x475;
inline constexpr unsigned kEchoHighPass = 0x476;
inline constexpr unsigned kEchoLowPass = 0x477;
inline constexpr unsigned kReverbHighPass = 0x478;
inline constexpr unsigned kReverbLowPass = 0x479;
inline constexpr unsigned kPassBand = 0x47A;   // (Hz, PackBandType)
inline constexpr unsigned kBandFocus = 0x47B;  // (band, 0)
inline constexpr unsigned kMusicInput = 0x47C;
inline constexpr unsigned kMutes = 0x47D;
inline constexpr unsigned kCrossover = 0x47E;

// A graph press adds this to the band half of kGraphBandFreqGain's wParam.
inline constexpr int kPressFlag = 0x100;

// kGraphBandFreqGain's wParam: band (with kPressFlag on a press) in the high half, Hz in the low.
constexpr std::uint32_t PackBandFreq(int band, int freq) {
    return (static_cast<std::uint32_t>(band) << 16) | (static_cast<std::uint32_t>(freq) & 0xFFFF);
}
constexpr int BandOf(std::uint32_t packed) {
    return static_cast<int>((packed >> 16) & 0xFFFF);
}
// The band of a press: the flag is dropped with anything above it; other values pass unchanged.
constexpr int WithoutPress(int band) {
    return (band & kPressFlag) ? band & 0xFF : band;
}
constexpr int FreqOf(std::uint32_t packed) {
    return static_cast<int>(packed & 0xFFFF);
}

// kPassBand's lParam: band in the high half, filter type in the low.
constexpr std::uint32_t PackBandType(int band, int type) {
    return (static_cast<std::uint32_t>(band) << 16) | (static_cast<std::uint32_t>(type) & 0xFFFF);
}
constexpr int TypeOf(std::uint32_t packed) {
    return static_cast<int>(packed & 0xFFFF);
}

}  // namespace notice
