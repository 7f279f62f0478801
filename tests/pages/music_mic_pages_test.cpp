#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>

#include "pages/channel_preset.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "tests/pages/hex.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;

namespace {

void Choose(QWidget* page, int comboId, int item) {
    auto* combo = qobject_cast<QComboBox*>(win::FindControl(page, comboId));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(item);
    emit combo->activated(item);
}

TEST(MusicPage, FramesAtReset) {
    Harness<PageMusic> h;
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(0)), "A5 11 F1 0A 03 00 12 50 5F 14 00 46 00 03 00 00 D2");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(1)), "A5 11 F1 0A 03 01 13 00 64 50 00 64 00 03 00 00 E3");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(8)), "A5 11 F1 0A 03 08 12 A0 5A 20 4E 46 00 03 00 00 7F");
    EXPECT_FALSE(h.page->BuildBandCmd(9).has_value());
    EXPECT_EQ(h.page->Label(1084)->value, "OFF");
    EXPECT_EQ(h.page->CheckedInput(), 0);
}

TEST(MusicPage, FollowUpAt24db) {
    Harness<PageMusic> h;
    Choose(h.page, 1439, 1);
    h.Drag(1078, 120);
    auto frame = *h.page->BuildBandCmd(0);
    EXPECT_EQ(Hex(frame, 9), "A5 11 F1 0A 03 00 13 A0 5A");
    h.parent->sent.clear();
    EXPECT_EQ(h.page->FollowUpBandCmd(frame), 1);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 13 A0 5A 78 00 46 00 03 00 05 8F");
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47A, 120, 0x80004}}));
    const auto& band = h.page->Model().band;
    EXPECT_EQ(band.freq[8], 120);
    EXPECT_EQ(band.type[8], 4);
    EXPECT_EQ(band.enabled[8], 1);
}

TEST(MusicPage, FollowUpAt12dbThenBackTo24db) {
    Harness<PageMusic> h;
    h.Drag(1078, 120);
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47A, 120, 4}}));
    auto frame = *h.page->BuildBandCmd(0);
    h.parent->sent.clear();
    h.page->FollowUpBandCmd(frame);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 12 50 5F 78 00 46 00 03 00 05 43");
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47A, 20000, 0x80000}}));
    EXPECT_EQ(h.page->Model().band.enabled[8], 0);
    h.parent->sent.clear();
    Choose(h.page, 1439, 1);
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47A, 120, 0x80004}}));
    const auto band8 = *h.page->BuildBandCmd(8);
    EXPECT_EQ(band8[6] & 1, 1);
    EXPECT_EQ(band8[16], band8.CheckSum());
}

TEST(MusicPage, InputButtons) {
    Harness<PageMusic> h;
    h.page->InputButton(3)->click();
    EXPECT_EQ(h.page->MusicInput(), 3);
    EXPECT_EQ(h.page->Control(1182), h.page->InputButton(3));
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47C, 0, 0}}));
    h.parent->sent.clear();
    h.page->ShowMusicInput(7);
    EXPECT_EQ(h.page->CheckedInput(), -1);
    EXPECT_EQ(h.page->MusicInput(), 3);
    h.page->SetMusicInput(2);
    EXPECT_EQ(h.page->CheckedInput(), 2);
    EXPECT_EQ(h.page->MusicInput(), 2);
    h.page->SetMusicInput(9);
    EXPECT_EQ(h.page->MusicInput(), 2);
    EXPECT_TRUE(h.parent->sent.empty());
}

TEST(MusicPage, PresetTextAndRoundTrip) {
    Harness<PageMusic> h;
    EXPECT_EQ(h.page->SaveText().rfind("[music type]\n0\n\n[music eq]\n", 0), 0u);
    h.page->SetMusicInput(4);
    h.page->SetHighPass(0, 150);
    h.page->SetHighPass(8, 150);
    Choose(h.page, 1439, 1);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->SetMusicInput(0);
    Choose(h.page, 1439, 0);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_EQ(h.page->SlopeItem(), 1);
    EXPECT_EQ(h.page->CheckedInput(), 4);
    // A type outside 0..4 changes nothing; a high-pass beyond the slider is clamped into band 0.
    h.page->LoadText({"[MUSIC TYPE]", "7", "[music eq]", "900,-2400,70,4", "80,0,100,1", "440,0,100,1",
                      "960,0,100,1", "2700,0,100,1", "4300,0,100,1", "8000,0,100,1", "10000,0,100,1",
                      "20000,-2400,70,0", "0"});
    EXPECT_EQ(h.page->MusicInput(), 4);
    EXPECT_EQ(*h.page->SliderPos(1078), 300);
    EXPECT_EQ(h.page->Model().band.freq[0], 300);
    EXPECT_EQ(h.page->SlopeItem(), 0);
}

