#include "pages/preset_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(line);
    return out;
}

PageModel FivePage() {
    PageModel m(5);
    m.sectionName = "[bass eq]";
    m.defaultFreq[1] = 25, m.defaultFreq[2] = 60, m.defaultFreq[3] = 160;
    m.ResetAll();
    return m;
}

std::vector<std::string> Section(const std::string& name, const std::vector<std::string>& body) {
    std::vector<std::string> out{name};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

TEST(SplitString, Pieces) {
    const struct {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"1,,2,", {"1", "2"}},
        {"1000,-350,70,1", {"1000", "-350", "70", "1"}},
        {",a,", {"a"}},
        {"", {}},
        {",,,", {}},
        {"abc", {"abc"}},
        {"1000,,-350,70,1", {"1000", "-350", "70", "1"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> out;
        SplitString(out, c.text, ",");
        EXPECT_EQ(out, c.pieces) << c.text;
    }
}

TEST(SplitString, AppendsWithoutClearing) {
    std::vector<std::string> out{"x"};
    SplitString(out, "1,2", ",");
    EXPECT_EQ(out, (std::vector<std::string>{"x", "1", "2"}));
}

TEST(SectionName, CaseOfAsciiOnlyAndWholeLine) {
    EXPECT_TRUE(SameSectionName("[BASS EQ]", "[bass eq]"));
    EXPECT_TRUE(SameSectionName("[Bass Eq]", "[bass eq]"));
    EXPECT_FALSE(SameSectionName("[bass eq]\r", "[bass eq]"));
    EXPECT_FALSE(SameSectionName(" [bass eq]", "[bass eq]"));
    EXPECT_FALSE(SameSectionName("[bass eq", "[bass eq]"));
}

TEST(SaveEqText, ResetBodyOfFiveBandPage) {
    EXPECT_EQ(SaveEqText(FivePage()),
              "20,-2400,70,0\n25,0,100,1\n60,0,100,1\n160,0,100,1\n20000,-2400,70,0\n0\n");
}

TEST(SaveEqText, RoundsHundredthsAndWritesBypass) {
    PageModel m = FivePage();
    m.band.freq[1] = 1000, m.band.gain[1] = -3.5f, m.band.q[1] = 0.7f;
    m.band.gain[2] = 2.1f;  // 2.1f * 100 is 209.99998
    m.band.q[2] = 1.15f;
    m.SetBypass(true);
    const auto lines = Lines(SaveEqText(m));
    EXPECT_EQ(lines[1], "1000,-350,70,1");
    EXPECT_EQ(lines[2], "60,210,115,1");
    EXPECT_EQ(lines[5], "1");
}

TEST(LoadEqText, RoundTripOfEveryGainSliderPosition) {
    for (int pos = -120; pos <= 240; ++pos) {
        PageModel m = FivePage();
        m.band.gain[2] = static_cast<float>(-pos) / 10.0f;
        m.band.q[2] = static_cast<float>(4 + (pos + 120) * 3) / 10.0f;  // tenths as the Q buttons reach them
        m.band.type[2] = 1 + (pos + 120) % 3;
        m.band.freq[2] = 20 + (pos + 120) * 50;
        const std::string text = m.sectionName + "\n" + SaveEqText(m);
        const EqBandRecord saved = m.band;
        m.ResetAll();
        ASSERT_TRUE(LoadEqText(m, Lines(text)));
        EXPECT_EQ(m.band.freq, saved.freq) << pos;
        EXPECT_EQ(m.band.gain, saved.gain) << pos;
        EXPECT_EQ(m.band.q, saved.q) << pos;
        EXPECT_EQ(m.band.type, saved.type) << pos;
        EXPECT_EQ(GainSliderPos(m.band.gain[2]), pos);
    }
}

TEST(LoadEqText, LineHandling) {
    PageModel m = FivePage();
    std::vector<std::string> lines = {"[other]", "1,2,3,4"};
    auto body = Section("[BASS EQ]", {"30,-100,70,4", "1000,,-350,70,1", "1000,-350,70", "100,75,75,2",
                                      "19000,0,70.5,5", "0"});
    lines.insert(lines.end(), body.begin(), body.end());
    ASSERT_TRUE(LoadEqText(m, lines));
    EXPECT_EQ(m.band.freq[0], 30);
    EXPECT_FLOAT_EQ(m.band.gain[0], -1.0f);
    EXPECT_EQ(m.band.type[0], 4);
    EXPECT_EQ(m.band.freq[1], 1000);  // the empty piece is dropped
    EXPECT_FLOAT_EQ(m.band.gain[1], -3.5f);
    EXPECT_FLOAT_EQ(m.band.q[1], 0.7f);
    EXPECT_EQ(m.band.freq[2], 60);        // three pieces: skipped
    EXPECT_FLOAT_EQ(m.band.q[3], 0.75f);  // Q read in whole hundredths
    EXPECT_FLOAT_EQ(m.band.q[4], 0.7f);   // 70.5 reads as 70
    EXPECT_EQ(m.band.type[4], 5);
}

TEST(LoadEqText, SectionNameWithCarriageReturnIsNotTheSection) {
    PageModel m = FivePage();
    const auto before = m.band.freq;
    EXPECT_FALSE(LoadEqText(m, Section("[bass eq]\r", {"1,0,100,1", "1,0,100,1", "1,0,100,1", "1,0,100,1",
                                                       "1,0,100,1", "1", "x"})));
    EXPECT_EQ(m.band.freq, before);
    EXPECT_FALSE(m.bypass);
}

TEST(LoadEqText, LaterSectionWins) {
    PageModel m = FivePage();
    auto lines = Section("[bass eq]",
                         {"20,0,100,0", "100,0,100,1", "200,0,100,1", "300,0,100,1", "20000,0,100,0", "0"});
    auto second = Section("[bass eq]",
                          {"20,0,100,0", "111,0,100,1", "200,0,100,1", "300,0,100,1", "20000,0,100,0", "0"});
    lines.insert(lines.end(), second.begin(), second.end());
    LoadEqText(m, lines);
    EXPECT_EQ(m.band.freq[1], 111);
}

TEST(LoadEqText, ExactlyOneSectionIsRead) {
    PageModel m = FivePage();
    LoadEqText(m, Section("[bass eq]",
                          {"20,0,100,0", "123,0,100,1", "200,0,100,1", "300,0,100,1", "20000,0,100,0", "1"}));
    EXPECT_EQ(m.band.freq[1], 123);
    EXPECT_TRUE(m.bypass);
}

TEST(LoadEqText, SectionCutShortAppliesBandsAndKeepsBypass) {
    PageModel m = FivePage();
    m.SetBypass(true);
    LoadEqText(m, Section("[bass eq]",
                          {"20,0,100,0", "123,0,100,1", "200,0,100,1", "300,0,100,1", "20000,0,100,0"}));
    EXPECT_EQ(m.band.freq[1], 123);
    EXPECT_TRUE(m.bypass);
    EXPECT_EQ(m.band.enabled[1], 0);
    // Even fewer lines: the bands that are there.
    LoadEqText(m, Section("[bass eq]", {"20,0,100,0", "456,0,100,1"}));
    EXPECT_EQ(m.band.freq[1], 456);
    EXPECT_EQ(m.band.freq[2], 200);
}

TEST(LoadEqText, BypassLineSetsPeakingBandsOnly) {
    const std::vector<std::string> body = {"21,0,100,4", "100,0,100,1", "200,0,100,1", "300,0,100,1",
                                           "19999,0,100,5"};
    PageModel m = FivePage();
    auto on = Section("[bass eq]", body);
    on.push_back("1");
    LoadEqText(m, on);
    EXPECT_TRUE(m.bypass);
    const std::array<int, 5> disabledPeaking = {1, 0, 0, 0, 1};
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], disabledPeaking[b]) << b;
    auto off = Section("[bass eq]", body);
    off.push_back("zero");  // no number counts 0
    LoadEqText(m, off);
    EXPECT_FALSE(m.bypass);
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], 1) << b;
    EXPECT_FALSE(m.RecomputeBypass());
}

