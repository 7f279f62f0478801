#include "pages/preset_text.h"

#include <gtest/gtest.h>

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

std::vector<std::string> Section(std::vector<std::string> body, const std::string& name = "[bass eq]") {
    body.insert(body.begin(), name);
    return body;
}

const std::vector<std::string> kBody = {"21,0,100,4", "123,0,100,1", "200,0,100,1", "300,0,100,1",
                                        "19999,0,100,5"};

TEST(SplitString, DropsEmptyPiecesAndAppends) {
    const struct {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {{"1000,,-350,70,1", {"1000", "-350", "70", "1"}}, {",a,", {"a"}}, {"", {}}, {",,,", {}}};
    for (const auto& c : cases) {
        std::vector<std::string> out{"x"};
        SplitString(out, c.text, ",");
        std::vector<std::string> want{"x"};
        want.insert(want.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(out, want) << c.text;
    }
    EXPECT_TRUE(SameSectionName("[Bass EQ]", "[bass eq]"));
    for (const char* other : {"[bass eq]\r", " [bass eq]", "[bass eq"})
        EXPECT_FALSE(SameSectionName(other, "[bass eq]"));
}

TEST(SaveEqText, ResetBodyAndRoundedHundredths) {
    PageModel m = FivePage();
    EXPECT_EQ(SaveEqText(m), "20,-2400,70,0\n25,0,100,1\n60,0,100,1\n160,0,100,1\n20000,-2400,70,0\n0\n");
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

TEST(LoadEqText, LineHandlingLaterSectionWinsAndCaseOfTheName) {
    PageModel m = FivePage();
    std::vector<std::string> lines = {"[other]", "1,2,3,4"};
    for (const auto& l : Section({"20,0,100,0", "111,0,100,1"}, "[bass eq]")) lines.push_back(l);
    for (const auto& l :
         Section({"30,-100,70,4", "1000,,-350,70,1", "1000,-350,70", "100,75,75,2", "19000,0,70.5,5", "0"},
                 "[BASS EQ]"))
        lines.push_back(l);
    ASSERT_TRUE(LoadEqText(m, lines));
    EXPECT_EQ(m.band.freq[0], 30);
    EXPECT_FLOAT_EQ(m.band.gain[0], -1.0f);
    EXPECT_EQ(m.band.type[0], 4);
    EXPECT_EQ(m.band.freq[1], 1000);  // the empty piece is dropped; the later section wins
    EXPECT_FLOAT_EQ(m.band.gain[1], -3.5f);
    EXPECT_EQ(m.band.freq[2], 60);        // three pieces: skipped
    EXPECT_FLOAT_EQ(m.band.q[3], 0.75f);  // Q read in whole hundredths
    EXPECT_FLOAT_EQ(m.band.q[4], 0.7f);   // 70.5 reads as 70
    // A name with a carriage return is another section.
    auto cr = Section(kBody, "[bass eq]\r");
    cr.push_back("1");
    EXPECT_FALSE(LoadEqText(m, cr));
    EXPECT_EQ(m.band.freq[1], 1000);
}

TEST(LoadEqText, BypassLineAndSectionsCutShort) {
    PageModel m = FivePage();
    auto on = Section(kBody);
    on.push_back("1");
    ASSERT_TRUE(LoadEqText(m, on));  // exactly one section of n + 2 lines
    EXPECT_TRUE(m.bypass);
    const int enabledWithBypass[] = {1, 0, 0, 0, 1};  // peaking bands only
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], enabledWithBypass[b]) << b;
    LoadEqText(m, Section({"20,0,100,0", "456,0,100,1"}));  // cut short: its bands, bypass kept
    EXPECT_EQ(m.band.freq[1], 456);
    EXPECT_EQ(m.band.freq[2], 200);
    EXPECT_TRUE(m.bypass);
    auto off = Section(kBody);
    off.push_back("zero");  // no number counts 0
    LoadEqText(m, off);
    EXPECT_FALSE(m.bypass);
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], 1) << b;
}

TEST(LoadEqText, ClampsAndSkipsBadBands) {
    PageModel m = FivePage();
    LoadEqText(m, Section({"5,-9999,1,0", "99999,5000,99999,1", "500,inf,100,1", "600,nan,100,2",
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
    LoadEqText(m, Section({"30,0,100,-1", "1e999,1e999,100,1", "40,-0x10,100,1", "50,abc,100,1", "60,0,100,5",
                           "0"}));
    EXPECT_EQ(m.band.freq[0], 20);     // type -1 skipped
    EXPECT_EQ(m.band.freq[1], 20000);  // huge gain skipped
    EXPECT_EQ(m.band.freq[2], 60);     // hex skipped
    EXPECT_EQ(m.band.freq[3], 50);     // a gain without a number is 0
    EXPECT_FLOAT_EQ(m.band.gain[3], 0.0f);
}

}  // namespace
