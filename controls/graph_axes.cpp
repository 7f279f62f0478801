#include "controls/graph_axes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace controls {

namespace {
const double kLog20 = std::log10(double{kMinFreq});
const double kDecades = std::log10(double{kMaxFreq}) - std::log10(double{kMinFreq});
// Gains beyond this only push the curve further out of the plot.
constexpr double kGainLimit = 1000.0;
}  // namespace

GraphAxes::GraphAxes(int width, int height, int leftMargin)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      leftMargin_(std::max(leftMargin, 0)),
      plotWidth_(width_ - leftMargin_),
      y0_(static_cast<int>(height_ / 20.0 * 7)),
      k_(plotWidth_ > 0 ? plotWidth_ / kDecades : 0.0),
      kLog20_(k_ * kLog20) {}

int GraphAxes::FreqToX(int freq) const {
    return static_cast<int>(k_ * std::log10(static_cast<double>(ClampFreq(freq))) - kLog20_);
}

int GraphAxes::XToFreq(int x) const {
    if (k_ <= 0) return kMinFreq;
    const double f = std::pow(10.0, (x + kLog20_) / k_);
    if (!(f < static_cast<double>(INT_MAX))) return INT_MAX;
    return static_cast<int>(f);
}

int GraphAxes::GainToY(float gain) const {
    double g = std::isfinite(gain) ? static_cast<double>(gain) : 0.0;
    g = std::clamp(g, -kGainLimit, kGainLimit);
    return static_cast<int>(height_ / 40.0 * g);
}

float GraphAxes::YToGain(int y) const {
    if (height_ <= 0) return 0.0f;
    const long long dy = static_cast<long long>(y0_) - y;
    return static_cast<float>(static_cast<double>(dy) / (height_ / 40.0));
}

int ClampFreq(int freq) {
    return std::clamp(freq, kMinFreq, kMaxFreq);
}

float ClampGain(float gain) {
    if (std::isnan(gain)) return 0.0f;
    return std::clamp(gain, kMinGain, kMaxGain);
}

}  // namespace controls
