#include <gtest/gtest.h>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/language_tables.h"
#include "qt_app.h"

using namespace console;

namespace {

// The English and Vietnamese texts are checked on the main window.
TEST(LanguageTables, TextsKeptExactlyAndUnknownLanguagesShowChinese) {
    EXPECT_EQ(std::string(MicCaption(0)) + TabText(7, 0) + "|" + TabText(0, 9), "话筒:|音乐");
    // clang-format off
    const struct { int language, preset; const char* name; } presets[] = {
        {0, 0, "音效1"}, {1, 15, "Effect16"}, {2, 9, "เอฟเฟค10"}, {4, 1, "Efek2"}, {-1, 0, "音效1"}};
    // clang-format on
    for (const auto& p : presets) EXPECT_EQ(PresetName(p.language, p.preset), QString::fromUtf8(p.name));
    // Status lamp bitmaps: connected, not connected.
    const int lamps[][3] = {{0, 195, 194}, {1, 205, 204}, {2, 207, 206}, {3, 209, 210},
                            {4, 211, 212}, {5, 195, 194}, {-3, 195, 194}};
    for (const auto& l : lamps) {
        EXPECT_EQ(StatusLampBitmapId(l[0], true), l[1]) << l[0];
        EXPECT_EQ(StatusLampBitmapId(l[0], false), l[2]) << l[0];
    }
}

TEST(Images, SizesAndLampColours) {
    TestApp();
    EXPECT_EQ(AppIconImage(32).size(), QSize(32, 32));
    for (int language = 0; language < 5; ++language) {
        for (bool connected : {false, true}) {
            const QImage lamp = StatusLamp(language, connected);
            ASSERT_EQ(lamp.size(), kStatusLampSize);
            // Near its centre the light is green when connected, red when not.
            const QColor c = lamp.pixelColor(kLampLightX + 1, kLampLightY + 1);
            EXPECT_GT(connected ? c.green() - c.red() : c.red() - c.green(), 60) << language;
            EXPECT_NE(lamp.pixelColor(1, 1), QColor::fromRgb(connected ? kLampOnRgb : kLampOffRgb));
        }
        EXPECT_NE(StatusLamp(language, true), StatusLamp(language, false));
    }
}

}  // namespace
