#include "controls/slider_geometry.h"

#include <QStyle>
#include <algorithm>
#include <cmath>

namespace controls {

QSize ThumbSize(bool vertical) {
    return vertical ? QSize(15, 19) : QSize(15, 13);
}

SliderLayout LayoutSlider(const SliderFrame& f) {
    const QSize bs = ThumbSize(f.vertical);
    const QRect& r = f.rect;
    SliderLayout out;
    if (!f.vertical) {
        const int length = std::max(0, r.width() - 2 * kSliderMargin);
        out.channel = QRect(r.left() + kSliderMargin, r.top() + (r.height() - kChannelThickness) / 2, length,
                            kChannelThickness);
        out.groove = QRect(out.channel.left(), r.top(), length, r.height());
        const int travel = std::max(0, length - bs.width());
        const int x = QStyle::sliderPositionFromValue(f.minimum, f.maximum, f.position, travel, f.upsideDown);
        out.thumb =
            QRect(out.channel.left() + x, r.top() + (r.height() - bs.height()) / 2, bs.width(), bs.height());
        return out;
    }
    // Centred in the widget like a track bar's rotated channel.
    const int length = std::max(0, r.height() - 2 * kSliderMargin);
    out.channel = QRect(r.left() + (r.width() - kChannelThickness) / 2, r.top() + (r.height() - length) / 2,
                        kChannelThickness, length);
    out.groove = QRect(r.left(), out.channel.top(), r.width(), length);
    const int travel = std::max(0, length - bs.height());
    const int y = QStyle::sliderPositionFromValue(f.minimum, f.maximum, f.position, travel, f.upsideDown);
    const int d = out.channel.width() - bs.width();
    int left = out.channel.left() + d / 2 - (d % 2 != 0 ? 1 : 0);
    if (f.scaleWidth > 0) {
        const int shift = std::min(r.left() + f.scaleWidth + 1 - left, r.right() + 1 - bs.width() - left);
        if (shift > 0) {
            out.channel.translate(shift, 0);
            left += shift;
        }
    }
    out.thumb = QRect(left, out.channel.top() + y, bs.width(), bs.height());
    return out;
}

long long TrackBarTickCount(int minimum, int maximum, int interval) {
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long every = interval > 0 ? interval : 1;
    if (range <= 0) return 2;
    return (range + every - 1) / every + 1;
}

SliderScale ComputeScale(const ScaleFrame& f) {
    SliderScale out;
    if (f.divisor <= 0 || f.ticks < 2) return out;
    const long long first = -(static_cast<long long>(f.minimum) / f.divisor);
    const long long span = (static_cast<long long>(f.maximum) - f.minimum) / f.divisor;
    const long long step = span / (f.ticks - 1);
    if (span <= 0 || step <= 0) return out;
    const float pitch = static_cast<float>(f.channel.height() - f.thumb.height()) / static_cast<float>(span);
    // Rows closer than a pixel would be unreadable, and bounding them keeps painting short.
    if (!std::isfinite(pitch) || pitch <= 0 || static_cast<float>(step) * pitch < 1.0f) return out;

    const int w = f.rect.width();
    const int t = f.channel.width();
    const int channelRight = f.channel.left() + f.channel.width();
    out.labelRight = f.channel.left() + t / 2 - f.thumb.width() / 2 - w / 16;
    const int tickRight = channelRight + w / 16;
    float y = static_cast<float>(f.channel.top()) + static_cast<float>(f.thumb.height()) * 0.5f;
    for (long long i = 0; i <= span; i += step) {
        const int k = static_cast<int>(i / step);
        ScaleRow row;
        row.label = first - i;
        row.k = k;
        row.y = y;
        row.tickLeft = out.labelRight + (k % 2 == 1 ? w / 32 : 0);
        row.tickRight = tickRight - (k == f.ticks / 2 ? 3 * w / 16 : 0);
        out.rows.push_back(row);
        y += static_cast<float>(step) * pitch;
    }
    return out;
}

void KeepLabelsInside(SliderScale& scale, int left, int widestLabel, int thumbLeft) {
    // A free column before the thumb also holds a glyph reaching past its advance.
    const int shift =
        std::min(std::max(left + widestLabel, scale.labelRight), thumbLeft - 1) - scale.labelRight;
    if (shift == 0) return;
    scale.labelRight += shift;
    for (ScaleRow& row : scale.rows) row.tickLeft = std::min(row.tickLeft + shift, row.tickRight);
}

}  // namespace controls
