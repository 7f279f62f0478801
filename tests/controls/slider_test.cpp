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

std::vector<int> ColumnsOf(const QImage& img, int row, QRgb c) {
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (Pixel(img, x, row) == c) xs.push_back(x);
    return xs;
}

TEST(HorizontalSlider, ChannelColourThumbImageAndNoScale) {
    App();
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        const QRgb channel = enabled ? kBlack : Rgb(controls::DisabledChannelColor());
        Slider s(Qt::Horizontal);
        s.resize(200, 24);
        s.SetRangeSilently(0, 100);
        s.setTickPosition(QSlider::TicksBothSides);  // a horizontal slider shows no scale even so
        s.SetDivisor(10);
        s.setEnabled(enabled);
        const QImage& thumb = controls::HorizontalThumbImage(enabled);
        ASSERT_NE(thumb, controls::HorizontalThumbImage(!enabled));
        QImage at[3];
        std::optional<QPoint> p[3];
        for (int k = 0; k < 3; ++k) {
            s.SetPosSilently(50 * k);
            at[k] = Render(s);
            p[k] = FindOnce(at[k], thumb);
            ASSERT_TRUE(p[k]) << k;
        }
        EXPECT_TRUE(FindAll(at[1], controls::HorizontalThumbImage(!enabled)).empty());
        // The channel runs along the thumb's middle row; the thumb travels it end to end.
        const int row = p[0]->y() + thumb.height() / 2;
        const std::vector<int> right = ColumnsOf(at[0], row, channel), left = ColumnsOf(at[2], row, channel);
        ASSERT_FALSE(right.empty() || left.empty());
        EXPECT_EQ(p[0]->x(), left.front());
        EXPECT_EQ(p[2]->x() + thumb.width() - 1, right.back());
        EXPECT_NEAR(p[1]->x() + thumb.width() / 2.0, (left.front() + right.back() + 1) / 2.0, 1.0);
        const QRgb face = Rgb(s.palette().color(QPalette::Window));
        for (int y = 0; y < at[1].height(); ++y)
            for (int x = 0; x < at[1].width(); ++x)
                ASSERT_TRUE(QRect(*p[1], thumb.size()).contains(x, y) || Pixel(at[1], x, y) == face ||
                            Pixel(at[1], x, y) == channel)
                    << x << "," << y;
    }
}

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

