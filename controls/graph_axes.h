#pragma once
// Pixel mapping of the equaliser graph: logarithmic 20 Hz..20 kHz across the plot, 40 dB over the
// full height with 0 dB at 7/20 of it.

#include "controls/band_limits.h"

namespace controls {

class GraphAxes {
  public:
    GraphAxes(int width, int height, int leftMargin);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int LeftMargin() const { return leftMargin_; }
    int PlotWidth() const { return plotWidth_; }
    // A plot this narrow gets background and grid only.
    bool PlotTooNarrow() const { return plotWidth_ < 2; }

    double RowHeight() const { return height_ / 20.0; }
    int RowInt() const { return static_cast<int>(RowHeight()); }
    // Client row of 0 dB.
    int Y0() const { return y0_; }

    // Column relative to the plot's left edge; the frequency is held to 20..20000 first.
    int FreqToX(int freq) const;
    // Frequency at a column relative to the plot's left edge; saturates instead of overflowing.
    int XToFreq(int x) const;
    // Pixels of `gain` dB above the 0 dB row; non-finite gains count as 0 dB, huge ones are held.
    int GainToY(float gain) const;
    // Gain at a client row.
    float YToGain(int y) const;

  private:
    int width_, height_, leftMargin_, plotWidth_, y0_;
    double k_;       // pixels per decade
    double kLog20_;  // k * log10(20)
};

// Frequency held to 20..20000 Hz.
int ClampFreq(int freq);
// Gain held to -24..+12 dB.
float ClampGain(float gain);

}  // namespace controls
