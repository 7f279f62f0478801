#pragma once
// What tells the four output pages apart (main, centre, surround, subwoofer), and the fixed
// numbers of the music, microphone and effect pages. The output pages are one class driven by this.

#include <array>
#include <vector>

#include "pages/channel_frames.h"
#include "pages/channel_sliders.h"

namespace chan {

struct MuteButton {
    int id;
    int bit;
};

struct OutputTraits {
    const char* eqSection;
    const char* alcSection;
    const char* muteSection;
    int bandCount;
    int templateId;
    std::array<int, 5> peakingFreq;  // bands 1..n-2
    BandMarks marks;
    LimiterTarget limiter;
    std::vector<int> delayIds;      // left/right or the single delay
    std::vector<MuteButton> mutes;  // button id and its bit in the mute word
    bool channelCaptions;           // the 1408/1409 "Left"/"Right" captions above the mutes
    bool framedPairs = false;       // the level and delay pairs stand in group boxes
    int MuteMask() const {
        int m = 0;
        for (const auto& b : mutes) m |= 1 << b.bit;
        return m;
    }
};

const OutputTraits& MainTraits();
const OutputTraits& MidTraits();
const OutputTraits& SurroundTraits();
const OutputTraits& BassTraits();

// Mute button faces (COLORREF 0x00BBGGRR).
inline constexpr unsigned kMutedFace = 0xEAD999;    // RGB(153, 217, 234)
inline constexpr unsigned kUnmutedFace = 0xF3F3F3;  // RGB(243, 243, 243)

namespace music {
inline constexpr int kBandCount = 9;
inline constexpr int kTemplate = 130;
inline constexpr std::array<int, 7> kPeakingFreq{80, 440, 960, 2700, 4300, 8000, 10000};
}  // namespace music

namespace mic {
inline constexpr int kBandCount = 17;
inline constexpr int kTemplate = 129;
inline constexpr std::array<int, 15> kPeakingFreq{50,   100,  250,  330,  500,   640,   800,  1000,
                                                  1300, 2000, 3200, 6400, 12000, 13000, 16000};
}  // namespace mic

namespace effect {
inline constexpr int kBandCount = 5;
inline constexpr int kTemplate = 131;
inline constexpr std::array<int, 3> kPeakingFreq{400, 900, 2700};
}  // namespace effect

}  // namespace chan
