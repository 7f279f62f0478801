// Owner-drawn controls checked on rendered pixels; slider mouse and keys against what is painted.
#include <gtest/gtest.h>

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <climits>

#include "controls/control_images.h"
#include "controls/double_label.h"
#include "controls/slider.h"
#include "controls/slider_geometry.h"
#include "controls/tab.h"
#include "controls/text_height.h"
#include "widget_test_support.h"

namespace {

using namespace controls;
using namespace controls_test;

constexpr QRgb kBlack = 0x000000;

std::vector<int> ColumnsOf(const QImage& img, int row, QRgb c) {
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (Pixel(img, x, row) == c) xs.push_back(x);
    return xs;
}

QRgb Face(const Slider& s) {
    return Rgb(s.palette().color(QPalette::Window));
}

// The band gain slider of the pages (position -10 x gain, 12 dB at the top), or another one.
std::unique_ptr<Slider> MakeSlider(Qt::Orientation o = Qt::Vertical, QSize size = {64, 220}, int pos = 0) {
    App();
    auto s = std::make_unique<Slider>(o);
    s->resize(size);
    s->SetRangeSilently(-120, 240);
    s->setTickInterval(40);
    s->setTickPosition(QSlider::TicksBothSides);
    s->SetDivisor(10);
    s->setPageStep(10);
    s->SetPosSilently(pos);
    return s;
}

TEST(HorizontalSlider, ChannelColourThumbImageAndNoScale) {
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        const QRgb channel = enabled ? kBlack : Rgb(controls::DisabledChannelColor());
        auto s = MakeSlider(Qt::Horizontal, {200, 24});  // a horizontal slider shows no scale even with ticks
        s->SetRangeSilently(0, 100);
        s->setEnabled(enabled);
        const QImage& thumb = controls::HorizontalThumbImage(enabled);
        ASSERT_NE(thumb, controls::HorizontalThumbImage(!enabled));
        QImage at[3];
        QPoint p[3];
        for (int k = 0; k < 3; ++k) {
            s->SetPosSilently(50 * k);
            at[k] = Render(*s);
            const auto found = FindOnce(at[k], thumb);
            ASSERT_TRUE(found) << k;
            p[k] = *found;
        }
        // The channel runs along the thumb's middle row; the thumb travels it end to end.
        const int row = p[0].y() + thumb.height() / 2;
        const std::vector<int> right = ColumnsOf(at[0], row, channel), left = ColumnsOf(at[2], row, channel);
        ASSERT_FALSE(right.empty()) << "no channel column at the right end";
        ASSERT_FALSE(left.empty()) << "no channel column at the left end";
        EXPECT_EQ(p[0].x(), left.front()) << "thumb at the minimum must touch the channel's left end";
        EXPECT_EQ(p[2].x() + thumb.width() - 1, right.back())
            << "thumb at the maximum must touch the right end";
        EXPECT_NEAR(p[1].x() + thumb.width() / 2.0, (left.front() + right.back() + 1) / 2.0, 1.0);
        for (int y = 0; y < at[1].height(); ++y)
            for (int x = 0; x < at[1].width(); ++x)
                ASSERT_TRUE(QRect(p[1], thumb.size()).contains(x, y) || Pixel(at[1], x, y) == Face(*s) ||
                            Pixel(at[1], x, y) == channel)
                    << x << "," << y;
    }
}

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
    auto s = MakeSlider(Qt::Vertical, {64, 220}, 240);  // thumb at the bottom, out of the scale's way
    const QImage img = Render(*s);
    const QImage& thumb = controls::VerticalThumbImage();
    const auto bottomThumb = FindOnce(img, thumb);
    ASSERT_TRUE(bottomThumb);
    const QRect thumbRect(*bottomThumb, thumb.size()), ch = s->Layout().channel;
    EXPECT_EQ(ColumnsOf(img, ch.top() + 20, kBlack),
              (std::vector<int>{ch.left(), ch.left() + 1, ch.left() + 2, ch.left() + 3}));
    EXPECT_EQ(thumbRect.bottom(), ch.bottom());
    const int W = s->width();
    const int xL = ch.left() + ch.width() / 2 - thumb.width() / 2 - W / 16,
              xR = ch.left() + ch.width() + W / 16;
    const float pitch = float(ch.height() - thumb.height()) / 36.0f;
    const QFont font = controls::Slider::ScaleFont();
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
        EXPECT_TRUE(k % 2 == 0 || Pixel(img, xL, row) == Face(*s));
        EXPECT_TRUE(thumbRect.contains(x2, row) || Pixel(img, x2, row) != kBlack);
        const QString text = QString::number(12 - 4 * k);  // right-aligned against xL, centred on the row
        const QSize size(fm.horizontalAdvance(text), fm.height());
        EXPECT_TRUE(BlockAt(img, TextImage(text, font, size, Face(*s)),
                            {xL - size.width(), int(y - float(size.height() / 2))}));
    }
    s->SetPosSilently(0);  // 0 dB: the thumb's middle row is the "0" row
    const auto zeroThumb = FindOnce(Render(*s), thumb);
    ASSERT_TRUE(zeroThumb);
    EXPECT_EQ(zeroThumb->y() + thumb.height() / 2, rows[3]);
}