TEST(MusicPage, SlopeFromReadBack) {
    Harness<PageMusic> h;
    ZemCmd::EqFrame f;
    f[15] = 5;
    h.page->SetSlopeFromCmd(f);
    EXPECT_EQ(h.page->SlopeItem(), 1);
    f[15] = 0;
    h.page->SetSlopeFromCmd(f);
    EXPECT_EQ(h.page->SlopeItem(), 0);
    EXPECT_TRUE(h.parent->sent.empty());
}

TEST(MicPage, FramesAtReset) {
    Harness<PageMic> h;
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(0)), "A5 11 F1 0A 05 00 22 A0 5A 14 00 46 00 01 00 00 2D");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(1)), "A5 11 F1 0A 05 01 23 00 64 32 00 64 00 01 00 00 D5");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(16)), "A5 11 F1 0A 05 10 22 00 64 20 4E 64 00 01 00 00 1F");
    EXPECT_FALSE(h.page->BuildBandCmd(17).has_value());
    EXPECT_EQ(Hex(h.page->BuildAlcCmd()), "A5 0E F1 18 02 01 01 32 00 64 00 54 05 AF");
    EXPECT_EQ(Hex(h.page->BuildFbcCmd()), "A5 0B F1 08 02 00 03 64 0A 00 1C");
    EXPECT_EQ(Hex(h.page->BuildNoiseGateCmd()), "A5 0F F1 12 00 02 00 00 00 00 CC 0C CC 0C 69");
    ZemCmd::EqFrame f = *h.page->BuildBandCmd(0);
    const auto before = Hex(f);
    EXPECT_EQ(h.page->FollowUpBandCmd(f), 1);
    EXPECT_EQ(Hex(f), before);
}

TEST(MicPage, NoticesAndLanguage) {
    Harness<PageMic> h;
    h.Drag(1078, 120);
    h.Drag(1083, 0);
    Choose(h.page, 1432, 2);
    EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{0x47A, 120, 4}, {0x46D, 0, 0}, {0x46E, 0, 0}}));
    EXPECT_EQ(h.page->Label(1084)->value, "120Hz");
    EXPECT_EQ(Hex(h.page->BuildFbcCmd()), "A5 0B F1 08 02 01 03 64 04 00 17");
    h.parent->sent.clear();
    h.page->SetLanguage(0);
    auto* combo = qobject_cast<QComboBox*>(h.page->Control(1432));
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("模式2"));
    h.page->SetFbcMode(9);
    EXPECT_EQ(h.page->FbcMode(), 3);
    EXPECT_TRUE(h.parent->sent.empty());
}

TEST(MicPage, PresetSections) {
    Harness<PageMic> h;
    h.page->LoadText({"[mic fbc]", "1,100,4,0", "[mic noise gate]", "-60,-20"});
    EXPECT_EQ(h.page->FbcMode(), 2);
    EXPECT_EQ(Hex(h.page->BuildNoiseGateCmd()), "A5 0F F1 12 01 02 20 00 20 00 CC 0C CC 0C AA");
    h.page->LoadText({"[mic fbc]", "1,100,10,0", "[mic noise gate]", "-50,-30,-1"});
    EXPECT_EQ(h.page->FbcMode(), 0);
    EXPECT_EQ(*h.page->SliderPos(1090), -60);
    h.page->LoadText({"[mic fbc]", "0,100,7,0"});
    EXPECT_EQ(h.page->FbcMode(), 0);
    // Round trip at distinctive values.
    h.page->SetFbcMode(3);
    h.page->SetSliderPos(1091, -80);
    h.page->SetSliderPos(1081, 32);
    h.page->SetBandQ(5, 2.5f);
    const std::string saved = h.page->SaveText();
    EXPECT_NE(saved.find("\n[mic fbc]\n1,100,1,0\n"), std::string::npos);
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_TRUE(h.parent->sent.empty());
}

}  // namespace
