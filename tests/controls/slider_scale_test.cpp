// The scale and layout arithmetic of the slider, without a window.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "controls/slider_geometry.h"

namespace {

using namespace controls;

TEST(TrackBarTicks, BothEndsAndEveryInteriorMultiple) {
    struct Case {
        int min, max, interval;
        long long ticks;
    };
    const Case cases[] = {
        {-120, 240, 40, 10},
        {0, 100, 40, 4},
        {0, 100, 50, 3},
        {0, 10, 0, 11},
        {5, 5, 1, 2},
        {0, 1, 100, 2},
        {INT_MIN, INT_MAX, 0, 4294967296LL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackBarTickCount(c.min, c.max, c.interval), c.ticks)
            << c.min << ".." << c.max << "/" << c.interval;
}

ScaleFrame GainScale(int channelHeight) {
    ScaleFrame f;
    f.rect = QRect(0, 0, 64, channelHeight + 4);
    f.channel = QRect(30, 2, 4, channelHeight);
    f.thumb = ThumbSize(true);
    f.minimum = -120;
    f.maximum = 240;
    f.divisor = 10;
    f.ticks = TrackBarTickCount(-120, 240, 40);
    return f;
}

TEST(SliderScale, GainSliderLabelsRowsAndTicks) {
    const ScaleFrame f = GainScale(216);
    const SliderScale s = ComputeScale(f);
    ASSERT_EQ(s.rows.size(), 10u);
    // Labels right against the thumb's left edge less a sixteenth of the width.
    EXPECT_EQ(s.labelRight, 30 + 2 - 7 - 4);
    const double pitch = (216.0 - 19.0) / 36.0;
    for (int k = 0; k < 10; ++k) {
        const ScaleRow& r = s.rows[k];
        EXPECT_EQ(r.label, 12 - 4 * k);
        EXPECT_EQ(r.k, k);
        EXPECT_NEAR(r.y, 2 + 9.5 + 4 * k * pitch, 1e-3);
        EXPECT_EQ(r.tickLeft, s.labelRight + (k % 2 ? 2 : 0));
        EXPECT_EQ(r.tickRight, 34 + 4 - (k == 5 ? 12 : 0));
    }
    // First row centred on the thumb at the minimum, last on the thumb at the maximum.
    EXPECT_FLOAT_EQ(s.rows.front().y, 2 + 19 / 2.0f);
    EXPECT_NEAR(s.rows.back().y, 2 + 216 - 19 / 2.0, 1e-3);
}

TEST(SliderScale, NothingWhereTheScaleCannotBeDrawn) {
    struct Case {
        const char* what;
        int min, max, divisor, interval, channelHeight;
    };
    const Case cases[] = {
        {"no divisor", -120, 240, 0, 40, 216},
        {"negative divisor", -120, 240, -10, 40, 216},
        {"empty range", 0, 0, 10, 40, 216},
        {"range below one label unit", 0, 5, 10, 1, 216},
        {"more ticks than label units", 0, 100, 10, 5, 216},
        {"channel no longer than the thumb", -120, 240, 10, 40, 19},
        {"channel shorter than the thumb", -120, 240, 10, 40, 3},
        {"rows closer than a pixel", INT_MIN, INT_MAX, 1, 0, 216},
    };
    for (const Case& c : cases) {
        ScaleFrame f = GainScale(c.channelHeight);
        f.minimum = c.min;
        f.maximum = c.max;
        f.divisor = c.divisor;
        f.ticks = TrackBarTickCount(c.min, c.max, c.interval);
        EXPECT_TRUE(ComputeScale(f).rows.empty()) << c.what;
    }
    ScaleFrame one = GainScale(216);
    one.ticks = 1;
    EXPECT_TRUE(ComputeScale(one).rows.empty()) << "one tick";
}

TEST(SliderScale, HugeRangeWithFewTicksStaysBounded) {
    ScaleFrame f = GainScale(216);
    f.minimum = INT_MIN;
    f.maximum = INT_MAX;
    f.divisor = 1;
    f.ticks = TrackBarTickCount(INT_MIN, INT_MAX, 1 << 29);  // 9 ticks
    const SliderScale s = ComputeScale(f);
    ASSERT_EQ(s.rows.size(), 9u);
    EXPECT_EQ(s.rows.front().label, 2147483648LL);
    for (const ScaleRow& r : s.rows) EXPECT_TRUE(std::isfinite(r.y));
}

TEST(SliderLayout, ThumbTravelsTheChannel) {
    for (bool vertical : {false, true}) {
        SliderFrame f;
        f.rect = vertical ? QRect(0, 0, 40, 150) : QRect(0, 0, 150, 24);
        f.vertical = vertical;
        f.minimum = -50;
        f.maximum = 50;
        const QSize thumb = ThumbSize(vertical);
        for (int pos : {-50, 0, 50}) {
            f.position = pos;
            const SliderLayout l = LayoutSlider(f);
            SCOPED_TRACE(testing::Message() << "vertical " << vertical << " pos " << pos);
            EXPECT_EQ(l.thumb.size(), thumb);
            EXPECT_TRUE(l.groove.contains(l.thumb.center()));
            const int along = vertical ? l.thumb.top() - l.channel.top() : l.thumb.left() - l.channel.left();
            const int travel =
                (vertical ? l.channel.height() - thumb.height() : l.channel.width() - thumb.width());
            EXPECT_NEAR(along, travel * (pos + 50) / 100.0, 0.5);
            // Centred across the channel (a vertical thumb one pixel left where it cannot be exact).
            const double across = vertical ? l.thumb.left() + thumb.width() / 2.0 - (l.channel.left() + 2.0)
                                           : l.thumb.top() + thumb.height() / 2.0 - (l.channel.top() + 2.0);
            EXPECT_LE(std::fabs(across), 1.0);
            // An odd thumb on an even channel sits half a pixel to the left.
            if (vertical) {
                EXPECT_EQ(l.thumb.left() + thumb.width() / 2, l.channel.left() + 1);
            }
        }
    }
}

}  // namespace
