#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>

#include "controls/notices.h"
#include "pages/channel_preset.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
using V = std::vector<std::string>;
using S = Notices;

namespace {

TEST(MusicPage, FramesAtResetThenFollowUpAt24dbAnd12dbAndBackTo24db) {
    Harness<PageMusic> h;
    // clang-format off
    EXPECT_EQ((V{h.Band(0), h.Band(1), h.Band(8), h.Band(9)}), (V{"A5 11 F1 0A 03 00 12 50 5F 14 00 46 00 03 00 00 D2",
        "A5 11 F1 0A 03 01 13 00 64 50 00 64 00 03 00 00 E3", "A5 11 F1 0A 03 08 12 A0 5A 20 4E 46 00 03 00 00 7F", "none"}));
    // clang-format on
    EXPECT_EQ(h.page->CheckedInput(), 0);
    // band 0 carries the slope; its follow-up rewrites band 8: the high-pass at 24db, flat at 12db
    h.Drag(1078, 120);
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(0, kTypeHighPass)}}));
    auto frame = *h.page->BuildBandCmd(0);
    EXPECT_EQ(h.page->FollowUpBandCmd(frame), 1);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 12 50 5F 78 00 46 00 03 00 05 43");
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, kMaxFreq, notice::PackBandType(8, kTypeOff)}}))
        << "the second section is off at 12db";
    EXPECT_EQ(h.page->Model().band.enabled[8], 0) << "band 8 disabled";
    h.Choose(1439, 1);
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(8, kTypeHighPass)}}));
    const auto band8 = *h.page->BuildBandCmd(8);
    EXPECT_EQ(std::pair(band8[6] & 1, band8[16]), std::pair(1, band8.CheckSum()));
    frame = *h.page->BuildBandCmd(0);
    EXPECT_EQ(Hex(frame, 9), "A5 11 F1 0A 03 00 13 A0 5A");
    h.page->FollowUpBandCmd(frame);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 13 A0 5A 78 00 46 00 03 00 05 8F");
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(8, kTypeHighPass)}}));
    EXPECT_EQ(h.State(8), std::tuple(120, kTypeHighPass, 1));
}

