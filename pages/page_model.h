#pragma once
// The EQ band record of a page and the pure operations on it: frame fields, resets, bypass,
// the graph's copy. No widgets here; the Page widget mirrors this state.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "controls/band_limits.h"
#include "controls/band_types.h"
#include "link/frame.h"
#include "pages/iwave.h"

// The band record's filter types and the ranges the controls and the file reader keep.
using controls::FilterType;
using controls::kTypeHighPass;
using controls::kTypeHighShelf;
using controls::kTypeLowPass;
using controls::kTypeLowShelf;
using controls::kTypeOff;
using controls::kTypePeaking;

using controls::kMaxFreq;
using controls::kMaxGain;
using controls::kMaxGainTenths;
using controls::kMaxQ;
using controls::kMaxQTenths;
using controls::kMinFreq;
using controls::kMinGain;
using controls::kMinGainTenths;
using controls::kMinQ;
using controls::kMinQTenths;

// Device filter code of a type; a type outside 0..5 gives 0.
int DeviceCode(int type);
// Type of a device filter code as a band read back carries it: 0 -> 1, 6 -> 2, 7 -> 3; nullopt otherwise.
std::optional<int> TypeFromDeviceCode(int code);

// 25600 + 100 x gain after rounding the gain to a tenth away from zero (16 bits).
std::uint16_t GainField(float gain);
// 100 x Q after rounding Q up to a tenth (16 bits).
std::uint16_t QField(float q);

// The gain in tenths as the wire carries it (GainField's rounding), and as a float gain.
int GainTenths(float gain);
float QuantiseGain(float gain);
// Q in tenths as the Q field carries it, and as a float Q.
int QTenths(float q);
float QuantiseQ(float q);

// Position of a band gain slider for a gain: -round(gain x 10).
int GainSliderPos(float gain);

struct EqBandRecord {
    std::array<int, kMaxBands> freq{};
    std::array<float, kMaxBands> gain{};
    std::array<float, kMaxBands> q{};
    std::array<int, kMaxBands> type{};
    std::array<int, kMaxBands> enabled;  // 0 or 1

    EqBandRecord() { enabled.fill(1); }
};

class PageModel {
  public:
    explicit PageModel(int bandCount);

    int bandCount;                     // n: 5, 7, 9 or 17 (clamped to 0..17)
    int language = 0;                  // 0..4
    std::string sectionName = "[eq]";  // the preset line that opens the EQ section
    EqBandRecord band;
    std::array<int, kMaxBands> defaultFreq{};  // peaking bands after a reset
    bool bypass = false;                       // no peaking band enabled ("EQ PASS")

    bool IsBand(int b) const { return b >= 0 && b < bandCount; }
    bool IsPeaking(int b) const { return b >= 1 && b < bandCount - 1; }

    // The band frame without channel bits and checksum; nullopt outside 0..n-1.
    std::optional<ZemCmd::EqFrame> BandFrame(int b) const;
    // Bands 0..n-1 to their reset values (pass filters off), bands n..16 neutral; bypass kept.
    void ResetAll();
    // Peaking bands to their reset values, enabled unless bypassed.
    void ResetPeq();
    void SetBypass(bool on);
    bool RecomputeBypass();
    void CopyCurve(CurveRecord& out) const;
    // Gains and Qs of bands 0..n-1 to the steps the band frame carries (QuantiseGain, QuantiseQ),
    // so a value shown is the value sent.
    void QuantiseBands();
    // Stores the frame's frequency into its band; ignores a band outside 0..n-1.
    void TakeFrameFreq(const ZemCmd::EqFrame& frame);
    // Band 0..n-1: enabled = on ? 1 : 0; false when out of range.
    bool SetEnabled(int b, int on);

  private:
    void ResetPeakingBand(int b, int enabledFlag);
};

// The base limiter frame: A5 0E F1 18, bytes 4..13 zero, no checksum.
ZemCmd::Cmd BaseAlcFrame();
