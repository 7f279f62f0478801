#include <gtest/gtest.h>

#include <set>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/language_tables.h"
#include "qt_app.h"

namespace {

TEST(LanguageTables, EveryMenuHasTheSameIdsAndATextInEachLanguage) {
    const std::set<int> expected = {
        console::kCmdImport,     console::kCmdExport,       console::kCmdConnect,   console::kCmdExit,
        console::kCmdChinese,    console::kCmdEnglish,      console::kCmdThai,      console::kCmdVietnamese,
        console::kCmdIndonesian, console::kCmdResetFactory, console::kCmdDspUpdate, console::kCmdVolumeLimit};
    std::set<int> ids;
    int separators = 0;
    for (int m = 0; m < console::kMenuCount; ++m) {
        const auto& menu = console::Menu(m);
        for (int l = 0; l < 5; ++l) ASSERT_NE(menu.title[l], nullptr);
        for (std::size_t i = 0; i < menu.count; ++i) {
            if (menu.items[i].id == 0) {
                ++separators;
                continue;
            }
            EXPECT_TRUE(ids.insert(menu.items[i].id).second) << menu.items[i].id;
            for (int l = 0; l < 5; ++l)
                EXPECT_NE(menu.items[i].text[l], nullptr) << menu.items[i].id << " " << l;
        }
    }
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(separators, 2);
}

TEST(LanguageTables, TextsKeptExactly) {
    EXPECT_STREQ(console::Menu(0).title[1], "File(F)");
    EXPECT_STREQ(console::Menu(1).items[1].text[1], "Englise(&E)");
    EXPECT_STREQ(console::MicCaption(3), "Micro");
    EXPECT_STREQ(console::MicCaption(0), "话筒:");
    EXPECT_STREQ(console::TabText(6, 3), "Kênh surround");
    EXPECT_STREQ(console::TabText(7, 0), "");
    EXPECT_STREQ(console::TabText(0, 9), "音乐");  // any other language shows Chinese
}

struct PresetCase {
    int language;
    int preset;
    const char* name;
};

class PresetNames : public testing::TestWithParam<PresetCase> {};

TEST_P(PresetNames, WordThenNumberWithoutBlank) {
    EXPECT_EQ(console::PresetName(GetParam().language, GetParam().preset),
              QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Languages, PresetNames,
                         testing::Values(PresetCase{0, 0, "音效1"}, PresetCase{1, 15, "Effect16"},
                                         PresetCase{2, 9, "เอฟเฟค10"}, PresetCase{3, 15, "Hiệu ứng16"},
                                         PresetCase{4, 1, "Efek2"}, PresetCase{-1, 0, "音效1"}));

struct LampCase {
    int language;
    int connected;
    int notConnected;
};

class StatusLampIds : public testing::TestWithParam<LampCase> {};

TEST_P(StatusLampIds, ByLanguageAndLinkState) {
    EXPECT_EQ(console::StatusLampBitmapId(GetParam().language, true), GetParam().connected);
    EXPECT_EQ(console::StatusLampBitmapId(GetParam().language, false), GetParam().notConnected);
}

INSTANTIATE_TEST_SUITE_P(Languages, StatusLampIds,
                         testing::Values(LampCase{0, 195, 194}, LampCase{1, 205, 204}, LampCase{2, 207, 206},
                                         LampCase{3, 209, 210}, LampCase{4, 211, 212}, LampCase{5, 195, 194},
                                         LampCase{-3, 195, 194}));

TEST(Images, SizesAndLampColours) {
    TestApp();
    EXPECT_EQ(console::AppIconImage(32).size(), QSize(32, 32));
    for (int language = 0; language < 5; ++language) {
        for (bool connected : {false, true}) {
            const QImage lamp = console::StatusLamp(language, connected);
            ASSERT_EQ(lamp.size(), console::kStatusLampSize);
            const QColor centre = lamp.pixelColor(console::kLampLightX + 1, console::kLampLightY + 1);
            const QColor light = QColor::fromRgb(connected ? console::kLampOnRgb : console::kLampOffRgb);
            // The light's own colour dominates near its centre: green when connected, red when not.
            if (connected) {
                EXPECT_GT(centre.green(), centre.red() + 60) << language;
            } else {
                EXPECT_GT(centre.red(), centre.green() + 60) << language;
            }
            EXPECT_NE(lamp.pixelColor(1, 1), light);
        }
        EXPECT_NE(console::StatusLamp(language, true), console::StatusLamp(language, false));
    }
}

}  // namespace
