#pragma once
// What the main dialog, the graph, the connect dialog and the preset file use of a channel page,
// without knowing its class. The order of the operations is part of the contract: keep it.

#include <optional>
#include <string>
#include <vector>

#include "link/frame.h"

constexpr int kMaxBands = 17;

// The graph's six parallel band arrays, written in one piece by IWave::CopyCurve.
struct CurveRecord {
    int freq[kMaxBands] = {};
    float gain[kMaxBands] = {};
    float q[kMaxBands] = {};
    int type[kMaxBands] = {};
    int shown[kMaxBands] = {};
    int enabled[kMaxBands] = {};
};

class IWave {
  public:
    virtual ~IWave() = default;

    // Bands 0..n-1 from the record; bands n..16 as neutral, hidden-in-effect entries (disabled).
    virtual void CopyCurve(CurveRecord& out) const = 0;
    // Band 1..n-1, else nothing. Stores and shows; notifies nobody.
    virtual void SetBandFreqGain(int band, int freq, float gain) = 0;
    virtual int GetBandCount() const = 0;
    // Every band to its reset value; overrides also reset their own controls when the flag is set.
    virtual void ResetAll(bool alsoOwnControls) = 0;
    // Peaking bands only.
    virtual void ResetPeq(bool alsoOwnControls) = 0;
    // The band's frame; nullopt for a band outside 0..n-1. The base leaves channel bits and the
    // checksum to the derived page's override.
    virtual std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const = 0;
    // The 14-byte limiter frame (the base: A5 0E F1 18 and ten zero bytes, no checksum).
    virtual ZemCmd::Cmd BuildAlcCmd() const = 0;
    virtual void SetLanguage(int language) = 0;
    // The page's preset text (UTF-8, lines ending in "\n").
    virtual std::string SaveText() const = 0;
    // All non-empty lines of a preset file, in file order; applies the page's sections found there.
    virtual void LoadText(const std::vector<std::string>& lines) = 0;
    // bypass = no peaking band enabled; returns it.
    virtual bool RecomputeBypass() = 0;
    virtual void SetBypass(bool on) = 0;
    // Band 0..n-1, else nothing.
    virtual void SetBandQ(int band, float q) = 0;
    // Called after a band-0 frame was queued; nonzero asks the caller to queue `frame` as well.
    virtual int FollowUpBandCmd(ZemCmd::EqFrame& frame) = 0;
    // Bottom of the last band control row (-1 before the controls exist).
    virtual int GetContentHeight() const = 0;
};
