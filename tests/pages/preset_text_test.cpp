#include "pages/preset_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "pages/channel_preset.h"

namespace {

using Lines = std::vector<std::string>;

PageModel FivePage() {
    PageModel m(5);
    m.sectionName = "[bass eq]";
    m.defaultFreq[1] = 25, m.defaultFreq[2] = 60, m.defaultFreq[3] = 160;
    m.ResetAll();
    return m;
}

std::string Bands(const PageModel& m) {
    std::ostringstream s;
    for (int b = 0; b < 5; ++b)
        s << m.band.freq[b] << "," << m.band.gain[b] << "," << m.band.q[b] << "," << m.band.type[b] << " ";
    return s.str();
}

const Lines kBody = {"[bass eq]", "21,0,100,4", "123,0,100,1", "200,0,100,1", "300,0,100,1", "19999,0,100,5"};

Lines With(Lines lines, std::initializer_list<std::string> more) {
    lines.insert(lines.end(), more);
    return lines;
}

TEST(SplitString, DropsEmptyPiecesAndAppendsAndSectionNames) {
    const struct {
        const char* name;
        const char* text;
        Lines pieces;
    } cases[] = {{"an empty piece inside", "1000,,-350,70,1", {"1000", "-350", "70", "1"}},
                 {"separators at both ends", ",a,", {"a"}},
                 {"empty text", "", {}},
                 {"separators only", ",,,", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lines out{"x"};  // appended after what is there
        SplitString(out, c.text, ",");
        EXPECT_EQ(out.front(), "x") << "what was there is kept";
        EXPECT_EQ(Lines(out.begin() + 1, out.end()), c.pieces) << "pieces of \"" << c.text << '"';
    }
    EXPECT_TRUE(SameSectionName("[Bass EQ]", "[bass eq]"));
    for (const char* other : {"[bass eq]\r", " [bass eq]", "[bass eq"})
        EXPECT_FALSE(SameSectionName(other, "[bass eq]")) << '"' << other << '"';
}

TEST(SaveEqText, ResetBodyAndRoundedHundredths) {
    PageModel m = FivePage();
    EXPECT_EQ(SaveEqText(m), "20,-2400,70,0\n25,0,100,1\n60,0,100,1\n160,0,100,1\n20000,-2400,70,0\n0\n");
    m.band.freq[1] = 1000, m.band.gain[1] = -3.5f, m.band.q[1] = 0.7f;
    m.band.gain[2] = 2.1f, m.band.q[2] = 1.15f;  // 2.1f * 100 is 209.99998
    m.SetBypass(true);
    EXPECT_EQ(SaveEqText(m),
              "20,-2400,70,0\n1000,-350,70,1\n60,210,115,1\n160,0,100,1\n20000,-2400,70,0\n1\n");
}

TEST(LoadEqText, RoundTripOfEveryGainSliderPosition) {
    for (int pos = -120; pos <= 240; ++pos) {
        PageModel m = FivePage();
        m.band.gain[2] = static_cast<float>(-pos) / 10.0f;
        m.band.q[2] = static_cast<float>(4 + (pos + 120) * 3) / 10.0f;  // tenths as the Q buttons reach them
        m.band.type[2] = 1 + (pos + 120) % 3;
        m.band.freq[2] = 20 + (pos + 120) * 50;
        const std::string text = m.sectionName + "\n" + SaveEqText(m), saved = Bands(m);
        m.ResetAll();
        ASSERT_TRUE(LoadEqText(m, chan::NonEmptyLines(text)));
        EXPECT_EQ(Bands(m), saved) << "bands read back, slider position " << pos;
        EXPECT_EQ(GainSliderPos(m.band.gain[2]), pos) << "band 2's gain read back";
    }
}

TEST(LoadEqText, LineHandlingLaterSectionWinsAndCaseOfTheName) {
    PageModel m = FivePage();
    // The empty piece is dropped; three pieces are skipped; Q in whole hundredths, 70.5 reads as 70.
    ASSERT_TRUE(LoadEqText(
        m, {"[other]", "1,2,3,4", "[bass eq]", "20,0,100,0", "111,0,100,1", "[BASS EQ]", "30,-100,70,4",
            "1000,,-350,70,1", "1000,-350,70", "100,75,75,2", "19000,0,70.5,5", "0"}));
    EXPECT_EQ(Bands(m), "30,-1,0.7,4 1000,-3.5,0.7,1 60,0,1,1 100,0.75,0.75,2 19000,0,0.7,5 ");
    EXPECT_FALSE(
        LoadEqText(m, {"[bass eq]\r", "1,0,100,1", "2,0,100,1", "3,0,100,1", "4,0,100,1", "5,0,100,1", "1"}));
    EXPECT_EQ(m.band.freq[1], 1000);
}

TEST(LoadEqText, BypassLineAndSectionsCutShort) {
    PageModel m = FivePage();
    ASSERT_TRUE(LoadEqText(m, With(kBody, {"1"})));  // exactly one section of n + 2 lines
    using Flags = decltype(m.band.enabled);
    EXPECT_TRUE(m.bypass) << "bypass line 1";
    EXPECT_EQ(m.band.enabled, (Flags{1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}))
        << "bypass turns the peaking bands off";
    LoadEqText(m, {"[bass eq]", "20,0,100,0", "456,0,100,1"});  // cut short: its bands, bypass kept
    EXPECT_EQ(m.band.freq[1], 456) << "cut short: its band read";
    EXPECT_EQ(m.band.freq[2], 200) << "cut short: the next band kept";
    EXPECT_TRUE(m.bypass) << "cut short: bypass kept";
    LoadEqText(m, With(kBody, {"zero"}));  // no number counts 0
    EXPECT_FALSE(m.bypass) << "\"zero\" reads as 0";
    EXPECT_EQ(m.band.enabled, (Flags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}))
        << "bypass off turns every band on";
}

TEST(LoadEqText, SectionEndsAtTheNextHeader) {
    // Two band lines missing: the lines there are go to the first bands, the rest keep their values,
    // and the next section's lines are never read as this one's (its "20" is no bypass).
    PageModel m = FivePage();
    LoadEqText(m, {"[bass eq]", "21,0,100,4", "123,0,100,1", "200,0,100,1", "0", "[bass alc]", "20,50,2,5"});
    EXPECT_EQ(Bands(m), "21,0,1,4 123,0,1,1 200,0,1,1 160,0,1,1 20000,-24,0.7,0 ");
    EXPECT_FALSE(m.bypass) << "the next section's line was taken as the bypass";
    // A whole body directly followed by a header: the bypass stays as it was.
    m.SetBypass(true);
    LoadEqText(m, With(kBody, {"[bass alc]", "0"}));
    EXPECT_TRUE(m.bypass);
    EXPECT_EQ(m.band.freq[4], 19999);
    // Any bracketed line ends the section, also one of a section this page does not know.
    LoadEqText(m, {"[bass eq]", "22,0,100,4", "[future]", "1,2,3,4", "1,2,3,4", "1,2,3,4", "0"});
    EXPECT_EQ(m.band.freq[0], 22) << "the line before [future]";
    EXPECT_EQ(m.band.freq[1], 123) << "[future]'s lines are not this section's";
}

TEST(LoadEqText, ClampsAndSkipsBadBands) {
    PageModel m = FivePage();
    // Clamped to 20..20000, -24..12, 0.4..128; infinite, nan and type 6 skipped.
    LoadEqText(m, {"[bass eq]", "5,-9999,1,0", "99999,5000,99999,1", "500,inf,100,1", "600,nan,100,2",
                   "700,0,100,6", "0"});
    EXPECT_EQ(Bands(m), "20,-24,0.4,0 20000,12,128,1 60,0,1,1 160,0,1,1 20000,-24,0.7,0 ");
    // Type -1, a huge gain and hex skipped; a gain without a number is 0.
    LoadEqText(m, {"[bass eq]", "30,0,100,-1", "1e999,1e999,100,1", "40,-0x10,100,1", "50,abc,100,1",
                   "60,0,100,5", "0"});
    EXPECT_EQ(Bands(m), "20,-24,0.4,0 20000,12,128,1 60,0,1,1 50,0,1,1 60,0,1,5 ");
}

}  // namespace
