#pragma once
// Where a Slider's channel, thumb and scale lie. Painting and the mouse geometry (SliderStyle) both
// come from here, so a click lands on the thumb that is drawn.

#include <QRect>
#include <QSize>
#include <vector>

namespace controls {

constexpr int kChannelThickness = 4;  // the painted channel, across the slider
constexpr int kSliderMargin = 2;      // between the widget's ends and the channel's ends

// Thumb image sizes: 15x13 lying along a horizontal slider, 15x19 on a vertical one.
QSize ThumbSize(bool vertical);

struct SliderFrame {
    QRect rect;  // the widget's rectangle
    bool vertical = false;
    int minimum = 0, maximum = 0, position = 0;
    bool upsideDown = false;  // QStyleOptionSlider::upsideDown: the maximum at the left or top
    int scaleWidth = 0;       // widest scale label left of a vertical channel; 0: no scale
};

struct SliderLayout {
    QRect channel;  // the painted rounded channel; its length is the thumb's travel plus the thumb
    QRect groove;   // where a press pages towards the click (the style's groove)
    QRect thumb;    // exactly the thumb image
};

// A vertical channel is centred in the widget, unless the thumb would then cover the scale's labels:
// channel and thumb then move right until a label `scaleWidth` wide fits left of the thumb with a
// free column between, as far as the widget's width allows.
SliderLayout LayoutSlider(const SliderFrame& frame);

// The tick count of a track bar with automatic ticks every `interval` positions (0: every
// position): both ends plus every interior multiple.
long long TrackBarTickCount(int minimum, int maximum, int interval);

// The value scale of a vertical slider: a label and a tick line per row.
struct ScaleRow {
    long long label;          // the number shown: -(position / divisor)
    int k;                    // row index; odd rows have a shorter tick
    float y;                  // centre of the row; the tick line is on trunc(y)
    int tickLeft, tickRight;  // tick pixels tickLeft .. tickRight - 1
};

struct SliderScale {
    int labelRight = 0;  // labels are right-aligned against this x (exclusive)
    std::vector<ScaleRow> rows;
};

struct ScaleFrame {
    QRect rect;     // the widget's rectangle
    QRect channel;  // from LayoutSlider
    QSize thumb;    // ThumbSize(true)
    int minimum = 0, maximum = 0;
    int divisor = 0;      // positions per label unit; no scale unless > 0
    long long ticks = 0;  // TrackBarTickCount
};

// Rows from the top (the minimum) down. Empty when the scale cannot be drawn: divisor <= 0,
// fewer than two ticks, no whole label step, or rows less than a pixel apart.
SliderScale ComputeScale(const ScaleFrame& frame);

// Moves the labels' right edge (and the ticks' left ends with it) right until a label
// `widestLabel` pixels wide starts no further left than `left`, so no label is cut by the
// slider's edge; a scale with room enough is left as it is. The labels keep a free column before
// the thumb: in a widget too narrow for both, they are cut at its left edge instead.
void KeepLabelsInside(SliderScale& scale, int left, int widestLabel, int thumbLeft);

}  // namespace controls
