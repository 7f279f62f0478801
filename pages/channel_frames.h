#pragma once
// Command frames owned by the channel pages: limiter, noise gate, feedback canceller, effect block,
// crossover, and the channel marks every page puts on its EQ band frames. Plain C++, no widgets.

#include <array>
#include <cstdint>
#include <optional>

#include "link/frame.h"
#include "link/output_channels.h"

namespace chan {

// ---- Limiter (ALC), sub-command 0x18 ----

struct LimiterValues {
    int limit = 20;             // dB, -34..20
    int startTime = 50;         // ms, 1..90
    int releaseMultiplier = 2;  // release time = start time x multiplier, 1..32
    int ratio = 5;              // %, 0..100
};

// Bytes 4, 5 and 6 of the limiter frame: which limiter of the processor is meant.
struct LimiterTarget {
    std::uint8_t group;
    std::uint8_t sub;
    std::uint8_t channel;
};

inline constexpr LimiterTarget kMicLimiter{2, 1, 1};
// The second front channel goes out with outch::kLimiterMainSecond.
inline constexpr LimiterTarget kMainLimiter{4, 0, outch::kLimiterMain};
inline constexpr LimiterTarget kBassLimiter{4, 0, outch::kLimiterSubwoofer};
inline constexpr LimiterTarget kMidLimiter{4, 0, outch::kLimiterCentre};
inline constexpr LimiterTarget kSurroundLimiter{4, 0, outch::kLimiterSurround};

ZemCmd::AlcFrame LimiterFrame(LimiterTarget target, const LimiterValues& v);

// ---- Microphone noise gate, sub-command 0x12 ----

inline constexpr int kGateOff = -81;  // start level that switches the gate off
inline constexpr int kGateAmplitudeCount = 81;
// Amplitude of -i dB at index i (0..80).
extern const std::array<std::uint16_t, kGateAmplitudeCount> kNoiseGateAmplitude;

// Amplitude for a level in dB; the off level and anything below -80 give 0, anything above 0 the top.
std::uint16_t NoiseGateAmplitude(int levelDb);

ZemCmd::Cmd NoiseGateFrame(int startDb, int releaseDb);

// ---- Microphone feedback canceller, sub-command 0x08 ----

inline constexpr int kFbcModeCount = 4;
// The three device values of modes 0 (off) .. 3.
inline constexpr std::array<std::array<int, 3>, kFbcModeCount> kFbcRows{
    {{100, 10, 0}, {100, 7, 0}, {100, 4, 0}, {100, 1, 0}}};

int ClampFbcMode(int mode);
ZemCmd::Cmd FbcFrame(int mode);
// The mode a preset line {on, v1, v2, v3} stands for: off when `on` is 0 or no mode 1..3 matches.
int FbcModeFromValues(int on, int v1, int v2, int v3);

// ---- Effect block, sub-command 0x0D ----

struct EffectBlockValues {
    int damp = 30;
    int roomSize = 90;
    int width = 100;
    int echoDelay = 200;
    int echoDecay = 30;
    int echoDirect = 40;
    int echoEffect = 60;
    int reverbDirect = 0;
    int reverbEffect = 100;
    int echoInDry = 50;
    int echoInReverb = 50;
};

ZemCmd::Cmd EffectBlockFrame(const EffectBlockValues& v);

// ---- Subwoofer crossover (band 0 of the subwoofer EQ) ----

inline constexpr int kCrossoverTop = 300;  // at the top of its slider the crossover goes out flat

// 17 bytes; byte 16 is left 0: the main dialog seals the frame before queuing it.
ZemCmd::EqFrame CrossoverFrame(int hz, int slopeItem);

// ---- Band frames ----

// What a page puts on the base band frame: OR into bytes 4 and 6, and its code in byte 13.
struct BandMarks {
    std::uint8_t byte4;
    std::uint8_t byte6;
    std::optional<std::uint8_t> byte13;  // none: keep the base's 0xFF
};

inline constexpr BandMarks kMusicMarks{0x02, 0x12, 0x03};
inline constexpr BandMarks kMicMarks{0x04, 0x22, 0x01};
inline constexpr BandMarks kEffectMarks{0x0E, 0x0A, std::nullopt};
inline constexpr BandMarks kMainMarks{0x08, 0x0E, outch::kEqPageMain};
inline constexpr BandMarks kMidMarks{0x08, 0x0A, outch::kEqPageCentre};
inline constexpr BandMarks kBassMarks{0x08, 0x0A, outch::kEqPageSubwoofer};
inline constexpr BandMarks kSurroundMarks{0x08, 0x0A, outch::kEqPageSurround};

// Marks and seals a base band frame. A band outside 0..bandCount-1 has no frame at all.
std::optional<ZemCmd::EqFrame> MarkBandFrame(const ZemCmd::EqFrame& base, int band, int bandCount,
                                             const BandMarks& marks);

// ---- Music high-pass slope ----

inline constexpr std::uint16_t kGainField12db = 0x5F50;  // -12 dB
inline constexpr std::uint16_t kGainField24db = 0x5AA0;  // -24 dB
inline constexpr std::uint16_t kGainField0db = 0x6400;

// Band 0 of the music page carries the slope in its gain field; the last band is on at 24 dB only.
void ApplyMusicSlope(ZemCmd::EqFrame& frame, int band, int lastBand, bool steep);

// What the band-0 follow-up did to the last band.
struct MusicFollowUp {
    int reportedHz;
    int type;
    bool enabled;
    int hz;  // the frequency the last band takes in both cases
};

// Rewrites a sealed band-0 frame of the music page into the last band's frame.
MusicFollowUp RewriteMusicFollowUp(ZemCmd::EqFrame& frame, int lastBand, bool steep);

// Frequency carried by a band frame (bytes 9, 10 and 14).
int BandFrameHz(const ZemCmd::Cmd& frame);
void PutLe16(ZemCmd::Cmd& frame, int offset, unsigned value);

}  // namespace chan