TEST(MusicPage, InputButtonsAndReadBackSetters) {
    Harness<PageMusic> h;
    h.page->InputButton(3)->click();
    EXPECT_EQ(h.page->Control(1182), h.page->InputButton(3));
    EXPECT_EQ(h.Take(), (S{{notice::kMusicInput, 0, 0}}));
    auto input = [&] { return std::pair(h.page->CheckedInput(), h.page->MusicInput()); };
    EXPECT_EQ(input(), std::pair(3, 3));
    h.page->ShowMusicInput(7);  // "no input" shown, the stored input kept
    EXPECT_EQ(input(), std::pair(-1, 3));
    h.page->SetMusicInput(2);
    EXPECT_EQ(input(), std::pair(2, 2));
    h.page->SetMusicInput(9);
    EXPECT_EQ(input(), std::pair(2, 2));
    h.page->ApplyDeviceInput(1);  // the processor's input: stored and shown
    EXPECT_EQ(input(), std::pair(1, 1));
    h.page->ApplyDeviceInput(7);  // none shown, the processor's value kept
    EXPECT_EQ(input(), std::pair(-1, 7));
    ZemCmd::EqFrame f;
    const auto& band = h.page->Model().band;
    for (auto [code, item] : {std::pair{5, 1}, {0, 0}}) {
        h.page->SetHighPass(8, 150);  // band 8 as a "24db" read-back leaves it
        f[15] = static_cast<std::uint8_t>(code);
        h.page->SetSlopeFromCmd(f);
        EXPECT_EQ(h.page->SlopeItem(), item);
        EXPECT_EQ(band.type[8], item ? kTypeHighPass : kTypeOff) << "slope item " << item;
        EXPECT_EQ(band.freq[8], item ? 150 : 20000) << "slope item " << item;
    }
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(MusicPage, PresetTextAndRoundTrip) {
    Harness<PageMusic> h;
    EXPECT_EQ(h.page->SaveText().rfind("[music type]\n0\n\n[music eq]\n", 0), 0u);
    h.page->SetMusicInput(4);
    h.page->SetHighPass(0, 150);
    h.page->SetHighPass(8, 150);
    h.Choose(1439, 1);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->SetMusicInput(0);
    h.Choose(1439, 0);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_EQ(std::pair(h.page->SlopeItem(), h.page->CheckedInput()), std::pair(1, 4));
    // A type outside 0..4 changes nothing; a high-pass beyond the slider is clamped into band 0.
    h.page->LoadText({"[MUSIC TYPE]", "7", "[music eq]", "900,-2400,70,4", "80,0,100,1", "440,0,100,1",
                      "960,0,100,1", "2700,0,100,1", "4300,0,100,1", "8000,0,100,1", "10000,0,100,1",
                      "20000,-2400,70,0", "0"});
    EXPECT_EQ(std::tuple(h.page->MusicInput(), *h.page->SliderPos(1078), h.page->Model().band.freq[0],
                         h.page->SlopeItem()),
              std::tuple(4, 300, 300, 0));
}

TEST(MicPage, FramesAtResetNoticesAndLanguage) {
    Harness<PageMic> h;
    // clang-format off
    EXPECT_EQ((V{h.Band(0), h.Band(1), h.Band(16), h.Band(17), Hex(h.page->BuildAlcCmd()), Hex(h.page->BuildFbcCmd()),
                 Hex(h.page->BuildNoiseGateCmd())}),
              (V{"A5 11 F1 0A 05 00 22 A0 5A 14 00 46 00 01 00 00 2D", "A5 11 F1 0A 05 01 23 00 64 32 00 64 00 01 00 00 D5",
                 "A5 11 F1 0A 05 10 22 00 64 20 4E 64 00 01 00 00 1F", "none", "A5 0E F1 18 02 01 01 32 00 64 00 54 05 AF",
                 "A5 0B F1 08 02 00 03 64 0A 00 1C", "A5 0F F1 12 00 02 00 00 00 00 CC 0C CC 0C 69"}));
    // clang-format on
    ZemCmd::EqFrame f = *h.page->BuildBandCmd(0);
    EXPECT_EQ(h.page->FollowUpBandCmd(f), 1);
    EXPECT_EQ(Hex(f), h.Band(0));
    h.Choose(1432, 2);
    EXPECT_EQ(h.Take(), (S{{notice::kFbc, 0, 0}})) << "the mode choice notifies";
    EXPECT_EQ(Hex(h.page->BuildFbcCmd()), "A5 0B F1 08 02 01 03 64 04 00 17") << "the FBC frame";
    h.page->SetLanguage(0);  // the mode list is refilled, not appended to
    auto* combo = qobject_cast<QComboBox*>(h.page->Control(1432));
    EXPECT_EQ(std::tuple(combo->count(), combo->currentIndex(), combo->currentText()),
              std::tuple(4, 2, QString::fromUtf8("模式2")));
    h.page->SetFbcMode(9);
    EXPECT_EQ(std::pair(h.page->FbcMode(), h.parent->notices.empty()), std::pair(3, true));
}

TEST(MicPage, PresetSections) {
    Harness<PageMic> h;
    h.page->LoadText({"[mic fbc]", "1,100,4,0", "[mic noise gate]", "-60,-20"});
    EXPECT_EQ(std::pair(h.page->FbcMode(), Hex(h.page->BuildNoiseGateCmd())),
              std::pair(2, std::string("A5 0F F1 12 01 02 20 00 20 00 CC 0C CC 0C AA")));
    h.page->LoadText({"[mic fbc]", "1,100,10,0", "[mic noise gate]", "-50,-30,-1"});  // three pieces: skipped
    EXPECT_EQ(std::pair(h.page->FbcMode(), *h.page->SliderPos(1090)), std::pair(0, -60));
    h.page->SetFbcMode(3);
    h.page->SetSliderPos(1091, -80);
    h.page->SetSliderPos(1081, 32);
    h.page->SetBandQ(5, 2.5f);
    const std::string saved = h.page->SaveText();
    EXPECT_NE(saved.find("\n[mic fbc]\n1,100,1,0\n"), std::string::npos);
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(std::pair(h.page->SaveText(), h.parent->notices.empty()), std::pair(saved, true));
}

}  // namespace
