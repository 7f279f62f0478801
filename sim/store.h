#pragma once
// The simulated processor's parameters, kept in the units the answers carry, so an answer is a copy.

#include <array>
#include <cstdint>
#include <string>

namespace sim {

// One EQ band as the band answers carry it.
struct Band {
    int enabled = 1;
    int gainField = 25600;  // 25600 + 100 x dB
    int freq = 1000;        // Hz
    int qField = 100;       // 100 x Q
    int code = 0;           // device filter code
    int preDelay = 0;       // ms; only the echo and reverb low-pass carry it
    bool operator==(const Band&) const = default;
};

constexpr int kMaxBands = 17;
using BandSet = std::array<Band, kMaxBands>;

// EQ paths of the processor.
enum class Path { Music, Mic, Main, Mid, Bass, Surround, Echo, Reverb, Count };
constexpr int kPathCount = static_cast<int>(Path::Count);
const char* PathName(Path p);
bool PathFromName(const std::string& name, Path& out);

// Output order of level, delay and limiter arrays: main L, main R, mid, bass, surround L, surround R.
constexpr int kOutputs = 6;

struct Limiter {
    int start = 50;      // ms
    int multiplier = 2;  // release = start x multiplier
    int limit = 20;      // dB
    int ratio = 5;       // %
    bool operator==(const Limiter&) const = default;
};

// Limiter channels as the limiter frame numbers them: 0/1 main, 2 bass, 3 mid, 4 surround; 5 the microphone.
constexpr int kMicLimiter = 5;
constexpr int kLimiters = 6;

enum Level { kMusicLevel, kDirectLevel, kEchoLevel, kReverbLevel, kLevelKinds };

struct Store {
    // Master volumes as answer bytes (the master frame's level byte + 56).
    int micMaster = 0;
    int effectMaster = 0;
    int musicMaster = 0;

    std::array<std::array<int, kOutputs>, kLevelKinds> levels{};
    std::array<int, kOutputs> delays{};
    std::array<Limiter, kLimiters> limiters{};

    // Noise gate: on, start and release level as positive dB (the answer negates them).
    int gateOn = 0;
    int gateStart = 80;
    int gateRelease = 20;

    // Feedback canceller: on and its three mode values.
    int fbcOn = 0;
    std::array<int, 3> fbc{100, 10, 0};

    // Effect block: bytes 6..20 of the effect frame.
    std::array<int, 15> effect{};

    // Status.
    int group = 0;
    int musicInput = 0;
    int mutes = 0;                // bit 0 main L, 1 main R, 2 mid, 3 bass, 4 surround L, 5 surround R
    std::array<int, 6> limits{};  // mic min, max, music min, max, effect min, max

    std::array<BandSet, kPathCount> bands{};

    BandSet& Eq(Path p) { return bands[static_cast<int>(p)]; }
    const BandSet& Eq(Path p) const { return bands[static_cast<int>(p)]; }

    bool operator==(const Store&) const = default;
};

// The console's own start-up values (page resets, config defaults).
Store DefaultStore();

// Text form: one "key values..." line per field, "#" comments; unknown keys are errors.
std::string StoreToText(const Store& s);
// Reads lines over `s`; on error returns false with a message naming the line and leaves `s` unchanged.
bool StoreFromText(const std::string& text, Store& s, std::string& error);

}  // namespace sim
