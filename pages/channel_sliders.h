#pragma once
// The channel pages' own sliders as data: id, range, default, tick spacing, value label, value
// text, captions and the notice a user move sends. The pages are built from these tables.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "pages/page_ids.h"

namespace chan {

// How a value label writes a slider position.
enum class ValueText {
    Decimal,     // "%d"
    Db,          // "%ddb"
    GateStart,   // "Off" at -81, else "%ddb"
    Attack,      // "Atk x %d"
    Percent,     // "%d%%"
    Ms,          // "%dms"
    Hz,          // "%dHz"
    HighPassHz,  // "OFF" at 20, else "%dHz"
    LowPassHz,   // "OFF" at 20000, else "%dHz"
};

std::string FormatValue(ValueText text, int position);

using Captions = std::span<const char* const>;

struct SliderSpec {
    int id;
    int min;
    int max;
    int def;
    int tick;  // 0: the page sets no tick spacing
    int labelId;
    ValueText text;
    Captions captions;  // empty: the shared label refreshers caption it
    unsigned notice;
};

// The texts of the range's ends and their neighbours: with digits of one width, among them is the
// widest value the slider's label can show.
std::vector<std::string> ValueSamples(const SliderSpec& spec);

// Slider ids shared by several pages, by the names the slider tables use.
namespace id {
inline constexpr int kHighPass = pageid::kHighPassSlider;
inline constexpr int kStartTime = pageid::kStartTimeSlider;
inline constexpr int kReleaseMultiplier = pageid::kAttackSlider;
inline constexpr int kRatio = pageid::kRatioSlider;
inline constexpr int kLimit = pageid::kLimitSlider;
inline constexpr int kDirectLevel = pageid::kDirectLevelSlider;
inline constexpr int kEchoLevel = pageid::kEchoLevelSlider;
inline constexpr int kGateStart = pageid::kGateStartSlider;
inline constexpr int kGateRelease = pageid::kGateReleaseSlider;
inline constexpr int kMusicLevel = pageid::kMusicLevelSlider;
inline constexpr int kReverbLevel = pageid::kReverbLevelSlider;
inline constexpr int kLeftDelay = pageid::kLeftDelaySlider;
inline constexpr int kRightDelay = pageid::kRightDelaySlider;
inline constexpr int kDelay = pageid::kDelaySlider;
inline constexpr int kCrossover = pageid::kBassLowPassSlider;
}  // namespace id

// Limiter sliders in the preset order: limit, start time, release multiplier, ratio.
std::span<const SliderSpec> LimiterSliders();
// Level sliders: music, direct, echo, reverb (the label refresher's index order).
std::span<const SliderSpec> LevelSliders();
const SliderSpec& LeftDelaySlider();
const SliderSpec& RightDelaySlider();
const SliderSpec& DelaySlider();
const SliderSpec& CrossoverSlider();
const SliderSpec& MicHighPassSlider();
// Gate start, gate release.
std::span<const SliderSpec> GateSliders();
// The effect page's seventeen sliders in the order its reset visits them.
std::span<const SliderSpec> EffectSliders();

// Effect slider ids.
namespace fx {
inline constexpr int kEchoDelay = 1120;
inline constexpr int kEchoDecay = 1122;
inline constexpr int kEchoDirect = 1413;
inline constexpr int kEchoEffect = 1415;
inline constexpr int kEchoPreDelay = 1113;
inline constexpr int kEchoHighPass = 1421;
inline constexpr int kEchoLowPass = 1422;
inline constexpr int kReverbDirect = 1194;
inline constexpr int kReverbEffect = 1195;
inline constexpr int kWidth = 1107;
inline constexpr int kRoomSize = 1108;
inline constexpr int kDamp = 1110;
inline constexpr int kReverbPreDelay = 1115;
inline constexpr int kReverbHighPass = 1425;
inline constexpr int kReverbLowPass = 1426;
inline constexpr int kEchoInDry = 1111;
inline constexpr int kEchoInReverb = 1112;
}  // namespace fx

const SliderSpec* FindSpec(std::span<const SliderSpec> specs, int id);

// Slider positions of one page, clamped to each slider's range like a track bar.
class SliderBank {
  public:
    void Add(const SliderSpec& spec);
    void Add(std::span<const SliderSpec> specs);

    bool Has(int id) const { return Find(id) != nullptr; }
    int Get(int id) const;          // 0 for an unknown id
    int Set(int id, int position);  // returns the clamped position; unknown ids are ignored
    void Reset(int id);             // back to the default
    void ResetAll();
    const SliderSpec* Spec(int id) const;
    std::vector<int> Ids() const;

  private:
    struct Entry {
        const SliderSpec* spec;
        int pos;
    };
    const Entry* Find(int id) const;
    Entry* Find(int id);
    std::vector<Entry> entries_;
};

}  // namespace chan
