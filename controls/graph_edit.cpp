#include "controls/graph_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/graph_layout.h"
#include "controls/notices.h"

namespace controls {

namespace {

float FromTenths(int tenths) {
    return static_cast<float>(tenths / 10.0);
}
}  // namespace

int Tenths(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::lround(std::clamp(value, -1e8, 1e8) * 10.0));
}

void GraphEditing::PointValues(const GraphAxes& axes, QPoint at, int& freq, int& gainTenths) const {
    freq = ClampFreq(axes.XToFreq(at.x() - axes.LeftMargin()));
    gainTenths = std::clamp(Tenths(axes.YToGain(at.y())), kMinGainTenths, kMaxGainTenths);
}

void GraphEditing::Press(const GraphAxes& axes, QPoint at) {
    int hit = 0;
    for (int b = 1; b <= s_.LastMarkerBand(); ++b) {
        if (MarkerSquare(s_, axes, b).contains(at)) {
            hit = b;
            break;
        }
        // A miss clears the selection before the next marker is tried.
        s_.selected = -1;
        host_.KillBlink();
        StartShrinking();
        host_.InvalidateArea(s_.blinkRect);
    }
    if (hit == 0 || s_.shown[hit] == 0) return;

    s_.selected = hit;
    int f = 0, g = 0;
    PointValues(axes, at, f, g);
    host_.InvalidateAll();
    s_.freq[hit] = f;
    s_.gain[hit] = FromTenths(g);
    host_.Notify(notice::kGraphBandFreqGain, notice::PackBandFreq(hit | notice::kPressFlag, f), g);
    s_.dragging = 1;
    StartShrinking();
    host_.ArmBlink();
}

void GraphEditing::Move(const GraphAxes& axes, QPoint at, bool leftHeld) {
    const bool inside = at.x() >= 0 && at.y() >= 0 && at.x() < axes.Width() && at.y() < axes.Height();
    if (!inside || !leftHeld) {
        s_.dragging = 0;
        return;
    }
    const int b = s_.selected;
    if (s_.dragging != 1 || b < 0 || b >= kGraphBands) return;
    int f = 0, g = 0;
    PointValues(axes, at, f, g);
    const float gain = FromTenths(g);
    if (f == s_.freq[b] && gain == s_.gain[b]) return;
    // The parent sees the new values before the graph stores them.
    host_.Notify(notice::kGraphBandFreqGain, notice::PackBandFreq(b, f), g);
    s_.freq[b] = f;
    s_.gain[b] = gain;
    host_.InvalidateAll();
}

void GraphEditing::Wheel(int delta) {
    const int b = s_.selected;
    if (b < 1 || b > kMaxMarkerBand || delta == 0) return;
    // Touchpads send many small deltas: one step per whole notch, restarting on a turn or a new band.
    if (b != wheelBand_ || (wheelRest_ > 0) != (delta > 0)) wheelRest_ = 0;
    wheelBand_ = b;
    wheelRest_ += delta;
    while (std::abs(wheelRest_) >= kWheelNotch) {
        const int step = wheelRest_ > 0 ? 1 : -1;
        wheelRest_ -= step * kWheelNotch;
        if (!std::isfinite(s_.q[b])) continue;
        const int q = Tenths(s_.q[b]) + step;
        if (q < kMinQTenths || q > kMaxQTenths) continue;
        s_.q[b] = FromTenths(q);
        host_.InvalidateAll();
        host_.Notify(notice::kGraphBandQ, static_cast<std::uint32_t>(b), q);
    }
}

bool GraphEditing::Key(EditKey key) {
    const int b = s_.selected;
    if (b < 1 || b > kMaxMarkerBand) return false;
    int g = std::clamp(Tenths(ClampGain(s_.gain[b])), kMinGainTenths, kMaxGainTenths);
    int f = ClampFreq(s_.freq[b]);
    switch (key) {
        case EditKey::Up:
            ++g;
            break;
        case EditKey::Down:
            --g;
            break;
        case EditKey::Left:
            --f;
            break;
        case EditKey::Right:
            ++f;
            break;
        case EditKey::Other:
            break;
    }
    f = ClampFreq(f);
    g = std::clamp(g, kMinGainTenths, kMaxGainTenths);
    host_.Notify(notice::kGraphBandFreqGain, notice::PackBandFreq(b, f), g);
    s_.freq[b] = f;
    s_.gain[b] = FromTenths(g);
    host_.InvalidateAll();
    return true;
}

bool GraphEditing::SelectForSetter(int band) {
    if (static_cast<unsigned>(band) >= static_cast<unsigned>(kGraphBands)) return false;
    s_.selected = band;
    host_.ArmBlink();
    return true;
}

void GraphEditing::SetBandType(int band, int type) {
    if (!SelectForSetter(band)) return;
    s_.type[band] = type;
    host_.InvalidateAll();
}

void GraphEditing::SetBandFreq(int band, int freq) {
    if (!SelectForSetter(band)) return;
    s_.freq[band] = freq;
    host_.InvalidateAll();
}

void GraphEditing::StartShrinking() {
    // From a dip below 0 the pulse restarts at 0, so presses in a row never shrink the marker further.
    s_.blinkStep = std::max(s_.blinkStep, 0);
    s_.blinkGrowing = false;
}

void GraphEditing::BlinkStep() {
    const QRect area = s_.blinkRect;
    if (s_.blinkGrowing) {
        if (++s_.blinkStep >= 4) s_.blinkGrowing = false;
    } else {
        if (--s_.blinkStep <= 0) s_.blinkGrowing = true;
    }
    host_.KillBlink();
    host_.InvalidateArea(area.adjusted(-4, -4, 4, 4));
}

}  // namespace controls