// A band column's slider is narrower than the scale rule leaves room for "-24": the labels move
// right, whole, rather than losing their minus signs at the edge.
TEST(VerticalSlider, NarrowSliderKeepsEveryLabelWholeInside) {
    const QFont font = controls::Slider::ScaleFont();
    const QFontMetrics fm(font);
    for (int width : {40, 42, 64}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        auto s = MakeSlider(Qt::Vertical, {width, 220}, 240);
        // Each label looked at with the thumb at the far end (on their own rows: slider_scale_test).
        const QImage thumbAtBottom = Render(*s);
        s->SetPosSilently(-120);
        const QImage thumbAtTop = Render(*s);
        const auto labels = s->ScaleLabels();
        ASSERT_EQ(labels.size(), 10u);
        for (int k = 0; k < 10; ++k) {
            const auto& label = labels[static_cast<std::size_t>(k)];
            EXPECT_EQ(label.text, QString::number(12 - 4 * k)) << "row " << k;
            EXPECT_GE(label.rect.left(), 0) << label.text.toStdString();
            const QImage& img = k < 5 ? thumbAtBottom : thumbAtTop;
            EXPECT_TRUE(
                BlockAt(img, TextImage(label.text, font, label.rect.size(), Face(*s)), label.rect.topLeft()))
                << label.text.toStdString() << " not drawn whole at its place";
        }
        // Where the rule's own edge leaves room, the labels stay on it.
        const QRect ch = s->Layout().channel;
        const int ruleRight =
            ch.left() + ch.width() / 2 - controls::VerticalThumbImage().width() / 2 - width / 16;
        const int widest = fm.horizontalAdvance(QStringLiteral("-24"));
        EXPECT_EQ(labels.back().rect.right() + 1, std::max(ruleRight, widest));
    }
}

TEST(VerticalSlider, ScaleOnlyWithDivisorAndTicks) {
    for (auto [divisor, ticks] :
         {std::pair{10, QSlider::TicksBothSides}, {0, QSlider::TicksBothSides}, {10, QSlider::NoTicks}}) {
        auto s = MakeSlider(Qt::Vertical, {64, 220}, 100);
        s->SetDivisor(divisor);
        s->setTickPosition(ticks);
        const QImage img = Render(*s);
        EXPECT_EQ(InkBox(img, Face(*s), {0, 0, s->Layout().thumb.left(), img.height()}).isEmpty(),
                  divisor == 0 || ticks == QSlider::NoTicks);
    }
}

