// DoubleLabel and Tab painting checked on rendered pixels.
#include <gtest/gtest.h>

#include <QPainter>

#include "controls/control_images.h"
#include "controls/double_label.h"
#include "controls/tab.h"
#include "widget_test_support.h"

namespace {

using controls::DoubleLabel;
using controls::Tab;
using namespace controls_test;

struct LabelCase {
    const char* caption;
    const char* value;
    bool inkLeft, inkRight;
};

class DoubleLabelStrip : public testing::TestWithParam<LabelCase> {};

TEST_P(DoubleLabelStrip, CaptionLeftValueRightOnGrey) {
    App();
    const LabelCase c = GetParam();
    DoubleLabel label;
    label.resize(240, 20);
    label.SetCaption(QString::fromUtf8(c.caption));
    label.SetValue(QString::fromUtf8(c.value));
    const QImage img = Render(label);
    const QRgb strip = Rgb(controls::DoubleLabelStripColor());
    EXPECT_EQ(strip, 0xDCDCDCu);
    for (QPoint corner : {QPoint(0, 0), QPoint(239, 0), QPoint(0, 19), QPoint(239, 19)})
        EXPECT_EQ(Pixel(img, corner.x(), corner.y()), strip);
    const QRect leftHalf(0, 0, 120, 20), rightHalf(120, 0, 120, 20);
    const QRect left = InkBox(img, strip, leftHalf), right = InkBox(img, strip, rightHalf);
    EXPECT_EQ(!left.isEmpty(), c.inkLeft);
    EXPECT_EQ(!right.isEmpty(), c.inkRight);
    if (c.inkLeft) {
        EXPECT_LE(left.left(), 2);
    }
    if (c.inkRight) {
        EXPECT_GE(right.right(), 236);
    }
    // Black text: the darkest ink is neutral and dark.
    int darkest = 255;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor px(img.pixel(x, y));
            if (px.red() == px.green() && px.green() == px.blue()) darkest = std::min(darkest, px.red());
        }
    EXPECT_LT(darkest, 64);
}

INSTANTIATE_TEST_SUITE_P(Texts, DoubleLabelStrip,
                         testing::Values(LabelCase{"Gain", "-3.5dB", true, true},
                                         LabelCase{"", "120", false, true},
                                         LabelCase{"Level", "", true, false},
                                         LabelCase{"增益：", "12", true, true}));

TEST(DoubleLabelPlain, BothEmptyShowsTheLabelsOwnText) {
    App();
    DoubleLabel label;
    label.resize(240, 20);
    label.setText(QStringLiteral("Plain text"));
    QImage img = Render(label);
    const QRgb strip = Rgb(controls::DoubleLabelStripColor());
    EXPECT_TRUE(FindAll(img, QImage(1, 1, QImage::Format_RGB32)).size() < 240 * 20);  // renders something
    EXPECT_TRUE(InkBox(img, strip, img.rect()).isValid());
    int stripPixels = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) stripPixels += Pixel(img, x, y) == strip;
    EXPECT_LT(stripPixels, 20);  // no grey strip behind it
    const QRgb face = Rgb(label.palette().color(QPalette::Window));
    EXPECT_FALSE(InkBox(img, face, img.rect()).isEmpty());

    // Once a caption is set the strip replaces the label's own text.
    label.SetCaption(QStringLiteral("C"));
    EXPECT_EQ(label.Caption(), QStringLiteral("C"));
    img = Render(label);
    EXPECT_EQ(Pixel(img, 239, 19), strip);
}

TEST(TabStrip, ItemsAre100By28WithTheirBackgrounds) {
    App();
    Tab tab;
    for (int i = 0; i < 4; ++i) tab.addTab(QString());
    tab.resize(420, 30);
    {
        const QSignalBlocker block(&tab);
        tab.setCurrentIndex(2);
    }
    const QImage img = Render(tab);
    for (int i = 0; i < 4; ++i) {
        const QRect r = tab.tabRect(i);
        EXPECT_EQ(r.size(), QSize(100, 28)) << i;
        if (i > 0) {
            EXPECT_EQ(r.left(), tab.tabRect(i - 1).right() + 1) << i;
        }
        const QImage& bg = controls::TabBackgroundImage(i == 2);
        EXPECT_TRUE(BlockAt(img, bg, r.topLeft())) << i;
    }
    EXPECT_EQ(controls::TabBackgroundImage(true).size(), QSize(96, 24));
    EXPECT_EQ(controls::TabBackgroundImage(false).size(), QSize(98, 26));
}

TEST(TabStrip, TextCentredAQuarterDown) {
    App();
    Tab tab;
    tab.addTab(QStringLiteral("Music"));
    tab.addTab(QStringLiteral("麦克风"));
    tab.resize(220, 30);
    const QImage img = Render(tab);
    const QFontMetrics fm(tab.font());
    for (int i = 0; i < 2; ++i) {
        const QRect r = tab.tabRect(i);
        const QImage& bg = controls::TabBackgroundImage(i == tab.currentIndex());
        // Ink: pixels differing from the background image under them.
        QRect ink;
        for (int y = 0; y < bg.height(); ++y)
            for (int x = 0; x < bg.width(); ++x)
                if (Pixel(img, r.left() + x, r.top() + y) != Pixel(bg, x, y)) ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty()) << i;
        const QString text = tab.tabText(i);
        const int cx = fm.horizontalAdvance(text), cy = fm.height();
        const int textLeft = (100 - cx) / 2, textTop = (28 - cy) / 4;
        EXPECT_GE(ink.left(), textLeft - 1) << i;
        EXPECT_LE(ink.right(), textLeft + cx) << i;
        EXPECT_NEAR(ink.center().x(), 50, 3) << i;
        EXPECT_GE(ink.top(), textTop) << i;
        EXPECT_LE(ink.bottom(), textTop + cy) << i;
        EXPECT_LT(ink.center().y(), 14) << i;  // above the middle
    }
}

// Overlapping items: whichever is current stays whole on top.
TEST(TabStrip, CurrentItemIsPaintedLast) {
    App();
    std::vector<controls::TabItem> items;
    for (int i = 0; i < 4; ++i) items.push_back({QRect(i * 60, 0, 100, 28), QString()});
    for (int current = 0; current < 4; ++current) {
        QImage img(340, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            controls::PaintTabItems(p, items, current);
        }
        EXPECT_TRUE(BlockAt(img, controls::TabBackgroundImage(true), items[current].rect.topLeft()))
            << current;
    }
    // Out-of-range current: every item plain.
    QImage img(340, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        controls::PaintTabItems(p, items, 7);
    }
    EXPECT_TRUE(FindAll(img, controls::TabBackgroundImage(true)).empty());
    EXPECT_TRUE(BlockAt(img, controls::TabBackgroundImage(false), items[3].rect.topLeft()));
}

TEST(TabStrip, TextLongerThan63CharactersIsCut) {
    App();
    auto render = [](const QString& text) {
        QImage img(700, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 5));
        controls::PaintTabItems(p, {{QRect(0, 0, 700, 28), text}}, 0);
        return img;
    };
    EXPECT_EQ(render(QString(63, 'W')), render(QString(100, 'W')));
    EXPECT_NE(render(QString(62, 'W')), render(QString(63, 'W')));
}

}  // namespace
