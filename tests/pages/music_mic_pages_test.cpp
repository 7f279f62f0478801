#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>

#include "controls/notices.h"
#include "pages/channel_preset.h"
#include "pages/channel_sliders.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
using V = std::vector<std::string>;
using S = Notices;

namespace {

namespace id = chan::id;
constexpr int kMusicInputFour = 1182;  // the fourth input radio button

template <class P>
void ExpectInput(const Harness<P>& h, int checked, int stored, const char* when) {
    EXPECT_EQ(h.page->CheckedInput(), checked) << when << ": the checked input button";
    EXPECT_EQ(h.page->MusicInput(), stored) << when << ": the stored input";
}

TEST(MusicPage, FramesAtResetThenFollowUpAt24dbAnd12dbAndBackTo24db) {
    Harness<PageMusic> h;
    // clang-format off
    ExpectFrames({{"band 0", h.Band(0), "A5 11 F1 0A 03 00 12 50 5F 14 00 46 00 03 00 00 D2"},
                  {"band 1", h.Band(1), "A5 11 F1 0A 03 01 13 00 64 50 00 64 00 03 00 00 E3"},
                  {"band 8", h.Band(8), "A5 11 F1 0A 03 08 12 A0 5A 20 4E 46 00 03 00 00 7F"},
                  {"band 9, past the page", h.Band(9), "none"}});
    // clang-format on
    EXPECT_EQ(h.page->CheckedInput(), 0);
    // band 0 carries the slope; its follow-up rewrites band 8: the high-pass at 24db, flat at 12db
    h.Drag(id::kHighPass, 120);
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(0, kTypeHighPass)}}));
    auto frame = *h.page->BuildBandCmd(0);
    EXPECT_EQ(h.page->FollowUpBandCmd(frame), 1);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 12 50 5F 78 00 46 00 03 00 05 43");
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, kMaxFreq, notice::PackBandType(8, kTypeOff)}}))
        << "the second section is off at 12db";
    EXPECT_EQ(h.page->Model().band.enabled[8], 0) << "band 8 disabled";
    h.Choose(pageid::kMusicSlopeCombo, 1);
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(8, kTypeHighPass)}}));
    const auto band8 = *h.page->BuildBandCmd(8);
    EXPECT_EQ(band8[6] & 1, 1) << "band 8 frame: enabled bit";
    EXPECT_EQ(band8[16], band8.CheckSum()) << "band 8 frame: checksum";
    frame = *h.page->BuildBandCmd(0);
    EXPECT_EQ(Hex(frame, 9), "A5 11 F1 0A 03 00 13 A0 5A");
    h.page->FollowUpBandCmd(frame);
    EXPECT_EQ(Hex(frame), "A5 11 F1 0A 03 08 13 A0 5A 78 00 46 00 03 00 05 8F");
    EXPECT_EQ(h.Take(), (S{{notice::kPassBand, 120, notice::PackBandType(8, kTypeHighPass)}}));
    h.ExpectBand(8, 120, kTypeHighPass, 1, "after the follow-up at 24db");
}

TEST(MusicPage, InputButtonsAndReadBackSetters) {
    Harness<PageMusic> h;
    h.page->InputButton(3)->click();
    EXPECT_EQ(h.page->Control(kMusicInputFour), h.page->InputButton(3));
    EXPECT_EQ(h.Take(), (S{{notice::kMusicInput, 0, 0}}));
    ExpectInput(h, 3, 3, "input 3 clicked");
    h.page->ShowMusicInput(7);  // "no input" shown, the stored input kept
    ExpectInput(h, -1, 3, "shown 7");
    h.page->SetMusicInput(2);
    ExpectInput(h, 2, 2, "set 2");
    h.page->SetMusicInput(9);
    ExpectInput(h, 2, 2, "set 9, out of range");
    h.page->ApplyDeviceInput(1);  // the processor's input: stored and shown
    ExpectInput(h, 1, 1, "processor's 1");
    h.page->ApplyDeviceInput(7);  // none shown; no input the file or a frame could carry, so not kept
    ExpectInput(h, -1, 1, "processor's 7");
    ZemCmd::EqFrame f;
    const auto& band = h.page->Model().band;
    const struct {
        const char* name;
        int code, item;
    } slopes[] = {{"24db", 5, 1}, {"12db", 0, 0}};
    for (const auto& [name, code, item] : slopes) {
        SCOPED_TRACE(name);
        h.page->SetHighPass(8, 150);  // band 8 as a "24db" read-back leaves it
        f[15] = static_cast<std::uint8_t>(code);
        h.page->SetSlopeFromCmd(f);
        EXPECT_EQ(h.page->SlopeItem(), item) << "slope item";
        EXPECT_EQ(band.type[8], item ? kTypeHighPass : kTypeOff) << "slope item " << item;
        EXPECT_EQ(band.freq[8], item ? 150 : kMaxFreq) << "slope item " << item;
    }
    EXPECT_TRUE(h.parent->notices.empty()) << "read-back setters notify nobody";
}