TEST(SliderKeys, MoveLikeATrackBarAndUpRaisesTheGain) {
    // position after the key, from 0 (vertical) or 50 (horizontal)
    // clang-format off
    const struct { const char* name; Qt::Orientation orientation; Qt::Key key; int expected; } cases[] = {
        {"vertical up", Qt::Vertical, Qt::Key_Up, -1},          {"vertical down", Qt::Vertical, Qt::Key_Down, 1},
        {"vertical page up", Qt::Vertical, Qt::Key_PageUp, -10}, {"vertical page down", Qt::Vertical, Qt::Key_PageDown, 10},
        {"vertical home", Qt::Vertical, Qt::Key_Home, -120},    {"vertical end", Qt::Vertical, Qt::Key_End, 240},
        {"horizontal right", Qt::Horizontal, Qt::Key_Right, 51}, {"horizontal left", Qt::Horizontal, Qt::Key_Left, 49}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = MakeSlider();
        s->setOrientation(c.orientation);
        s->SetPosSilently(c.orientation == Qt::Vertical ? 0 : 50);
        QSignalSpy actions(s.get(), &QAbstractSlider::actionTriggered);
        QTest::keyClick(s.get(), c.key);
        EXPECT_EQ(s->value(), c.expected) << "position after the key";
        EXPECT_EQ(actions.count(), 1) << "one slider action per key";
    }
}

// Presses on the painted thumb grab it and drag it; one pixel beside it pages instead.
TEST(SliderMouse, PressOnThePaintedThumbGrabsIt) {
    const struct {
        const char* name;
        Qt::Orientation orientation;
        QSize size;
        int position;
    } cases[] = {{"horizontal", Qt::Horizontal, QSize(300, 30), 117},
                 {"vertical at the top", Qt::Vertical, QSize(40, 200), 0},
                 {"vertical low", Qt::Vertical, QSize(64, 250), 215}};
    for (const auto& [name, orientation, size, position] : cases) {
        SCOPED_TRACE(name);
        const bool vertical = orientation == Qt::Vertical;
        auto s = MakeSlider(orientation, size, position);
        s->setTickPosition(QSlider::NoTicks);
        s->show();
        const QImage& thumb =
            vertical ? controls::VerticalThumbImage() : controls::HorizontalThumbImage(true);
        const auto at = FindOnce(Render(*s), thumb);
        ASSERT_TRUE(at);
        const QRect drawn(*at, thumb.size());
        const int shift = position < 200 ? 20 : -20;
        const QPoint along = vertical ? QPoint(0, 1) : QPoint(1, 0);
        for (QPoint corner : {drawn.topLeft(), drawn.bottomRight()}) {
            QSignalSpy moved(s.get(), &QAbstractSlider::sliderMoved);
            QTest::mousePress(s.get(), Qt::LeftButton, {}, corner);
            EXPECT_TRUE(s->isSliderDown());
            QTest::mouseMove(s.get(), corner + shift * along);
            EXPECT_FALSE(moved.isEmpty());
            const auto followed = FindOnce(Render(*s), thumb);
            ASSERT_TRUE(followed);
            EXPECT_NEAR(QPoint::dotProduct(*followed - *at, along), shift, 1);
            QTest::mouseRelease(s.get(), Qt::LeftButton, {}, corner + shift * along);
            s->SetPosSilently(position);
        }
        const QPoint mid = drawn.center();
        const QPoint before = vertical ? QPoint(mid.x(), drawn.top() - 1) : QPoint(drawn.left() - 1, mid.y());
        const QPoint after =
            vertical ? QPoint(mid.x(), drawn.bottom() + 1) : QPoint(drawn.right() + 1, mid.y());
        for (auto [point, change] : {std::pair{before, -10}, {after, 10}}) {
            s->SetPosSilently(position);
            QTest::mousePress(s.get(), Qt::LeftButton, {}, point);
            EXPECT_FALSE(s->isSliderDown()) << "a click beside the thumb must not grab it";
            EXPECT_EQ(s->value(), position + change) << "a click beside the thumb pages by 10";
            QTest::mouseRelease(s.get(), Qt::LeftButton, {}, point);
        }
    }
}

TEST(SliderFromCode, SetsQuietly) {
    App();
    Slider s(Qt::Vertical);
    QSignalSpy values(&s, &QAbstractSlider::valueChanged), ranges(&s, &QAbstractSlider::rangeChanged);
    s.SetRangeSilently(-120, 240);
    s.SetPosSilently(1000);
    EXPECT_EQ(s.value(), 240);
    s.SetRangeSilently(0, 50);
    EXPECT_EQ(s.value(), 50) << "the position is clamped into the new range";
    EXPECT_EQ(values.count(), 0) << "no valueChanged from code";
    EXPECT_EQ(ranges.count(), 0) << "no rangeChanged from code";
}

