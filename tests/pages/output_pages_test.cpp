#include <gtest/gtest.h>

#include <QAbstractButton>

#include "controls/notices.h"
#include "pages/channel_output_page.h"
#include "pages/channel_preset.h"
#include "pages/page_bass_out.h"
#include "pages/page_main_out.h"
#include "pages/page_mid_out.h"
#include "pages/page_sub_out.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
using V = std::vector<std::string>;
using S = Notices;

namespace {

template <class P>
V ResetFrames() {
    Harness<P> h;
    const int n = h.page->GetBandCount();
    return {h.Band(0), h.Band(1), h.Band(n - 1), h.Band(n), h.Band(-1), Hex(h.page->BuildAlcCmd())};
}

TEST(OutputPages, FramesAtReset) {
    // clang-format off
    EXPECT_EQ(ResetFrames<PageMainOut>(), (V{"A5 11 F1 0A 09 00 0E A0 5A 14 00 46 00 03 00 00 1F",
        "A5 11 F1 0A 09 01 0F 00 64 C8 00 64 00 03 00 00 5D", "A5 11 F1 0A 09 06 0E A0 5A 20 4E 46 00 03 00 00 7F",
        "none", "none", "A5 0E F1 18 04 00 00 32 00 64 00 54 05 AF"}));
    EXPECT_EQ(ResetFrames<PageMidOut>(), (V{"A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 04 00 00 1C",
        "A5 11 F1 0A 09 01 0B 00 64 50 00 64 00 04 00 00 E2", "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 04 00 00 7A",
        "none", "none", "A5 0E F1 18 04 00 03 32 00 64 00 54 05 B2"}));
    EXPECT_EQ(ResetFrames<PageSubOut>(), (V{"A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 30 00 00 48",
        "A5 11 F1 0A 09 01 0B 00 64 64 00 64 00 30 00 00 22", "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 30 00 00 A6",
        "none", "none", "A5 0E F1 18 04 00 04 32 00 64 00 54 05 B3"}));
    // Subwoofer: band 0 is the crossover low-pass at 100 Hz with the Q of "12db"; band 4 is flat.
    EXPECT_EQ(ResetFrames<PageBassOut>(), (V{"A5 11 F1 0A 09 00 0B A0 5A 64 00 32 00 08 00 04 61",
        "A5 11 F1 0A 09 01 0B 00 64 19 00 64 00 08 00 00 AF", "A5 11 F1 0A 09 04 0A 00 64 20 4E 46 00 08 00 00 E8",
        "none", "none", "A5 0E F1 18 04 00 02 32 00 64 00 54 05 B1"}));
    // clang-format on
}

TEST(OutputPages, UserMoveNotifiesOnceCodeSetsNeverAndLimiterFromFile) {
    Harness<PageMainOut> h;
    h.Drag(1273, 10);
    EXPECT_EQ(h.Take(), (S{{notice::kDelays, 0, 0}}));
    h.page->SetDirectVolume(7);
    h.page->SetEchoVolume(8);
    h.page->SetReverbVolume(300);
    const V labels{h.page->Label(1093)->value, h.page->Label(1094)->value, h.page->Label(1100)->value};
    EXPECT_EQ(labels, (V{"7%", "8%", "200%"}));
    h.page->SetMuteBits(3);
    h.page->ResetAll(true);
    h.page->SetLanguage(4);
    h.page->LoadText({"[MAIN ALC]", "10,30,4,50", "[main alc]", "1,2,3,4,5"});
    EXPECT_EQ(
        std::tuple(Hex(h.page->BuildAlcCmd(), 13), h.page->Label(1088)->value, h.parent->notices.empty()),
        std::tuple(std::string("A5 0E F1 18 04 00 00 1E 00 78 00 4A 32"), std::string("Atk x 4"), true));
}

TEST(OutputPages, MuteButtonsToggleBitsAndFacesAndFilesAreMasked) {
    Harness<PageSubOut> h;
    QAbstractButton* left = h.page->MuteButton(0);
    QAbstractButton* right = h.page->MuteButton(1);
    ASSERT_TRUE(left && right);
    EXPECT_EQ((std::tuple<QWidget*, QWidget*, QString>(left, right, left->text())),
              std::tuple(h.page->Control(1428), h.page->Control(1429), QString("Mute")));
    auto faces = [&] {
        return std::tuple(h.page->MuteBits(), chan::ButtonFace(left), chan::ButtonFace(right));
    };
    right->click();
    EXPECT_EQ(std::pair(faces(), right->palette().color(QPalette::Button)),
              std::pair(std::tuple(2, chan::kUnmutedFace, chan::kMutedFace), QColor(153, 217, 234)));
    right->click();
    EXPECT_EQ(faces(), std::tuple(0, chan::kUnmutedFace, chan::kUnmutedFace));
    EXPECT_EQ(h.Take(), (S{{notice::kMutes, 0, 0}, {notice::kMutes, 0, 0}}));
    h.page->LoadText({"[surround mute]", "6"});
    EXPECT_EQ(faces(), std::tuple(2, chan::kUnmutedFace, chan::kMutedFace));
    h.page->LoadText({"x", "[surround mute]"});
    Harness<PageMidOut> mid;
    mid.page->LoadText({"[MID MUTE]", "7"});
    EXPECT_EQ(std::pair(h.page->MuteBits(), mid.page->MuteBits()), std::pair(2, 1));
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
        for (auto [id, pos] : {std::pair{1083, -34}, {1080, 90}, {1081, 32}, {1082, 0}})
            p.SetSliderPos(id, pos);
        p.SetMuteBits(3);
        p.SetBandFreqGain(3, 1500, -3.5f);
    });
    RoundTrip<PageMidOut>(+[](PageMidOut& p) { p.SetSliderPos(1081, 7), p.SetMuteBits(1); });
    RoundTrip<PageSubOut>(+[](PageSubOut& p) { p.SetSliderPos(1082, 99), p.SetMuteBits(2); });
    RoundTrip<PageBassOut>(+[](PageBassOut& p) {
        p.ApplyCrossover(80, -12, 4, 0.7f);
        p.SetSliderPos(1083, 0);
        p.SetMuteBits(1);
    });
}

