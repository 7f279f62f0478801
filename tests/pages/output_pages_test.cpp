#include <gtest/gtest.h>

#include <QAbstractButton>

#include "controls/notices.h"
#include "pages/channel_output_page.h"
#include "pages/channel_preset.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_ids.h"
#include "pages/page_main_out.h"
#include "pages/page_mid_out.h"
#include "pages/page_sub_out.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
namespace id = pageid;
using V = std::vector<std::string>;
using S = Notices;

namespace {

constexpr int kLeftMute = 1428;  // the surround page's mute buttons
constexpr int kRightMute = 1429;

// Band 0, band 1, the last band, one past it, band -1 and the limiter at reset.
template <class P>
void ExpectResetFrames(const V& expected) {
    ASSERT_EQ(expected.size(), 6u);
    Harness<P> h;
    SCOPED_TRACE(typeid(P).name());
    const int n = h.page->GetBandCount();
    ExpectFrames({{"band 0", h.Band(0), expected[0]},
                  {"band 1", h.Band(1), expected[1]},
                  {"the last band", h.Band(n - 1), expected[2]},
                  {"one past the last band", h.Band(n), expected[3]},
                  {"band -1", h.Band(-1), expected[4]},
                  {"limiter", Hex(h.page->BuildAlcCmd()), expected[5]}});
}

TEST(OutputPages, FramesAtReset) {
    // clang-format off
    ExpectResetFrames<PageMainOut>((V{"A5 11 F1 0A 09 00 0E A0 5A 14 00 46 00 03 00 00 1F",
        "A5 11 F1 0A 09 01 0F 00 64 C8 00 64 00 03 00 00 5D", "A5 11 F1 0A 09 06 0E A0 5A 20 4E 46 00 03 00 00 7F",
        "none", "none", "A5 0E F1 18 04 00 00 32 00 64 00 54 05 AF"}));
    ExpectResetFrames<PageMidOut>((V{"A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 04 00 00 1C",
        "A5 11 F1 0A 09 01 0B 00 64 50 00 64 00 04 00 00 E2", "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 04 00 00 7A",
        "none", "none", "A5 0E F1 18 04 00 03 32 00 64 00 54 05 B2"}));
    ExpectResetFrames<PageSubOut>((V{"A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 30 00 00 48",
        "A5 11 F1 0A 09 01 0B 00 64 64 00 64 00 30 00 00 22", "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 30 00 00 A6",
        "none", "none", "A5 0E F1 18 04 00 04 32 00 64 00 54 05 B3"}));
    // Subwoofer: band 0 is the crossover low-pass at 100 Hz with the Q of "12db"; band 4 is flat.
    ExpectResetFrames<PageBassOut>((V{"A5 11 F1 0A 09 00 0B A0 5A 64 00 32 00 08 00 04 61",
        "A5 11 F1 0A 09 01 0B 00 64 19 00 64 00 08 00 00 AF", "A5 11 F1 0A 09 04 0A 00 64 20 4E 46 00 08 00 00 E8",
        "none", "none", "A5 0E F1 18 04 00 02 32 00 64 00 54 05 B1"}));
    // clang-format on
}

TEST(OutputPages, UserMoveNotifiesOnceCodeSetsNeverAndLimiterFromFile) {
    Harness<PageMainOut> h;
    h.Drag(chan::id::kLeftDelay, 10);
    EXPECT_EQ(h.Take(), (S{{notice::kDelays, 0, 0}}));
    h.page->SetDirectVolume(7);
    h.page->SetEchoVolume(8);
    h.page->SetReverbVolume(300);
    EXPECT_EQ(h.page->Label(id::kDirectLevelLabel)->value, "7%") << "direct sound level";
    EXPECT_EQ(h.page->Label(id::kEchoLevelLabel)->value, "8%") << "echo level";
    EXPECT_EQ(h.page->Label(id::kReverbLevelLabel)->value, "200%") << "reverb level";
    h.page->SetMuteBits(3);
    h.page->ResetAll(true);
    h.page->SetLanguage(4);
    h.page->LoadText({"[MAIN ALC]", "10,30,4,50", "[main alc]", "1,2,3,4,5"});
    EXPECT_EQ(Hex(h.page->BuildAlcCmd(), 13), "A5 0E F1 18 04 00 00 1E 00 78 00 4A 32")
        << "ALC frame after the load";
    EXPECT_EQ(h.page->Label(id::kAttackLabel)->value, "Atk x 4") << "attack label after the load";
    EXPECT_TRUE(h.parent->notices.empty()) << "code-set values and a file load notify nobody";
}

TEST(OutputPages, MuteButtonsToggleBitsAndFacesAndFilesAreMasked) {
    Harness<PageSubOut> h;
    QAbstractButton* left = h.page->MuteButton(0);
    QAbstractButton* right = h.page->MuteButton(1);
    ASSERT_NE(left, nullptr) << "left mute button";
    ASSERT_NE(right, nullptr) << "right mute button";
    EXPECT_EQ(left, h.page->Control(kLeftMute)) << "bit 0 is the left button";
    EXPECT_EQ(right, h.page->Control(kRightMute)) << "bit 1 is the right button";
    EXPECT_EQ(left->text(), QString("Mute"));
    auto expectFaces = [&](int bits, unsigned leftFace, unsigned rightFace, const char* when) {
        EXPECT_EQ(h.page->MuteBits(), bits) << when << ": mute bits";
        EXPECT_EQ(chan::ButtonFace(left), leftFace) << when << ": left face";
        EXPECT_EQ(chan::ButtonFace(right), rightFace) << when << ": right face";
    };
    right->click();
    expectFaces(2, chan::kUnmutedFace, chan::kMutedFace, "right clicked");
    EXPECT_EQ(right->palette().color(QPalette::Button), QColor(153, 217, 234)) << "a muted button's colour";
    right->click();
    expectFaces(0, chan::kUnmutedFace, chan::kUnmutedFace, "right clicked again");
    EXPECT_EQ(h.Take(), (S{{notice::kMutes, 0, 0}, {notice::kMutes, 0, 0}}));
    h.page->LoadText({"[surround mute]", "6"});
    expectFaces(2, chan::kUnmutedFace, chan::kMutedFace, "loaded 6, masked");
    h.page->LoadText({"x", "[surround mute]"});
    EXPECT_EQ(h.page->MuteBits(), 2) << "a section without a value line";
    Harness<PageMidOut> mid;
    mid.page->LoadText({"[MID MUTE]", "7"});
    EXPECT_EQ(mid.page->MuteBits(), 1) << "the mid page has one mute bit";
}

template <class P>
void RoundTrip(void (*touch)(P&)) {
    Harness<P> h;
    touch(*h.page);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->SetMuteBits(0);
    EXPECT_NE(h.page->SaveText(), saved);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
}

TEST(OutputPages, PresetTextAndRoundTrip) {
    Harness<PageMainOut> fresh;
    const std::string t = fresh.page->SaveText();
    EXPECT_EQ(t.rfind("[main eq]\n", 0), 0u);
    EXPECT_NE(t.find("\n\n[main alc]\n20,50,2,5\n\n[main mute]\n0\n"), std::string::npos);
    RoundTrip<PageMainOut>(+[](PageMainOut& p) {
        p.SetSliderPos(chan::id::kLimit, -34);
        p.SetSliderPos(chan::id::kStartTime, 90);
        p.SetSliderPos(chan::id::kReleaseMultiplier, 32);
        p.SetSliderPos(chan::id::kRatio, 0);
        p.SetMuteBits(3);
        p.SetBandFreqGain(3, 1500, -3.5f);
    });
    RoundTrip<PageMidOut>(
        +[](PageMidOut& p) { p.SetSliderPos(chan::id::kReleaseMultiplier, 7), p.SetMuteBits(1); });
    RoundTrip<PageSubOut>(+[](PageSubOut& p) { p.SetSliderPos(chan::id::kRatio, 99), p.SetMuteBits(2); });
    RoundTrip<PageBassOut>(+[](PageBassOut& p) {
        p.ApplyCrossover(80, -12, 4, 0.7f);
        p.SetSliderPos(chan::id::kLimit, 0);
        p.SetMuteBits(1);
    });
}

TEST(BassPage, SlopeSequenceAndResetExportsAs12db) {
    Harness<PageBassOut> h;
    h.page->LoadText(chan::NonEmptyLines(h.page->SaveText()));  // the reset Q reads back as "12db"
    EXPECT_EQ(h.page->SlopeItem(), 0) << "slope after the reset round trip";
    EXPECT_EQ(h.page->Label(id::kBassLowPassLabel)->value, "100Hz") << "crossover label";
    h.Choose(pageid::kBassSlopeCombo, 1);
    h.Take();
    h.Drag(chan::id::kCrossover, 150);
    EXPECT_EQ(h.Take(), (S{{notice::kCrossover, 0, 0},
                           {notice::kBandType, 4, kTypeLowPass},
                           {notice::kBandFreq, 4, 150},
                           {notice::kCrossover, 0, 0}}));
    h.ExpectBand(0, 150, kTypeLowPass, 1, "the crossover");
    h.ExpectBand(4, 150, kTypeLowPass, 1, "the second section at 24db");
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()),
              "A5 11 F1 0A 09 00 0B 50 5F 96 00 46 00 08 00 04 00");  // Q 0.7
    h.Choose(pageid::kBassSlopeCombo, 0);
    EXPECT_EQ(
        h.Take(),
        (S{{notice::kBandType, 4, kTypeOff}, {notice::kBandFreq, 4, kMaxFreq}, {notice::kCrossover, 0, 0}}))
        << "12db turns the low-pass section off";
    h.ExpectBand(4, kMaxFreq, kTypeOff, 1, "back to 12db");
    h.Drag(chan::id::kCrossover, 300);
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()),
              "A5 11 F1 0A 09 00 0B 00 64 2C 01 32 00 08 00 04 00");  // Q 0.5
}

