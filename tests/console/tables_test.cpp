#include <gtest/gtest.h>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/language_tables.h"
#include "qt_app.h"

using namespace console;

namespace {

// The English and Vietnamese texts are checked on the main window.
TEST(LanguageTables, TextsKeptExactlyAndUnknownLanguagesShowChinese) {
    EXPECT_STREQ(MicCaption(0), "话筒:") << "Chinese mic caption";
    EXPECT_STREQ(TabText(pageindex::kSetUp, 0), "") << "the set-up page has no tab";
    EXPECT_STREQ(TabText(pageindex::kMusic, 9), "音乐") << "language 9 shows Chinese";
    // clang-format off
    const struct { int language, preset; const char* name; } presets[] = {
        {0, 0, "音效1"}, {1, 15, "Effect16"}, {2, 9, "เอฟเฟค10"}, {4, 1, "Efek2"}, {-1, 0, "音效1"}};
    // clang-format on
    for (const auto& p : presets)
        EXPECT_EQ(PresetName(p.language, p.preset), QString::fromUtf8(p.name))
            << "language " << p.language << ", preset " << p.preset;
    // Status lamp bitmaps: connected, not connected.
    const struct {
        int language, connected, notConnected;
    } lamps[] = {{0, 195, 194}, {1, 205, 204}, {2, 207, 206}, {3, 209, 210},
                 {4, 211, 212}, {5, 195, 194}, {-3, 195, 194}};
    for (const auto& l : lamps) {
        EXPECT_EQ(StatusLampBitmapId(l.language, true), l.connected)
            << "language " << l.language << ", connected";
        EXPECT_EQ(StatusLampBitmapId(l.language, false), l.notConnected)
            << "language " << l.language << ", not connected";
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
            SCOPED_TRACE(testing::Message()
                         << "language " << language << (connected ? ", connected" : ", not connected"));
            EXPECT_GT(connected ? c.green() - c.red() : c.red() - c.green(), 60) << "the light's colour";
            EXPECT_NE(lamp.pixelColor(1, 1), QColor::fromRgb(connected ? kLampOnRgb : kLampOffRgb))
                << "the corner is no light";
        }
        EXPECT_NE(StatusLamp(language, true), StatusLamp(language, false)) << "language " << language;
    }
}

}  // namespace