TEST(LoadEqText, ClampsAndSkipsBadBands) {
    PageModel m = FivePage();
    LoadEqText(m, Section("[bass eq]", {"5,-9999,1,0", "99999,5000,99999,1", "500,inf,100,1", "600,nan,100,2",
                                        "700,0,100,6", "0"}));
    EXPECT_EQ(m.band.freq[0], 20);
    EXPECT_FLOAT_EQ(m.band.gain[0], -24.0f);
    EXPECT_FLOAT_EQ(m.band.q[0], 0.4f);
    EXPECT_EQ(m.band.freq[1], 20000);
    EXPECT_FLOAT_EQ(m.band.gain[1], 12.0f);
    EXPECT_FLOAT_EQ(m.band.q[1], 128.0f);
    EXPECT_EQ(m.band.freq[2], 60);     // infinite gain: skipped
    EXPECT_EQ(m.band.freq[3], 160);    // nan: skipped
    EXPECT_EQ(m.band.freq[4], 20000);  // type 6: skipped
    LoadEqText(m, Section("[bass eq]", {"30,0,100,-1", "1e999,1e999,100,1", "40,-0x10,100,1", "50,abc,100,1",
                                        "60,0,100,5", "0"}));
    EXPECT_EQ(m.band.freq[0], 20);     // type -1 skipped
    EXPECT_EQ(m.band.freq[1], 20000);  // huge gain skipped
    EXPECT_EQ(m.band.freq[2], 60);     // hex skipped
    EXPECT_EQ(m.band.freq[3], 50);     // a gain without a number is 0
    EXPECT_FLOAT_EQ(m.band.gain[3], 0.0f);
}

}  // namespace
