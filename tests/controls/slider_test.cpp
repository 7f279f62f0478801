// Slider painting checked on rendered pixels, and mouse and keys against what is painted.
#include "controls/slider.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "controls/control_images.h"
#include "widget_test_support.h"

namespace {

using controls::Slider;
using namespace controls_test;

constexpr QRgb kBlack = 0x000000;

// Columns along `row` having colour `c`.
std::vector<int> ColumnsOf(const QImage& img, int row, QRgb c) {
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (Pixel(img, x, row) == c) xs.push_back(x);
    return xs;
}

struct HorizontalCase {
    bool enabled;
    QRgb channel;
};

class HorizontalSlider : public testing::TestWithParam<HorizontalCase> {};

TEST_P(HorizontalSlider, ChannelColourAndThumbImage) {
    App();
    const HorizontalCase c = GetParam();
    Slider s(Qt::Horizontal);
    s.resize(200, 24);
    s.SetRangeSilently(0, 100);
    s.setTickPosition(QSlider::TicksBothSides);  // a horizontal slider shows no scale even so
    s.SetDivisor(10);
    s.setEnabled(c.enabled);
    const QImage& thumb = controls::HorizontalThumbImage(c.enabled);
    const QImage& other = controls::HorizontalThumbImage(!c.enabled);
    ASSERT_NE(thumb, other);

    s.SetPosSilently(0);
    const QImage atMin = Render(s);
    s.SetPosSilently(100);
    const QImage atMax = Render(s);
    s.SetPosSilently(50);
    const QImage atMid = Render(s);

    const auto pMin = FindOnce(atMin, thumb), pMax = FindOnce(atMax, thumb), pMid = FindOnce(atMid, thumb);
    ASSERT_TRUE(pMin && pMax && pMid);
    EXPECT_TRUE(FindAll(atMid, other).empty());
    EXPECT_EQ(pMin->y(), pMid->y());

    // The channel runs along the thumb's middle row, in the state's colour.
    const int row = pMin->y() + thumb.height() / 2;
    const std::vector<int> right = ColumnsOf(atMin, row, c.channel);  // thumb at the left end
    const std::vector<int> left = ColumnsOf(atMax, row, c.channel);
    ASSERT_FALSE(right.empty());
    ASSERT_FALSE(left.empty());
    const int channelLeft = left.front(), channelRight = right.back();
    EXPECT_EQ(pMin->x(), channelLeft);
    EXPECT_EQ(pMax->x() + thumb.width() - 1, channelRight);
    EXPECT_NEAR(pMid->x() + thumb.width() / 2.0, (channelLeft + channelRight + 1) / 2.0, 1.0);
    // Nothing but background, channel and thumb: no scale.
    const QRgb face = Rgb(s.palette().color(QPalette::Window));
    for (int y = 0; y < atMid.height(); ++y)
        for (int x = 0; x < atMid.width(); ++x) {
            const QRect t(*pMid, thumb.size());
            if (t.contains(x, y)) continue;
            const QRgb px = Pixel(atMid, x, y);
            ASSERT_TRUE(px == face || px == c.channel) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(States, HorizontalSlider,
                         testing::Values(HorizontalCase{true, kBlack},
                                         HorizontalCase{false, Rgb(controls::DisabledChannelColor())}));

// The band gain slider of the pages: position -10 x gain, 12 dB at the top.
struct GainSlider {
    QApplication& app = App();
    Slider s{Qt::Vertical};
    GainSlider() {
        s.resize(64, 220);
        s.SetRangeSilently(-120, 240);
        s.setTickInterval(40);
        s.setTickPosition(QSlider::TicksBothSides);
        s.SetDivisor(10);
        s.setPageStep(10);
    }
};

QFont ScaleFont() {
    QFont f(QStringLiteral("宋体"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(9);
    return f;
}

QImage TextImage(const QString& text, QSize size, QRgb background) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setFont(ScaleFont());
    p.setPen(Qt::black);
    p.drawText(img.rect(), Qt::AlignRight | Qt::AlignTop, text);
    return img;
}

TEST(VerticalSlider, GainScaleLabelsTicksAndZeroAtTheThumb) {
    GainSlider g;
    Slider& s = g.s;
    s.SetPosSilently(240);  // thumb at the bottom, out of the scale's way
    const QImage img = Render(s);
    const QRgb face = Rgb(s.palette().color(QPalette::Window));
    const QImage& thumb = controls::VerticalThumbImage();
    const auto bottomThumb = FindOnce(img, thumb);
    ASSERT_TRUE(bottomThumb);

    const QRect ch = s.Layout().channel;
    // The channel is painted where the layout says, a black run across it between ticks.
    const int freeRow = ch.top() + 9 + 11;
    EXPECT_EQ(ColumnsOf(img, freeRow, kBlack),
              (std::vector<int>{ch.left(), ch.left() + 1, ch.left() + 2, ch.left() + 3}));
    EXPECT_EQ(bottomThumb->y() + thumb.height() - 1, ch.bottom());

    const int W = s.width();
    const int xL = ch.left() + ch.width() / 2 - thumb.width() / 2 - W / 16;
    const int xR = ch.left() + ch.width() + W / 16;
    const float pitch = float(ch.height() - thumb.height()) / 36.0f;
    const QFontMetrics fm(ScaleFont());
    float y = ch.top() + thumb.height() * 0.5f;
    std::vector<int> rows;
    for (int k = 0; k < 10; ++k, y += 4 * pitch) {
        const int row = int(y);
        rows.push_back(row);
        SCOPED_TRACE(testing::Message() << "row " << k);
        const int x1 = xL + (k % 2 ? W / 32 : 0);
        const int x2 = xR - (k == 5 ? 3 * W / 16 : 0);
        for (int x = x1; x < x2; ++x)
            if (!QRect(*bottomThumb, thumb.size()).contains(x, row)) {
                ASSERT_EQ(Pixel(img, x, row), kBlack) << x;
            }
        if (k % 2) {
            EXPECT_EQ(Pixel(img, xL, row), face);
        }
        if (!QRect(*bottomThumb, thumb.size()).contains(x2, row)) {
            EXPECT_NE(Pixel(img, x2, row), kBlack);
        }
        // The label, right-aligned against xL and centred on the row.
        const QString text = QString::number(12 - 4 * k);
        const QSize size(fm.horizontalAdvance(text), fm.height());
        const QImage want = TextImage(text, size, face);
        ASSERT_FALSE(InkBox(want, face, want.rect()).isEmpty());
        EXPECT_TRUE(BlockAt(img, want, {xL - size.width(), int(y - float(size.height() / 2))}));
    }

    // Position 0 is 0 dB: the thumb's middle row is the "0" row.
    s.SetPosSilently(0);
    const auto zeroThumb = FindOnce(Render(s), thumb);
    ASSERT_TRUE(zeroThumb);
    EXPECT_EQ(zeroThumb->y() + thumb.height() / 2, rows[3]);
}

TEST(VerticalSlider, ScaleOnlyWhenItCanBeDrawn) {
    struct Case {
        const char* what;
        int divisor;
        QSlider::TickPosition ticks;
        int interval;
        bool scale;
    };
    const Case cases[] = {
        {"gain slider", 10, QSlider::TicksBothSides, 40, true},
        {"two end ticks", 10, QSlider::TicksLeft, 1000, true},
        {"no divisor", 0, QSlider::TicksBothSides, 40, false},
        {"no ticks", 10, QSlider::NoTicks, 40, false},
        {"fewer label units than ticks", 100, QSlider::TicksBothSides, 40, false},
        {"rows under a pixel apart", 1, QSlider::TicksBothSides, 1, false},
    };
    for (const Case& c : cases) {
        GainSlider g;
        Slider& s = g.s;
        s.SetDivisor(c.divisor);
        s.setTickPosition(c.ticks);
        s.setTickInterval(c.interval);
        s.SetPosSilently(100);
        const QImage img = Render(s);
        const QRgb face = Rgb(s.palette().color(QPalette::Window));
        const QRect left(0, 0, s.Layout().thumb.left(), img.height());
        EXPECT_EQ(!InkBox(img, face, left).isEmpty(), c.scale) << c.what;
    }
}

TEST(VerticalSlider, KeysMoveLikeATrackBar) {
    struct Case {
        Qt::Key key;
        int expected;  // position after the key, from 0
    };
    const Case cases[] = {{Qt::Key_Up, -1},       {Qt::Key_Down, 1},    {Qt::Key_PageUp, -10},
                          {Qt::Key_PageDown, 10}, {Qt::Key_Home, -120}, {Qt::Key_End, 240}};
    for (const Case& c : cases) {
        GainSlider g;
        g.s.SetPosSilently(0);
        QSignalSpy actions(&g.s, &QAbstractSlider::actionTriggered);
        QTest::keyClick(&g.s, c.key);
        EXPECT_EQ(g.s.value(), c.expected) << c.key;
        EXPECT_EQ(actions.count(), 1) << c.key;
    }
    // Up raises the gain (gain = -position / 10) and the thumb climbs.
    GainSlider g;
    g.s.SetPosSilently(0);
    const int before = g.s.Layout().thumb.top();
    QTest::keyClick(&g.s, Qt::Key_PageUp);
    EXPECT_GT(-g.s.value() / 10.0, 0.0);
    EXPECT_LT(g.s.Layout().thumb.top(), before);
    const auto drawn = FindOnce(Render(g.s), controls::VerticalThumbImage());
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->y(), g.s.Layout().thumb.top());
}

TEST(VerticalSlider, WheelUpRaisesTheGain) {
    GainSlider g;
    g.s.SetPosSilently(0);
    g.s.show();
    QSignalSpy actions(&g.s, &QAbstractSlider::actionTriggered);
    const QPointF at = g.s.rect().center();
    QWheelEvent up(at, g.s.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&g.s, &up);
    EXPECT_LT(g.s.value(), 0);
    EXPECT_FALSE(actions.isEmpty());
}

TEST(VerticalSlider, DisabledKeepsItsThumbAndGreysTheChannel) {
    GainSlider g;
    g.s.SetDivisor(0);
    g.s.SetPosSilently(240);
    g.s.setEnabled(false);
    const QImage img = Render(g.s);
    ASSERT_TRUE(FindOnce(img, controls::VerticalThumbImage()));
    const QRect ch = g.s.Layout().channel;
    const QRgb grey = Rgb(controls::DisabledChannelColor());
    EXPECT_EQ(ColumnsOf(img, ch.top() + 20, grey),
              (std::vector<int>{ch.left(), ch.left() + 1, ch.left() + 2, ch.left() + 3}));
}

TEST(HorizontalSliderKeys, RightRaises) {
    App();
    Slider s(Qt::Horizontal);
    s.SetRangeSilently(0, 100);
    s.SetPosSilently(50);
    QTest::keyClick(&s, Qt::Key_Right);
    EXPECT_EQ(s.value(), 51);
    QTest::keyClick(&s, Qt::Key_Left);
    QTest::keyClick(&s, Qt::Key_Left);
    EXPECT_EQ(s.value(), 49);
}

struct MouseCase {
    Qt::Orientation orientation;
    QSize size;
    int position;
};

class SliderMouse : public testing::TestWithParam<MouseCase> {};

// Presses on the painted thumb grab it; one pixel beside it pages instead.
TEST_P(SliderMouse, PressOnThePaintedThumbGrabsIt) {
    App();
    const MouseCase c = GetParam();
    const bool vertical = c.orientation == Qt::Vertical;
    Slider s(c.orientation);
    s.resize(c.size);
    s.SetRangeSilently(-120, 240);
    s.setPageStep(10);
    s.SetPosSilently(c.position);
    s.show();
    const QImage& thumb = vertical ? controls::VerticalThumbImage() : controls::HorizontalThumbImage(true);
    const auto at = FindOnce(Render(s), thumb);
    ASSERT_TRUE(at);
    const QRect drawn(*at, thumb.size());

    for (QPoint corner : {drawn.topLeft(), drawn.bottomRight(), drawn.center()}) {
        QSignalSpy moved(&s, &QAbstractSlider::sliderMoved);
        QTest::mousePress(&s, Qt::LeftButton, {}, corner);
        EXPECT_TRUE(s.isSliderDown()) << corner.x() << "," << corner.y();
        // Drag by 20 px: the thumb follows the mouse.
        const QPoint step = vertical ? QPoint(0, 20) : QPoint(20, 0);
        const QPoint back = vertical ? QPoint(0, -20) : QPoint(-20, 0);
        const QPoint to = corner + (c.position < 200 ? step : back);
        QTest::mouseMove(&s, to);
        EXPECT_FALSE(moved.isEmpty());
        const auto followed = FindOnce(Render(s), thumb);
        ASSERT_TRUE(followed);
        EXPECT_NEAR((vertical ? followed->y() - at->y() : followed->x() - at->x()),
                    c.position < 200 ? 20 : -20, 1);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, to);
        EXPECT_FALSE(s.isSliderDown());
        s.SetPosSilently(c.position);
    }

    // Just outside the thumb along the channel: a page towards the press, no drag.
    const QPoint before =
        vertical ? QPoint(drawn.center().x(), drawn.top() - 1) : QPoint(drawn.left() - 1, drawn.center().y());
    const QPoint after = vertical ? QPoint(drawn.center().x(), drawn.bottom() + 1)
                                  : QPoint(drawn.right() + 1, drawn.center().y());
    for (const auto& [point, change] : {std::pair{before, -10}, std::pair{after, 10}}) {
        s.SetPosSilently(c.position);
        QSignalSpy actions(&s, &QAbstractSlider::actionTriggered);
        QTest::mousePress(&s, Qt::LeftButton, {}, point);
        EXPECT_FALSE(s.isSliderDown());
        EXPECT_EQ(s.value(), c.position + change);
        EXPECT_EQ(actions.count(), 1);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, point);
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, SliderMouse,
                         testing::Values(MouseCase{Qt::Horizontal, {180, 24}, 0},
                                         MouseCase{Qt::Horizontal, {300, 30}, 117},
                                         MouseCase{Qt::Vertical, {40, 200}, 0},
                                         MouseCase{Qt::Vertical, {64, 250}, 215},
                                         MouseCase{Qt::Vertical, {50, 150}, -47}));

TEST(SliderFromCode, SetsQuietlyAndClamps) {
    App();
    Slider s(Qt::Vertical);
    QSignalSpy values(&s, &QAbstractSlider::valueChanged);
    QSignalSpy ranges(&s, &QAbstractSlider::rangeChanged);
    QSignalSpy actions(&s, &QAbstractSlider::actionTriggered);
    s.SetRangeSilently(-120, 240);
    s.SetPosSilently(1000);
    EXPECT_EQ(s.value(), 240);
    s.SetPosSilently(-1000);
    EXPECT_EQ(s.value(), -120);
    s.SetRangeSilently(0, 50);
    EXPECT_EQ(s.value(), 0);
    EXPECT_EQ(values.count() + ranges.count() + actions.count(), 0);
    // The orientation switch keeps the track bar's sense.
    s.setOrientation(Qt::Horizontal);
    EXPECT_FALSE(s.invertedAppearance());
    s.setOrientation(Qt::Vertical);
    EXPECT_TRUE(s.invertedAppearance());
    EXPECT_TRUE(s.invertedControls());
}

}  // namespace