TEST(BassPage, SlopeSequenceAndResetExportsAs12db) {
    Harness<PageBassOut> h;
    h.page->LoadText(chan::NonEmptyLines(h.page->SaveText()));  // the reset Q reads back as "12db"
    EXPECT_EQ(std::pair(h.page->SlopeItem(), h.page->Label(1280)->value), std::pair(0, std::string("100Hz")));
    h.Choose(1441, 1);
    h.Take();
    h.Drag(1278, 150);
    EXPECT_EQ(h.Take(), (S{{notice::kCrossover, 0, 0},
                           {notice::kBandType, 4, kTypeLowPass},
                           {notice::kBandFreq, 4, 150},
                           {notice::kCrossover, 0, 0}}));
    EXPECT_EQ(h.State(0), std::tuple(150, kTypeLowPass, 1)) << "band 0: the crossover";
    EXPECT_EQ(h.State(4), std::tuple(150, kTypeLowPass, 1)) << "band 4: the second section at 24db";
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()),
              "A5 11 F1 0A 09 00 0B 50 5F 96 00 46 00 08 00 04 00");  // Q 0.7
    h.Choose(1441, 0);
    EXPECT_EQ(
        h.Take(),
        (S{{notice::kBandType, 4, kTypeOff}, {notice::kBandFreq, 4, kMaxFreq}, {notice::kCrossover, 0, 0}}))
        << "12db turns the low-pass section off";
    EXPECT_EQ(h.State(4), std::tuple(kMaxFreq, kTypeOff, 1)) << "band 4: frequency, type, enabled";
    h.Drag(1278, 300);
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()),
              "A5 11 F1 0A 09 00 0B 00 64 2C 01 32 00 08 00 04 00");  // Q 0.5
}

TEST(BassPage, ApplyCrossover) {
    Harness<PageBassOut> h;
    h.page->ApplyCrossover(80, -12, 4, 0.7f);
    EXPECT_EQ(h.page->CrossoverHz(), 80) << "crossover";
    EXPECT_EQ(h.page->SlopeItem(), 1) << "slope 24db";
    EXPECT_EQ(h.page->Model().band.type[0], kTypeLowPass) << "band 0 type";
    EXPECT_EQ(h.State(4), std::tuple(80, kTypeLowPass, 1)) << "band 4 follows";
    EXPECT_EQ(h.page->Model().band.gain[4], 0.0f) << "band 4 gain";
    EXPECT_EQ(h.page->Model().band.freq[0], 80) << "the preset file would write another crossover";
    h.page->ApplyCrossover(150, 0, 4, 0.5f);  // 12db: band 4 goes flat too
    EXPECT_EQ(std::tuple(h.page->CrossoverHz(), h.page->SlopeItem(), h.page->Model().band.freq[0]),
              std::tuple(300, 0, 300));
    EXPECT_EQ(h.State(4), std::tuple(kMaxFreq, kTypeOff, 1)) << "band 4 flat at 12db";
    h.page->LoadText(
        {"[bass eq]", "500,-2400,50,5", "25,0,100,1", "60,0,100,1", "160,0,100,1", "20000,0,70,0", "0"});
    EXPECT_EQ(std::pair(h.page->CrossoverHz(), h.page->Model().band.freq[0]), std::pair(300, 300));
    EXPECT_TRUE(h.parent->notices.empty());
}

}  // namespace