TEST(TrackBarTicks, BothEndsAndEveryInteriorMultiple) {
    // clang-format off
    const struct { const char* name; int min, max, interval; long long ticks; } cases[] = {
        {"gain scale", -120, 240, 40, 10},    {"last interval short", 0, 100, 40, 4},
        {"no interval: every value", 0, 10, 0, 11}, {"empty range: both ends", 5, 5, 1, 2},
        {"interval past the range", 0, 1, 100, 2}, {"whole int range", INT_MIN, INT_MAX, 0, 4294967296LL}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(TrackBarTickCount(c.min, c.max, c.interval), c.ticks) << c.name;
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
    EXPECT_TRUE(ComputeScale(one).rows.empty());
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

TEST(DoubleLabel, CaptionLeftValueRightOnAGreyStrip) {
    App();
    // clang-format off
    const struct { const char *caption, *value; bool inkLeft, inkRight; } cases[] = {
        {"Gain", "-3.5dB", true, true}, {"", "120", false, true}, {"增益：", "", true, false}};
    // clang-format on
    const QRgb strip = Rgb(controls::DoubleLabelStripColor());
    EXPECT_EQ(strip, 0xDCDCDCu);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        controls::DoubleLabel label;
        label.resize(240, 20);
        label.SetCaption(QString::fromUtf8(c.caption));
        label.SetValue(QString::fromUtf8(c.value));
        const QImage img = Render(label);
        for (QPoint corner : {QPoint(0, 0), QPoint(239, 19)})
            EXPECT_EQ(Pixel(img, corner.x(), corner.y()), strip);
        const QRect left = InkBox(img, strip, {0, 0, 120, 20}), right = InkBox(img, strip, {120, 0, 120, 20});
        EXPECT_TRUE(c.inkLeft ? left.left() <= 2 : left.isEmpty());
        EXPECT_TRUE(c.inkRight ? right.right() >= 236 : right.isEmpty());  // value right-aligned
    }
    // Without caption and value the label shows its own text, with no strip behind it.
    controls::DoubleLabel plain;
    plain.resize(240, 20);
    plain.setText(QStringLiteral("Plain text"));
    const QImage img = Render(plain);
    EXPECT_NE(Pixel(img, 239, 19), strip);
    EXPECT_FALSE(InkBox(img, Rgb(plain.palette().color(QPalette::Window)), img.rect()).isEmpty());
}

// A caption that cannot stand beside its value takes the top line and the value the bottom one, both
// whole; only a caption longer than the strip is cut with an ellipsis and shown whole as the tooltip.
TEST(DoubleLabel, LongCaptionTakesALineOfItsOwnAboveItsValue) {
    App();
    const QRgb strip = Rgb(controls::DoubleLabelStripColor());
    // clang-format off
    const struct { const char *caption, *value; int lines; bool cut; } cases[] = {
        {"Berkumandang Tingkat Tinggi:", "OFF", 2, false}, {"Memperlambat Sebelum Gema:", "200ms", 2, false},
        {"Echo delay:", "200ms", 1, false}, {"Memperlambat Sebelum Berkumandang Sekali Lagi:", "0ms", 2, true},
        {"Memperlambat Sebelum Berkumandang:", "", 1, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        QWidget parent;
        auto* label = new controls::DoubleLabel(&parent);
        const QFontMetrics fm(label->font());
        const QString caption = QString::fromUtf8(c.caption), value = QString::fromUtf8(c.value);
        // Room for the caption alone but not beside its value; less than the caption for the cut one.
        const int cw = fm.horizontalAdvance(caption), vw = fm.horizontalAdvance(value);
        const int width = c.cut ? cw - 40 : c.lines == 2 ? cw + 2 : cw + 4 + vw + 10;
        label->setGeometry(10, 50, width, 13);
        const int bottom = label->geometry().bottom();
        label->SetCaption(caption);
        label->SetValue(value);
        label->FitHeight();
        const controls::DoubleLabelLayout l = label->Layout();
        EXPECT_EQ(l.lines, c.lines);
        EXPECT_EQ(l.shortened, c.cut);
        EXPECT_EQ(l.caption.endsWith(QChar(0x2026)), c.cut);
        EXPECT_EQ(label->toolTip().toStdString(), c.cut ? c.caption : "");
        EXPECT_EQ(label->geometry().bottom(), bottom) << "the strip must grow upwards, clear of its slider";
        EXPECT_GE(label->height(), l.height) << "the strip is lower than its texts";
        EXPECT_FALSE(l.captionRect.intersects(l.valueRect)) << "caption runs into the value";
        EXPECT_TRUE(label->rect().contains(l.captionRect));
        if (!c.value[0]) continue;
        EXPECT_TRUE(label->rect().contains(l.valueRect));
        const QImage img = Render(*label);
        const QRect valueInk = InkBox(img, strip, l.valueRect);
        EXPECT_GE(valueInk.right(), label->width() - 3) << "value not right-aligned";
        if (c.lines == 1) {
            // No caption ink reaches the value's columns.
            const QRect captionInk = InkBox(img, strip, {0, 0, l.valueRect.left(), img.height()});
            EXPECT_LT(captionInk.right(), valueInk.left());
        } else {
            // The caption's ink stands wholly above the value's line.
            const QRect captionInk = InkBox(img, strip, {0, 0, img.width(), l.valueRect.top()});
            EXPECT_FALSE(captionInk.isEmpty());
            EXPECT_LT(captionInk.bottom(), valueInk.top());
            EXPECT_TRUE(InkBox(img, strip, {0, l.valueRect.top(), l.valueRect.left(), l.valueRect.height()})
                            .isEmpty())
                << "caption ink on the value's line";
        }
    }
    // Back to one line for a short caption, and the first height again.
    QWidget parent;
    auto* label = new controls::DoubleLabel(&parent);
    label->setGeometry(0, 40, 160, 13);
    label->SetValue(QStringLiteral("100%"));
    label->SetCaption(QStringLiteral("Memperlambat Sebelum Berkumandang:"));
    label->FitHeight();
    EXPECT_GT(label->height(), 13);
    label->SetCaption(QStringLiteral("Width:"));
    label->FitHeight();
    EXPECT_TRUE(label->toolTip().isEmpty());
    EXPECT_EQ(label->height(), std::max(13, TextLineHeight(label->font(), QStringLiteral("Width:"))));
    EXPECT_EQ(label->geometry().bottom(), 52);
}

// The room of the widest value the label may show is kept beside the caption, so a caption does not
// move between one line and two while its slider moves.
TEST(DoubleLabel, WidestValueDecidesTheLines) {
    App();
    controls::DoubleLabel label;
    const QFontMetrics fm(label.font());
    const QString caption = QStringLiteral("Menggema Tingkat Rendah:");
    // Room for the caption beside "OFF", not beside "19999Hz".
    label.resize(fm.horizontalAdvance(caption) + 4 + fm.horizontalAdvance(QStringLiteral("OFF")) + 2, 13);
    label.SetCaption(caption);
    label.SetValue(QStringLiteral("OFF"));
    EXPECT_EQ(label.Layout().lines, 1);
    label.SetValueSamples({QStringLiteral("5000Hz"), QStringLiteral("19999Hz"), QStringLiteral("OFF")});
    EXPECT_EQ(label.Layout().lines, 2);
    EXPECT_EQ(label.HeightFor(caption), label.Layout().height);
    EXPECT_EQ(label.HeightFor(QStringLiteral("Lebar:")),
              TextLineHeight(label.font(), QStringLiteral("Lebar:")));
    label.SetValue(QStringLiteral("19999Hz"));
    EXPECT_EQ(label.Layout().lines, 2);
    EXPECT_FALSE(label.Layout().shortened);
}

// Thai and CJK captions come from taller faces: the strip grows upwards to hold them and goes back
// to its first height for a Latin caption.
TEST(DoubleLabel, HeightFitsTheCaptionsScript) {
    App();
    QWidget parent;
    auto* label = new controls::DoubleLabel(&parent);
    label->setGeometry(10, 40, 260, 12);  // one line for each caption beside its value
    const int bottom = label->geometry().bottom();
    for (const char* caption : {"เพิ่ม-ลด เสียงเอคโค่โดยตรง:", "回声直达声音量:", "Echo Direct Volume:"}) {
        SCOPED_TRACE(caption);
        label->SetCaption(QString::fromUtf8(caption));
        label->SetValue(QStringLiteral("40%"));
        label->FitHeight();
        const int needed = controls::TextLineHeight(label->font(), QString::fromUtf8(caption));
        EXPECT_EQ(label->height(), std::max(12, needed));
        EXPECT_EQ(label->geometry().bottom(), bottom) << "the strip must grow upwards, clear of its slider";
    }
    EXPECT_GT(controls::TextLineHeight(label->font(), QString::fromUtf8("ตัดเสียงต่ำ")),
              QFontMetrics(label->font()).height())
        << "no taller Thai face here: the test shows nothing";
}

TEST(TabStrip, ItemsAre100By28WithTextCentredAQuarterDown) {
    App();
    controls::Tab tab;
    for (const char* text : {"Music", "麦克风", "", ""}) tab.addTab(QString::fromUtf8(text));
    tab.resize(420, 30);
    tab.setCurrentIndex(1);
    const QImage img = Render(tab);
    const QFontMetrics fm(tab.font());
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const QRect r = tab.tabRect(i);
        EXPECT_EQ(r, QRect(100 * i, r.top(), 100, 28));
        const QImage& bg = controls::TabBackgroundImage(i == 1);
        if (tab.tabText(i).isEmpty()) {
            EXPECT_TRUE(BlockAt(img, bg, r.topLeft()));
            continue;
        }
        QRect ink;  // pixels differing from the background image under them
        for (int y = 0; y < bg.height(); ++y)
            for (int x = 0; x < bg.width(); ++x)
                if (Pixel(img, r.left() + x, r.top() + y) != Pixel(bg, x, y)) ink |= QRect(x, y, 1, 1);
        const int cx = fm.horizontalAdvance(tab.tabText(i)), cy = fm.height();
        const int textLeft = (100 - cx) / 2, textTop = (28 - cy) / 4;
        ASSERT_FALSE(ink.isEmpty());  // inside the text box, allowing one pixel of left bearing
        EXPECT_TRUE(QRect(textLeft - 1, textTop, cx + 2, cy + 1).contains(ink)) << ink.x() << "," << ink.y();
    }
    EXPECT_EQ(controls::TabBackgroundImage(true).size(), QSize(96, 24)) << "selected tab background";
    EXPECT_EQ(controls::TabBackgroundImage(false).size(), QSize(98, 26)) << "unselected tab background";
}

// Overlapping items: whichever is current stays whole on top; texts past 63 characters are cut.
TEST(TabStrip, CurrentItemIsPaintedLastAndLongTextsAreCut) {
    App();
    std::vector<controls::TabItem> items;
    for (int i = 0; i < 4; ++i) items.push_back({QRect(i * 60, 0, 100, 28), QString()});
    auto paint = [](const std::vector<controls::TabItem>& tabs, int current) {
        QImage img(700, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 5));
        controls::PaintTabItems(p, tabs, current);
        return img;
    };
    for (int current = 0; current < 4; ++current)
        EXPECT_TRUE(
            BlockAt(paint(items, current), controls::TabBackgroundImage(true), items[current].rect.topLeft()))
            << current;
    const QImage none = paint(items, 7);  // out-of-range current: every item plain
    EXPECT_TRUE(FindAll(none, controls::TabBackgroundImage(true)).empty());
    EXPECT_TRUE(BlockAt(none, controls::TabBackgroundImage(false), items[3].rect.topLeft()));
    auto text = [&](int length) { return paint({{QRect(0, 0, 700, 28), QString(length, 'W')}}, 0); };
    EXPECT_EQ(text(63), text(100));
    EXPECT_NE(text(62), text(63));
}

}  // namespace
