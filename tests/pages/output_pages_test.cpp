#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>

#include "pages/channel_output_page.h"
#include "pages/channel_preset.h"
#include "pages/page_bass_out.h"
#include "pages/page_main_out.h"
#include "pages/page_mid_out.h"
#include "pages/page_sub_out.h"
#include "tests/pages/hex.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;

namespace {

template <class P>
void ExpectResetFrames(const char* b0, const char* b1, const char* last, const char* alc) {
    Harness<P> h;
    const int n = h.page->GetBandCount();
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(0)), b0);
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(1)), b1);
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(n - 1)), last);
    EXPECT_FALSE(h.page->BuildBandCmd(n).has_value());
    EXPECT_FALSE(h.page->BuildBandCmd(-1).has_value());
    EXPECT_EQ(Hex(h.page->BuildAlcCmd()), alc);
}

TEST(OutputPages, FramesAtReset) {
    ExpectResetFrames<PageMainOut>("A5 11 F1 0A 09 00 0E A0 5A 14 00 46 00 03 00 00 1F",
                                   "A5 11 F1 0A 09 01 0F 00 64 C8 00 64 00 03 00 00 5D",
                                   "A5 11 F1 0A 09 06 0E A0 5A 20 4E 46 00 03 00 00 7F",
                                   "A5 0E F1 18 04 00 00 32 00 64 00 54 05 AF");
    ExpectResetFrames<PageMidOut>("A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 04 00 00 1C",
                                  "A5 11 F1 0A 09 01 0B 00 64 50 00 64 00 04 00 00 E2",
                                  "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 04 00 00 7A",
                                  "A5 0E F1 18 04 00 03 32 00 64 00 54 05 B2");
    ExpectResetFrames<PageSubOut>("A5 11 F1 0A 09 00 0A A0 5A 14 00 46 00 30 00 00 48",
                                  "A5 11 F1 0A 09 01 0B 00 64 64 00 64 00 30 00 00 22",
                                  "A5 11 F1 0A 09 04 0A A0 5A 20 4E 46 00 30 00 00 A6",
                                  "A5 0E F1 18 04 00 04 32 00 64 00 54 05 B3");
    // Subwoofer: band 0 is the crossover low-pass at 100 Hz with the Q of "12db"; band 4 is flat.
    ExpectResetFrames<PageBassOut>("A5 11 F1 0A 09 00 0B A0 5A 64 00 32 00 08 00 04 61",
                                   "A5 11 F1 0A 09 01 0B 00 64 19 00 64 00 08 00 00 AF",
                                   "A5 11 F1 0A 09 04 0A 00 64 20 4E 46 00 08 00 00 E8",
                                   "A5 0E F1 18 04 00 02 32 00 64 00 54 05 B1");
}

TEST(OutputPages, UserMovesNotifyOnceAndCodeSetsNever) {
    Harness<PageMainOut> h;
    struct {
        int id, pos;
        unsigned notice;
    } moves[] = {{1273, 10, 0x46C}, {1274, 20, 0x46C},  {1101, 80, 0x472},
                 {1084, 90, 0x473}, {1085, 100, 0x474}, {1102, 110, 0x475}};
    for (const auto& m : moves) {
        h.parent->sent.clear();
        h.Drag(m.id, m.pos);
        EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{m.notice, 0, 0}})) << m.id;
        EXPECT_EQ(*h.page->SliderPos(m.id), m.pos);
    }
    h.parent->sent.clear();
    h.page->SetDirectVolume(7);
    h.page->SetEchoVolume(8);
    h.page->SetReverbVolume(300);
    h.page->SetMuteBits(3);
    h.page->ResetAll(true);
    h.page->SetLanguage(4);
    EXPECT_TRUE(h.parent->sent.empty());
}

TEST(OutputPages, SettersShowTheirLabels) {
    Harness<PageMidOut> h;
    h.page->SetDirectVolume(7);
    h.page->SetEchoVolume(8);
    h.page->SetReverbVolume(300);
    EXPECT_EQ(h.page->Label(1093)->value, "7%");
    EXPECT_EQ(h.page->Label(1094)->value, "8%");
    EXPECT_EQ(h.page->Label(1100)->value, "200%");
    EXPECT_EQ(h.page->Label(1093)->caption, "Direct sound Volume:");
}

TEST(OutputPages, MuteButtonsToggleBitsAndFaces) {
    Harness<PageSubOut> h;
    QAbstractButton* left = h.page->MuteButton(0);
    QAbstractButton* right = h.page->MuteButton(1);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left, h.page->Control(1428));
    EXPECT_EQ(right, h.page->Control(1429));
    EXPECT_EQ(left->text(), "Mute");
    right->click();
    EXPECT_EQ(h.page->MuteBits(), 2);
    EXPECT_EQ(chan::ButtonFace(right), chan::kMutedFace);
    EXPECT_EQ(chan::ButtonFace(left), chan::kUnmutedFace);
    EXPECT_EQ(right->palette().color(QPalette::Button), QColor(153, 217, 234));
    right->click();
    EXPECT_EQ(h.page->MuteBits(), 0);
    EXPECT_EQ(chan::ButtonFace(right), chan::kUnmutedFace);
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47D, 0, 0}, {0x47D, 0, 0}}));
}

