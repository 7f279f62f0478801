#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/ui/color.h"
#include "platform/ui/dialog_units.h"
#include "ui_app.h"

namespace {

TEST(Colors, ColorRefIsBgr) {
    const QColor c = win::ColorRef(0xEAD999);
    EXPECT_EQ(c.red(), 0x99);
    EXPECT_EQ(c.green(), 0xD9);
    EXPECT_EQ(c.blue(), 0xEA);
    EXPECT_EQ(win::Rgb(153, 217, 234), 0xEAD999u);
    EXPECT_EQ(win::Rgb(300, -1, 256), 0x00FF2Cu);  // each channel keeps its low byte
    EXPECT_EQ(win::ColorRef(win::Rgb(220, 220, 220)), QColor(220, 220, 220));
    const QColor a = win::Argb(0x80102030);
    EXPECT_EQ(a.alpha(), 0x80);
    EXPECT_EQ(a.red(), 0x10);
    EXPECT_EQ(a.green(), 0x20);
    EXPECT_EQ(a.blue(), 0x30);
}

TEST(DialogUnits, FromBaseUnits) {
    const win::DialogUnits du(6, 13);
    EXPECT_EQ(du.X(4), 6);
    EXPECT_EQ(du.Y(8), 13);
    EXPECT_EQ(du.X(10), 15);
    EXPECT_EQ(du.Y(3), 5);  // 39 / 8 rounds to 5
    EXPECT_EQ(du.Rect(4, 8, 4, 8), QRect(6, 13, 6, 13));
    // Adjacent rectangles stay adjacent after rounding.
    const QRect left = du.Rect(0, 0, 7, 5), right = du.Rect(7, 0, 7, 5);
    EXPECT_EQ(left.right() + 1, right.left());
}

TEST(DialogUnits, FromAFont) {
    UiApp();
    QFont font;
    font.setPixelSize(13);
    const win::DialogUnits du(font);
    const QFontMetrics m(font);
    const int letters = m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(du.BaseX(), (letters / 26 + 1) / 2);
    EXPECT_EQ(du.BaseY(), m.height());
    EXPECT_GE(du.BaseX(), 1);
}

}  // namespace
