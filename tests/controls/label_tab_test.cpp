// DoubleLabel and Tab painting checked on rendered pixels.
#include <gtest/gtest.h>

#include <QPainter>

#include "controls/control_images.h"
#include "controls/double_label.h"
#include "controls/tab.h"
#include "widget_test_support.h"

namespace {

using namespace controls_test;

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
    EXPECT_EQ(
        std::pair(controls::TabBackgroundImage(true).size(), controls::TabBackgroundImage(false).size()),
        std::pair(QSize(96, 24), QSize(98, 26)));
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