TEST(MusicPage, PresetTextAndRoundTrip) {
    Harness<PageMusic> h;
    EXPECT_EQ(h.page->SaveText().rfind("[music type]\n0\n\n[music eq]\n", 0), 0u);
    h.page->SetMusicInput(4);
    h.page->SetHighPass(0, 150);
    h.page->SetHighPass(8, 150);
    h.Choose(pageid::kMusicSlopeCombo, 1);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->SetMusicInput(0);
    h.Choose(pageid::kMusicSlopeCombo, 0);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_EQ(h.page->SlopeItem(), 1) << "slope after the round trip";
    EXPECT_EQ(h.page->CheckedInput(), 4) << "input after the round trip";
    // A type outside 0..4 changes nothing; a high-pass beyond the slider is clamped into band 0.
    h.page->LoadText({"[MUSIC TYPE]", "7", "[music eq]", "900,-2400,70,4", "80,0,100,1", "440,0,100,1",
                      "960,0,100,1", "2700,0,100,1", "4300,0,100,1", "8000,0,100,1", "10000,0,100,1",
                      "20000,-2400,70,0", "0"});
    EXPECT_EQ(h.page->MusicInput(), 4) << "type 7 ignored";
    EXPECT_EQ(*h.page->SliderPos(id::kHighPass), 300) << "900 Hz clamped to the slider";
    EXPECT_EQ(h.page->Model().band.freq[0], 300) << "band 0 follows the slider";
    EXPECT_EQ(h.page->SlopeItem(), 0) << "band 8 off: 12db";
}

TEST(MicPage, FramesAtResetNoticesAndLanguage) {
    Harness<PageMic> h;
    // clang-format off
    ExpectFrames({{"band 0", h.Band(0), "A5 11 F1 0A 05 00 22 A0 5A 14 00 46 00 01 00 00 2D"},
                  {"band 1", h.Band(1), "A5 11 F1 0A 05 01 23 00 64 32 00 64 00 01 00 00 D5"},
                  {"band 16", h.Band(16), "A5 11 F1 0A 05 10 22 00 64 20 4E 64 00 01 00 00 1F"},
                  {"band 17, past the page", h.Band(17), "none"},
                  {"limiter", Hex(h.page->BuildAlcCmd()), "A5 0E F1 18 02 01 01 32 00 64 00 54 05 AF"},
                  {"FBC", Hex(h.page->BuildFbcCmd()), "A5 0B F1 08 02 00 03 64 0A 00 1C"},
                  {"noise gate", Hex(h.page->BuildNoiseGateCmd()), "A5 0F F1 12 00 02 00 00 00 00 CC 0C CC 0C 69"}});
    // clang-format on
    ZemCmd::EqFrame f = *h.page->BuildBandCmd(0);
    EXPECT_EQ(h.page->FollowUpBandCmd(f), 1);
    EXPECT_EQ(Hex(f), h.Band(0));
    h.Choose(pageid::kFbcModeCombo, 2);
    EXPECT_EQ(h.Take(), (S{{notice::kFbc, 0, 0}})) << "the mode choice notifies";
    EXPECT_EQ(Hex(h.page->BuildFbcCmd()), "A5 0B F1 08 02 01 03 64 04 00 17") << "the FBC frame";
    h.page->SetLanguage(0);  // the mode list is refilled, not appended to
    auto* combo = qobject_cast<QComboBox*>(h.page->Control(pageid::kFbcModeCombo));
    ASSERT_NE(combo, nullptr) << "the FBC mode list";
    EXPECT_EQ(combo->count(), 4) << "modes after the refill";
    EXPECT_EQ(combo->currentIndex(), 2) << "the chosen mode kept";
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("模式2")) << "Chinese caption";
    h.page->SetFbcMode(9);
    EXPECT_EQ(h.page->FbcMode(), 3) << "mode 9 clamped";
    EXPECT_TRUE(h.parent->notices.empty()) << "SetFbcMode notifies nobody";
}

TEST(MicPage, PresetSections) {
    Harness<PageMic> h;
    h.page->LoadText({"[mic fbc]", "1,100,4,0", "[mic noise gate]", "-60,-20"});
    EXPECT_EQ(h.page->FbcMode(), 2) << "[mic fbc] 1,100,4,0";
    EXPECT_EQ(Hex(h.page->BuildNoiseGateCmd()), "A5 0F F1 12 01 02 20 00 20 00 CC 0C CC 0C AA")
        << "[mic noise gate] -60,-20";
    h.page->LoadText({"[mic fbc]", "1,100,10,0", "[mic noise gate]", "-50,-30,-1"});  // three pieces: skipped
    EXPECT_EQ(h.page->FbcMode(), 0) << "[mic fbc] 1,100,10,0";
    EXPECT_EQ(*h.page->SliderPos(id::kGateStart), -60) << "a three-piece gate line is skipped";
    h.page->SetFbcMode(3);
    h.page->SetSliderPos(id::kGateRelease, -80);
    h.page->SetSliderPos(id::kReleaseMultiplier, 32);
    h.page->SetBandQ(5, 2.5f);
    const std::string saved = h.page->SaveText();
    EXPECT_NE(saved.find("\n[mic fbc]\n1,100,1,0\n"), std::string::npos);
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved) << "round trip";
    EXPECT_TRUE(h.parent->notices.empty()) << "a load notifies nobody";
}

}  // namespace
