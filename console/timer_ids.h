#pragma once
// Timer ids of the main window. A change notice re-arms a one-shot timer whose id carries what to
// send: the low 16 bits are the notice number (the key), bits 16..23 the page (or master slider)
// index, bits 24..31 the band. Different bands and pages therefore debounce independently.

#include <cstdint>

namespace console::timer {

constexpr std::uint32_t kMasterVolume = 0x465;  // index = master slider 0 mic, 1 effect, 2 music
constexpr std::uint32_t kGraphBand = 0x467;     // page, band
constexpr std::uint32_t kBandGain = 0x468;      // page, band
constexpr std::uint32_t kDelays = 0x46C;
constexpr std::uint32_t kLimiter = 0x46D;    // page
constexpr std::uint32_t kFbc = 0x46E;        // page (unused by the frame)
constexpr std::uint32_t kNoiseGate = 0x46F;  // page (unused by the frame)
constexpr std::uint32_t kEffectBlock = 0x471;
constexpr std::uint32_t kMusicMix = 0x472;
constexpr std::uint32_t kDirectMix = 0x473;
constexpr std::uint32_t kEchoMix = 0x474;
constexpr std::uint32_t kReverbMix = 0x475;
constexpr std::uint32_t kEchoHighPass = 0x476;
constexpr std::uint32_t kEchoLowPass = 0x477;
constexpr std::uint32_t kReverbHighPass = 0x478;
constexpr std::uint32_t kReverbLowPass = 0x479;
constexpr std::uint32_t kPassBand = 0x47A;  // page, band
constexpr std::uint32_t kMusicInput = 0x47C;
constexpr std::uint32_t kMutes = 0x47D;
constexpr std::uint32_t kCrossover = 0x47E;

// How long a change waits for the next one before its frame goes out.
constexpr int kDebounceMs = 200;
constexpr int kHeartbeatMs = 1000;

constexpr std::uint32_t Id(std::uint32_t key, int page = 0, int band = 0) {
    return (key & 0xFFFFu) | ((static_cast<std::uint32_t>(page) & 0xFFu) << 16) |
           ((static_cast<std::uint32_t>(band) & 0xFFu) << 24);
}
constexpr std::uint32_t Key(std::uint32_t id) {
    return id & 0xFFFFu;
}
constexpr int Page(std::uint32_t id) {
    return static_cast<int>((id >> 16) & 0xFFu);
}
constexpr int Band(std::uint32_t id) {
    return static_cast<int>((id >> 24) & 0xFFu);
}

}  // namespace console::timer
