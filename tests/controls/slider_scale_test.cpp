// The scale and layout arithmetic of the slider, without a window (the drawn gain scale is checked
// in pixels in slider_test.cpp).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "controls/slider_geometry.h"

namespace {

using namespace controls;

TEST(TrackBarTicks, BothEndsAndEveryInteriorMultiple) {
    // clang-format off
    const struct { int min, max, interval; long long ticks; } cases[] = {
        {-120, 240, 40, 10}, {0, 100, 40, 4}, {0, 10, 0, 11},
        {5, 5, 1, 2},        {0, 1, 100, 2},  {INT_MIN, INT_MAX, 0, 4294967296LL}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(TrackBarTickCount(c.min, c.max, c.interval), c.ticks)
            << c.min << ".." << c.max << "/" << c.interval;
}

ScaleFrame GainScale(int channelHeight, int min = -120, int max = 240, int divisor = 10, int interval = 40) {
    ScaleFrame f;
    f.rect = QRect(0, 0, 64, channelHeight + 4);
    f.channel = QRect(30, 2, 4, channelHeight);
    f.thumb = ThumbSize(true);
    f.minimum = min, f.maximum = max, f.divisor = divisor;
    f.ticks = TrackBarTickCount(min, max, interval);
    return f;
}

// No scale rather than a division by zero or an endless loop while painting.
TEST(SliderScale, NothingWhereTheScaleCannotBeDrawnAndHugeRangesStayBounded) {
    // clang-format off
    const struct { const char* what; int min, max, divisor, interval, channelHeight; } cases[] = {
        {"no divisor", -120, 240, 0, 40, 216}, {"negative divisor", -120, 240, -10, 40, 216},
        {"empty range", 0, 0, 10, 40, 216}, {"more ticks than label units", 0, 100, 10, 5, 216},
        {"channel no longer than the thumb", -120, 240, 10, 40, 19}, {"rows closer than a pixel", INT_MIN, INT_MAX, 1, 0, 216},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_TRUE(
            ComputeScale(GainScale(c.channelHeight, c.min, c.max, c.divisor, c.interval)).rows.empty())
            << c.what;
    ScaleFrame one = GainScale(216);
    one.ticks = 1;
    EXPECT_TRUE(ComputeScale(one).rows.empty()) << "one tick";
    EXPECT_EQ(ComputeScale(GainScale(216)).rows.size(), 10u);
    const SliderScale huge = ComputeScale(GainScale(216, INT_MIN, INT_MAX, 1, 1 << 29));  // 9 ticks
    ASSERT_EQ(huge.rows.size(), 9u);
    EXPECT_EQ(huge.rows.front().label, 2147483648LL);
    for (const ScaleRow& r : huge.rows) EXPECT_TRUE(std::isfinite(r.y));
}

TEST(SliderLayout, ThumbTravelsTheChannelCentredAcrossIt) {
    for (bool vertical : {false, true}) {
        SliderFrame f;
        f.rect = vertical ? QRect(0, 0, 40, 150) : QRect(0, 0, 150, 24);
        f.vertical = vertical;
        f.minimum = -50, f.maximum = 50;
        const QSize thumb = ThumbSize(vertical);
        for (int pos : {-50, 0, 50}) {
            f.position = pos;
            const SliderLayout l = LayoutSlider(f);
            SCOPED_TRACE(testing::Message() << "vertical " << vertical << " pos " << pos);
            EXPECT_EQ(l.thumb.size(), thumb);
            const int along = vertical ? l.thumb.top() - l.channel.top() : l.thumb.left() - l.channel.left();
            const int travel =
                vertical ? l.channel.height() - thumb.height() : l.channel.width() - thumb.width();
            EXPECT_NEAR(along, travel * (pos + 50) / 100.0, 0.5);
            // An odd vertical thumb on an even channel sits half a pixel to the left.
            const double across = vertical ? l.thumb.left() + thumb.width() / 2 - (l.channel.left() + 1.0)
                                           : l.thumb.top() + thumb.height() / 2.0 - (l.channel.top() + 2.0);
            EXPECT_LE(std::fabs(across), vertical ? 0.0 : 1.0);
        }
    }
}

}  // namespace
