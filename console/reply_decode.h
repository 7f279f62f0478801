#pragma once
// Decoding of the processor's read-back answers (class 0xF6): which kind each answer is and the
// values it carries, in the units the console's controls take. No widgets here; the main dialog's
// ApplyReply puts the values into the pages.

#include <array>
#include <cstdint>
#include <string>

#include "pages/level_kind.h"
#include "pages/page_index.h"

namespace reply {

constexpr int kWords = 50;

enum class Kind {
    NotAnswer,  // byte 2 is not 0xF6
    Unknown,    // a group/code pair no row knows
    PassOver,   // taken, nothing to apply
    MusicMaster,
    MicMaster,
    EffectMaster,
    MixLevels,
    MusicEq,
    MicEq,
    MicLimiter,
    NoiseGate,
    Fbc,
    OutputLimiter,
    Delays,
    OutputEq,
    Crossover,
    EchoEq,
    EffectBlock,
    ReverbEq,
    Status,
};

// One answer, one byte per 32-bit word (only the low 8 bits of a word count).
class Answer {
  public:
    explicit Answer(const std::uint32_t* words) : w_(words) {}

    int operator[](int k) const { return static_cast<int>(w_[k] & 0xFF); }
    int Le16(int k) const { return (*this)[k] + 256 * (*this)[k + 1]; }
    // The group/code pair (bytes 3 and 4), as readback::Pair::Key() gives it.
    int Pair() const { return (*this)[3] << 8 | (*this)[4]; }
    Kind Classify() const;
    // Bytes (checksum included) an answer of this group and code must have so that everything
    // its row reads is its own; 0 for a pair no row takes.
    int MinimumLength() const;
    // Long enough for its row; a shorter answer is refused, nothing of it applied.
    bool Whole() const { return (*this)[1] >= MinimumLength(); }

  private:
    const std::uint32_t* w_;
};

// Master slider positions.
// Before the slider's own range, which the applier clamps to.
int MusicMasterPos(int b6);
int MicMasterPos(int b6);
int EffectMasterPos(int b6);

// An EQ band answer; frequency, gain and Q brought into the band record's ranges.
struct Band {
    int index;
    int channel;  // byte 7
    int enabled;
    int gainField;
    float gain;  // dB
    int freq;
    float q;
    int code;      // device filter code
    int preDelay;  // ms (echo and reverb low-pass only)
};
Band DecodeBand(const Answer& a);

// The gain field that puts the music high-pass at "12db" / "24db".
constexpr int kSlope12 = 0x5F50;
constexpr int kSlope24 = 0x5AA0;

// Limiter slider positions.
struct Limiter {
    int limit;       // slider 1083
    int ratio;       // slider 1082
    int start;       // slider 1080
    int multiplier;  // slider 1081
};
Limiter DecodeLimiter(const Answer& a);
// Which output page a limiter answer's channel (outch::Limiter) belongs to.
pageindex::Index LimiterPage(int channel);

// Mix levels and delays per output page.
struct Outputs {
    int main, mainRight, mid, bass, surround, surroundRight;
};
Outputs DecodeOutputs(const Answer& a);
// Which level a mix-level answer carries, by its code.
levelkind::Index LevelKind(const Answer& a);

// Noise-gate slider positions.
struct Gate {
    int start;
    int release;
};
Gate DecodeGate(const Answer& a);

// Feedback-canceller mode 0..3.
int DecodeFbcMode(const Answer& a);

struct Status {
    int preset;  // combo selection, -1 none
    int musicInput;
    int mutes;
    std::array<int, 6> limits;  // mic min, max, music min, max, effect min, max
};
Status DecodeStatus(const Answer& a);
// "[recv]mic %d,%d;musuc %d,%d;effect %d,%d\n"
std::string StatusTrace(const Status& s);

}  // namespace reply