TEST(OutputPages, MuteFromFileIsMaskedToThePage) {
    Harness<PageMidOut> h;
    h.page->LoadText({"[MID MUTE]", "7"});
    EXPECT_EQ(h.page->MuteBits(), 1);
    Harness<PageSubOut> s;
    s.page->LoadText({"[surround mute]", "2"});
    EXPECT_EQ(s.page->MuteBits(), 2);
    EXPECT_EQ(chan::ButtonFace(s.page->MuteButton(0)), chan::kUnmutedFace);
    EXPECT_EQ(chan::ButtonFace(s.page->MuteButton(1)), chan::kMutedFace);
    s.page->LoadText({"x", "[surround mute]"});
    EXPECT_EQ(s.page->MuteBits(), 2);
}

TEST(OutputPages, LimiterFromFile) {
    Harness<PageMainOut> h;
    h.page->LoadText({"[MAIN ALC]", "10,30,4,50", "[main alc]", "1,2,3,4,5"});
    EXPECT_EQ(Hex(h.page->BuildAlcCmd(), 13), "A5 0E F1 18 04 00 00 1E 00 78 00 4A 32");
    EXPECT_EQ(h.page->Label(1088)->value, "Atk x 4");
    h.page->LoadText({"[main alc]", "100,0,0,0"});
    EXPECT_EQ(*h.page->SliderPos(1083), 20);
    EXPECT_EQ(*h.page->SliderPos(1080), 1);
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

TEST(OutputPages, PresetRoundTrip) {
    RoundTrip<PageMainOut>(+[](PageMainOut& p) {
        p.SetSliderPos(1083, -34);
        p.SetSliderPos(1080, 90);
        p.SetSliderPos(1081, 32);
        p.SetSliderPos(1082, 0);
        p.SetMuteBits(3);
        p.SetBandFreqGain(3, 1500, -3.5f);
    });
    RoundTrip<PageMidOut>(+[](PageMidOut& p) {
        p.SetSliderPos(1081, 7);
        p.SetMuteBits(1);
    });
    RoundTrip<PageSubOut>(+[](PageSubOut& p) {
        p.SetSliderPos(1082, 99);
        p.SetMuteBits(2);
    });
    RoundTrip<PageBassOut>(+[](PageBassOut& p) {
        p.ApplyCrossover(80, -12, 4, 0.7f);
        p.SetSliderPos(1083, 0);
        p.SetMuteBits(1);
    });
}

TEST(OutputPages, FreshMainPageText) {
    Harness<PageMainOut> h;
    const std::string t = h.page->SaveText();
    EXPECT_EQ(t.rfind("[main eq]\n", 0), 0u);
    EXPECT_NE(t.find("\n\n[main alc]\n20,50,2,5\n\n[main mute]\n0\n"), std::string::npos);
}

TEST(BassPage, SlopeSequence) {
    Harness<PageBassOut> h;
    auto* combo = qobject_cast<QComboBox*>(h.page->Control(1441));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    h.parent->sent.clear();
    h.Drag(1278, 150);
    EXPECT_EQ(h.parent->sent,
              (std::vector<Sent>{{0x47E, 0, 0}, {0x46A, 4, 5}, {0x46B, 4, 150}, {0x47E, 0, 0}}));
    const auto& band = h.page->Model().band;
    EXPECT_EQ(band.freq[0], 150);
    EXPECT_EQ(band.type[0], 5);
    EXPECT_EQ(band.freq[4], 150);
    EXPECT_EQ(band.type[4], 5);
    EXPECT_FLOAT_EQ(band.q[0], 0.7f);
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()), "A5 11 F1 0A 09 00 0B 50 5F 96 00 46 00 08 00 04 00");
    h.parent->sent.clear();
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x46A, 4, 0}, {0x46B, 4, 20000}, {0x47E, 0, 0}}));
    EXPECT_FLOAT_EQ(band.q[0], 0.5f);
    EXPECT_EQ(band.freq[4], 20000);
    EXPECT_EQ(band.type[4], 0);
    h.Drag(1278, 300);
    EXPECT_EQ(Hex(h.page->BuildCrossoverCmd()), "A5 11 F1 0A 09 00 0B 00 64 2C 01 32 00 08 00 04 00");
}

TEST(BassPage, ResetExportsAs12db) {
    Harness<PageBassOut> h;
    const std::string saved = h.page->SaveText();
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SlopeItem(), 0);
    EXPECT_EQ(h.page->Label(1280)->value, "100Hz");
}

TEST(BassPage, ApplyCrossover) {
    Harness<PageBassOut> h;
    h.page->ApplyCrossover(80, -12, 4, 0.7f);
    const auto& band = h.page->Model().band;
    EXPECT_EQ(h.page->CrossoverHz(), 80);
    EXPECT_EQ(h.page->SlopeItem(), 1);
    EXPECT_EQ(band.freq[4], 80);
    EXPECT_EQ(band.type[4], 5);
    EXPECT_FLOAT_EQ(band.gain[4], 0.0f);
    EXPECT_EQ(band.type[0], 5);
    h.page->ApplyCrossover(150, 0, 4, 0.5f);
    EXPECT_EQ(h.page->CrossoverHz(), 300);
    EXPECT_EQ(band.freq[0], 300);
    EXPECT_EQ(h.page->SlopeItem(), 0);
    EXPECT_EQ(band.freq[4], 20000);
    EXPECT_EQ(band.type[4], 0);
    h.page->LoadText(
        {"[bass eq]", "500,-2400,50,5", "25,0,100,1", "60,0,100,1", "160,0,100,1", "20000,0,70,0", "0"});
    EXPECT_EQ(h.page->CrossoverHz(), 300);
    EXPECT_EQ(band.freq[0], 300);
    EXPECT_TRUE(h.parent->sent.empty());
}

}  // namespace