QImage TextImage(const QString& text, const QFont& font, QSize size, QRgb background) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setFont(font);
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
    const QRect thumbRect(*bottomThumb, thumb.size());
    const QRect ch = s.Layout().channel;
    EXPECT_EQ(ColumnsOf(img, ch.top() + 20, kBlack),
              (std::vector<int>{ch.left(), ch.left() + 1, ch.left() + 2, ch.left() + 3}));
    EXPECT_EQ(thumbRect.bottom(), ch.bottom());

    const int W = s.width();
    const int xL = ch.left() + ch.width() / 2 - thumb.width() / 2 - W / 16,
              xR = ch.left() + ch.width() + W / 16;
    const float pitch = float(ch.height() - thumb.height()) / 36.0f;
    QFont font(QStringLiteral("宋体"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(9);
    const QFontMetrics fm(font);
    float y = ch.top() + thumb.height() * 0.5f;
    std::vector<int> rows;
    for (int k = 0; k < 10; ++k, y += 4 * pitch) {
        SCOPED_TRACE(testing::Message() << "row " << k);
        const int row = int(y);
        rows.push_back(row);
        // Every other tick is shorter on the left; the "0" row leaves room on the right.
        const int x1 = xL + (k % 2 ? W / 32 : 0), x2 = xR - (k == 5 ? 3 * W / 16 : 0);
        for (int x = x1; x < x2; ++x)
            ASSERT_TRUE(thumbRect.contains(x, row) || Pixel(img, x, row) == kBlack) << x;
        EXPECT_TRUE(k % 2 == 0 || Pixel(img, xL, row) == face);
        EXPECT_TRUE(thumbRect.contains(x2, row) || Pixel(img, x2, row) != kBlack);
        const QString text = QString::number(12 - 4 * k);  // right-aligned against xL, centred on the row
        const QSize size(fm.horizontalAdvance(text), fm.height());
        EXPECT_TRUE(BlockAt(img, TextImage(text, font, size, face),
                            {xL - size.width(), int(y - float(size.height() / 2))}));
    }
    s.SetPosSilently(0);  // 0 dB: the thumb's middle row is the "0" row
    const auto zeroThumb = FindOnce(Render(s), thumb);
    ASSERT_TRUE(zeroThumb);
    EXPECT_EQ(zeroThumb->y() + thumb.height() / 2, rows[3]);
}

TEST(VerticalSlider, ScaleOnlyWithDivisorAndTicksAndDisabledGreysTheChannel) {
    const struct {
        int divisor;
        QSlider::TickPosition ticks;
        bool scale;
    } cases[] = {{10, QSlider::TicksBothSides, true},
                 {0, QSlider::TicksBothSides, false},
                 {10, QSlider::NoTicks, false}};
    for (const auto& c : cases) {
        GainSlider g;
        g.s.SetDivisor(c.divisor);
        g.s.setTickPosition(c.ticks);
        g.s.SetPosSilently(100);
        const QImage img = Render(g.s);
        const QRect left(0, 0, g.s.Layout().thumb.left(), img.height());
        EXPECT_EQ(!InkBox(img, Rgb(g.s.palette().color(QPalette::Window)), left).isEmpty(), c.scale)
            << c.divisor;
    }
    GainSlider g;
    g.s.SetPosSilently(240);
    g.s.setEnabled(false);
    const QImage img = Render(g.s);
    ASSERT_TRUE(FindOnce(img, controls::VerticalThumbImage()));
    const QRect ch = g.s.Layout().channel;
    EXPECT_EQ(ColumnsOf(img, ch.top() + 20, Rgb(controls::DisabledChannelColor())),
              (std::vector<int>{ch.left(), ch.left() + 1, ch.left() + 2, ch.left() + 3}));
}

TEST(SliderKeys, MoveLikeATrackBarAndUpRaisesTheGain) {
    const struct {
        Qt::Orientation orientation;
        Qt::Key key;
        int expected;  // position after the key, from 0 (vertical) or 50 (horizontal)
    } cases[] = {{Qt::Vertical, Qt::Key_Up, -1},      {Qt::Vertical, Qt::Key_Down, 1},
                 {Qt::Vertical, Qt::Key_PageUp, -10}, {Qt::Vertical, Qt::Key_PageDown, 10},
                 {Qt::Vertical, Qt::Key_Home, -120},  {Qt::Vertical, Qt::Key_End, 240},
                 {Qt::Horizontal, Qt::Key_Right, 51}, {Qt::Horizontal, Qt::Key_Left, 49}};
    for (const auto& c : cases) {
        GainSlider g;
        g.s.setOrientation(c.orientation);
        g.s.SetPosSilently(c.orientation == Qt::Vertical ? 0 : 50);
        QSignalSpy actions(&g.s, &QAbstractSlider::actionTriggered);
        QTest::keyClick(&g.s, c.key);
        EXPECT_EQ(g.s.value(), c.expected) << c.key;
        EXPECT_EQ(actions.count(), 1) << c.key;
    }
    GainSlider g;  // the painted thumb climbs with Up, and so does a wheel turn up
    g.s.SetPosSilently(0);
    const int before = g.s.Layout().thumb.top();
    QTest::keyClick(&g.s, Qt::Key_PageUp);
    const auto drawn = FindOnce(Render(g.s), controls::VerticalThumbImage());
    ASSERT_TRUE(drawn);
    EXPECT_LT(drawn->y(), before);
    EXPECT_EQ(drawn->y(), g.s.Layout().thumb.top());
    g.s.SetPosSilently(0);
    const QPointF at = g.s.rect().center();
    QWheelEvent up(at, g.s.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&g.s, &up);
    EXPECT_LT(g.s.value(), 0);
}

struct MouseCase {
    Qt::Orientation orientation;
    QSize size;
    int position;
};

class SliderMouse : public testing::TestWithParam<MouseCase> {};

// Presses on the painted thumb grab it and drag it; one pixel beside it pages instead.
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
    const int shift = c.position < 200 ? 20 : -20;
    for (QPoint corner : {drawn.topLeft(), drawn.bottomRight()}) {
        QSignalSpy moved(&s, &QAbstractSlider::sliderMoved);
        QTest::mousePress(&s, Qt::LeftButton, {}, corner);
        EXPECT_TRUE(s.isSliderDown());
        const QPoint to = corner + (vertical ? QPoint(0, shift) : QPoint(shift, 0));
        QTest::mouseMove(&s, to);
        EXPECT_FALSE(moved.isEmpty());
        const auto followed = FindOnce(Render(s), thumb);
        ASSERT_TRUE(followed);
        EXPECT_NEAR(vertical ? followed->y() - at->y() : followed->x() - at->x(), shift, 1);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, to);
        s.SetPosSilently(c.position);
    }
    const QPoint before =
        vertical ? QPoint(drawn.center().x(), drawn.top() - 1) : QPoint(drawn.left() - 1, drawn.center().y());
    const QPoint after = vertical ? QPoint(drawn.center().x(), drawn.bottom() + 1)
                                  : QPoint(drawn.right() + 1, drawn.center().y());
    for (const auto& [point, change] : {std::pair{before, -10}, std::pair{after, 10}}) {
        s.SetPosSilently(c.position);
        QTest::mousePress(&s, Qt::LeftButton, {}, point);
        EXPECT_FALSE(s.isSliderDown());
        EXPECT_EQ(s.value(), c.position + change);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, point);
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, SliderMouse,
                         testing::Values(MouseCase{Qt::Horizontal, {300, 30}, 117},
                                         MouseCase{Qt::Vertical, {40, 200}, 0},
                                         MouseCase{Qt::Vertical, {64, 250}, 215}));

TEST(SliderFromCode, SetsQuietlyClampsAndKeepsTheTrackBarSense) {
    App();
    Slider s(Qt::Vertical);
    QSignalSpy values(&s, &QAbstractSlider::valueChanged), ranges(&s, &QAbstractSlider::rangeChanged);
    s.SetRangeSilently(-120, 240);
    s.SetPosSilently(1000);
    EXPECT_EQ(s.value(), 240);
    s.SetPosSilently(-1000);
    EXPECT_EQ(s.value(), -120);
    s.SetRangeSilently(0, 50);
    EXPECT_EQ(s.value(), 0);
    EXPECT_EQ(values.count() + ranges.count(), 0);
    s.setOrientation(Qt::Horizontal);
    EXPECT_FALSE(s.invertedAppearance());
    s.setOrientation(Qt::Vertical);
    EXPECT_TRUE(s.invertedAppearance() && s.invertedControls());
}

}  // namespace
