#pragma once
// The equaliser graph's data: the curve record a page copies in, plus selection, blink and layout
// state. Plain data so the renderer and the editing logic can work on it without a window.

#include <QRect>
#include <cstdint>

namespace controls {

constexpr int kGraphBands = 17;  // bands in the curve record
constexpr int kMaxMarkerBand = kGraphBands - 1;
constexpr int kGraphWaveId = 1090;  // control id in the main dialog

constexpr unsigned kBlinkTimerId = 1;
constexpr int kBlinkPeriodMs = 47;

// The six band arrays in this order form the record a page's curve copy writes in one piece.
struct GraphCurve {
    int freq[kGraphBands];     // Hz
    float gain[kGraphBands];   // dB
    float q[kGraphBands];      // quality factor
    int type[kGraphBands];     // 0 none, 1 peaking, 2 low shelf, 3 high shelf, 4 high-pass, 5 low-pass
    int shown[kGraphBands];    // nonzero: computed, drawn and hittable
    int enabled[kGraphBands];  // the page's flag; the graph itself ignores it
};

struct GraphState : GraphCurve {
    GraphState() : GraphCurve{} {}

    GraphCurve& Curve() { return *this; }
    const GraphCurve& Curve() const { return *this; }

    int selected = -1;   // band 0..16, -1 for none
    int bandCount = 17;  // peaking bands: markers for bands 1..bandCount (never past 16)
    int dragging = 0;    // 1 while a marker is dragged
    QRect blinkRect;     // the selected marker's square as last drawn
    bool blinkGrowing = false;
    int blinkStep = 0;    // extra radius of the selected marker, pixels
    bool bypass = false;  // draw "EQ PASS"
    int leftMargin = 0;   // width of the gain labels left of the plot; 0 until measured

    // Last band that has a marker: bandCount, but never past the arrays.
    int LastMarkerBand() const { return bandCount < kMaxMarkerBand ? bandCount : kMaxMarkerBand; }
    bool HasMarker(int b) const { return b >= 1 && b <= LastMarkerBand() && shown[b] != 0; }
};

}  // namespace controls
