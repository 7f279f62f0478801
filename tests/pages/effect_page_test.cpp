#include <gtest/gtest.h>

#include "controls/notices.h"
#include "pages/channel_preset.h"
#include "pages/channel_sliders.h"
#include "pages/page_effect.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
using V = std::vector<std::string>;

namespace {

namespace fx = chan::fx;

// The value label an effect slider writes to.
int LabelOf(int sliderId) {
    const chan::SliderSpec* spec = chan::FindSpec(chan::EffectSliders(), sliderId);
    return spec ? spec->labelId : -1;
}

TEST(EffectPage, FramesAtResetAndEachSliderSendsItsNotice) {
    Harness<PageEffect> h;
    // clang-format off
    ExpectFrames({{"effect block", Hex(h.page->BuildEffectCmd()),
                   "A5 16 F1 0D 01 08 46 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 04"},
                  {"band 0", h.Band(0), "A5 11 F1 0A 0F 00 0A A0 5A 14 00 46 00 FF 00 00 1D"},
                  {"band 1", h.Band(1), "A5 11 F1 0A 0F 01 0B 00 64 90 01 64 00 FF 00 00 24"},
                  {"band 4", h.Band(4), "A5 11 F1 0A 0F 04 0A A0 5A 20 4E 46 00 FF 00 00 7B"},
                  {"band 5, past the page", h.Band(5), "none"}});
    // clang-format on
    const struct {
        const char* name;
        int id, pos;
        unsigned notice;
    } cases[] = {
        {"echo delay", fx::kEchoDelay, 500, notice::kEffectBlock},
        {"echo pre-delay", fx::kEchoPreDelay, 10, notice::kEchoLowPass},
        {"echo high-pass", fx::kEchoHighPass, 30, notice::kEchoHighPass},
        {"echo low-pass", fx::kEchoLowPass, 10000, notice::kEchoLowPass},
        {"reverb high-pass", fx::kReverbHighPass, 40, notice::kReverbHighPass},
        {"reverb low-pass", fx::kReverbLowPass, 6000, notice::kReverbLowPass},
        {"reverb pre-delay", fx::kReverbPreDelay, 20, notice::kReverbLowPass},
        {"room size", fx::kRoomSize, 50, notice::kEffectBlock},
        {"damp", fx::kDamp, 0, notice::kEffectBlock},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " to " << c.pos);
        h.Drag(c.id, c.pos);
        EXPECT_EQ(h.Take(), (std::vector<Notice>{{c.notice, 0, 0}}));
    }
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoDelay))->value, "500ms") << "echo delay label";
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoHighPass))->value, "30Hz") << "echo high-pass label";
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoLowPass))->value, "10000Hz") << "echo low-pass label";
    // damp 0 sent as 100; echo delay 500 = 0x01F4
    EXPECT_EQ(Hex(h.page->BuildEffectCmd(), 11), "A5 16 F1 0D 01 08 64 32 64 F4 01");
}

TEST(EffectPage, PresetTextAtResetAndRoundTrip) {
    Harness<PageEffect> h;
    EXPECT_NE(
        h.page->SaveText().find("\n[effect reverb]\n0,100,100,90,30,0\n\n[effect echo]\n200,30,40,60,0\n"
                                "\n[effect echo high pass]\n20\n\n[effect echo low pass]\n20000\n"
                                "\n[effect reverb high pass]\n20\n\n[effect reverb low pass]\n20000\n"),
        std::string::npos);
    h.page->LoadText({"[EFFECT ECHO]", "1,,2,3,4,5", "[effect reverb] ", "1,1,1,1,1,1",
                      "[effect echo high pass]", "abc", "[effect reverb high pass]", "5000"});
    EXPECT_EQ(*h.page->SliderPos(fx::kEchoDelay), 1) << "echo delay from [EFFECT ECHO] 1,,2,3,4,5";
    EXPECT_EQ(*h.page->SliderPos(fx::kEchoPreDelay), 5) << "echo pre-delay from [EFFECT ECHO] 1,,2,3,4,5";
    EXPECT_EQ(*h.page->SliderPos(fx::kReverbDirect), 0)
        << "reverb direct after \"[effect reverb] \" (trailing blank)";
    EXPECT_EQ(*h.page->SliderPos(fx::kReverbHighPass), 1000) << "5000 clamped to the slider";
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoHighPass))->value, "OFF")
        << "echo high-pass label after \"abc\"";
    h.page->SetSliderPos(fx::kDamp, 77);
    h.page->SetReverbLowPass(7000);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved) << "round trip";
    EXPECT_TRUE(h.parent->notices.empty()) << "a load notifies nobody";
}

TEST(EffectPage, SettersGraphFeedAndLanguageCaptions) {
    Harness<PageEffect> h;
    h.page->SetEchoHighPass(5000);
    h.page->SetEchoLowPass(9000);
    EXPECT_EQ(*h.page->SliderPos(fx::kEchoHighPass), 1000) << "the echo high-pass slider holds its range";
    h.ExpectBand(0, 5000, kTypeOff, 1, "before the graph sync");
    h.ExpectBand(4, 9000, kTypeOff, 1, "before the graph sync");
    EXPECT_EQ(h.page->SyncEchoHighPassToGraph(), 1000) << "the high-pass sync sends the slider's value";
    EXPECT_EQ(h.page->SyncEchoLowPassToGraph(), 9000) << "the low-pass sync";
    h.ExpectBand(0, 1000, kTypeHighPass, 1, "after the sync");
    h.ExpectBand(4, 9000, kTypeLowPass, 1, "after the sync");
    EXPECT_TRUE(h.parent->notices.empty()) << "a sync notifies no one";
    // The reverb high-pass label shares its id with a mute button of another page.
    h.page->SetLanguage(2);
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoDelay))->caption, "หน่วงเวลา  เอคโค่:") << "echo delay, Thai";
    EXPECT_EQ(h.page->Label(LabelOf(fx::kReverbHighPass))->caption, "เสียงก้อง ตัดเสียงต่ำ:")
        << "reverb high-pass, Thai";
    h.page->SetLanguage(4);
    h.page->UpdateEchoInDryLabel();
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoInDry))->caption, "Echo In Dry:") << "Indonesian";
    h.page->SetLanguage(0);
    EXPECT_EQ(h.page->Label(LabelOf(fx::kEchoInDry))->caption, "Echo In Dry:") << "Chinese";
}

}  // namespace
