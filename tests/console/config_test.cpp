#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "console/console_config.h"

namespace {

using console::VolumeLimits;

class ConfigFile : public testing::Test {
  protected:
    void TearDown() override { std::remove(path.c_str()); }
    void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string path = "config_test.ini";
};

TEST_F(ConfigFile, GarbageAndOutOfRangeValuesAreClamped) {
    Write(
        "[config]\nMUSICSTARTVOL=abc\nmusicendvol=999\nmicstartvol=50\nmicendvol=30\n"
        "effectstartvol=-5\neffectendvol=71x\nLanguage=7\n");
    EXPECT_EQ(console::ReadVolumeLimits(path), (VolumeLimits{0, 84, 30, 30, 0, 70}));
    EXPECT_EQ(console::ReadLanguage(path), 0);
}

struct ClampCase {
    VolumeLimits in;
    VolumeLimits out;
};

class VolumeClamp : public testing::TestWithParam<ClampCase> {};

TEST_P(VolumeClamp, EndsToTheirRangeStartsToTheirEnd) {
    EXPECT_EQ(console::Clamped(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Limits, VolumeClamp,
                         testing::Values(ClampCase{{0, 84, 0, 84, 0, 70}, {0, 84, 0, 84, 0, 70}},
                                         ClampCase{{85, 85, 85, 85, 71, 71}, {84, 84, 84, 84, 70, 70}},
                                         ClampCase{{-1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 0, 0}},
                                         ClampCase{{60, 50, 41, 40, 33, 32}, {50, 50, 40, 40, 32, 32}},
                                         ClampCase{{5, 6, 7, 8, 9, 10}, {5, 6, 7, 8, 9, 10}}));

TEST_F(ConfigFile, LanguageRoundTripsAndKeepsTheLimits) {
    Write("[Config]\nmicendvol=40\n");
    for (int language : {3, 0, 4}) {
        ASSERT_TRUE(console::WriteLanguage(path, language));
        EXPECT_EQ(console::ReadLanguage(path), language);
    }
    EXPECT_EQ(console::ReadVolumeLimits(path).micEnd, 40);
    EXPECT_EQ(console::ReadLanguage("no-such-file.ini"), 0);
}

}  // namespace