TEST(BassPage, ApplyCrossover) {
    Harness<PageBassOut> h;
    h.page->ApplyCrossover(80, -12, 4, 0.7f);
    EXPECT_EQ(h.page->CrossoverHz(), 80) << "crossover";
    EXPECT_EQ(h.page->SlopeItem(), 1) << "slope 24db";
    EXPECT_EQ(h.page->Model().band.type[0], kTypeLowPass) << "band 0 type";
    h.ExpectBand(4, 80, kTypeLowPass, 1, "band 4 follows");
    EXPECT_EQ(h.page->Model().band.gain[4], 0.0f) << "band 4 gain";
    EXPECT_EQ(h.page->Model().band.freq[0], 80) << "the preset file would write another crossover";
    h.page->ApplyCrossover(150, 0, 4, 0.5f);  // 12db: band 4 goes flat too
    EXPECT_EQ(h.page->CrossoverHz(), 300) << "150 Hz at 12db";
    EXPECT_EQ(h.page->SlopeItem(), 0) << "slope 12db";
    EXPECT_EQ(h.page->Model().band.freq[0], 300) << "band 0 follows the crossover";
    h.ExpectBand(4, kMaxFreq, kTypeOff, 1, "band 4 flat at 12db");
    h.page->LoadText(
        {"[bass eq]", "500,-2400,50,5", "25,0,100,1", "60,0,100,1", "160,0,100,1", "20000,0,70,0", "0"});
    EXPECT_EQ(h.page->CrossoverHz(), 300) << "a file's band 0 does not move the crossover";
    EXPECT_EQ(h.page->Model().band.freq[0], 300) << "band 0 stays on the crossover after the load";
    EXPECT_TRUE(h.parent->notices.empty()) << "code-set values notify nobody";
}

}  // namespace
