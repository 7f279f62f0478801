#include <gtest/gtest.h>

#include "pages/channel_preset.h"
#include "pages/page_effect.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;
using V = std::vector<std::string>;

namespace {

TEST(EffectPage, FramesAtResetAndEachSliderSendsItsNotice) {
    Harness<PageEffect> h;
    // clang-format off
    EXPECT_EQ((V{Hex(h.page->BuildEffectCmd()), h.Band(0), h.Band(1), h.Band(4), h.Band(5)}),
              (V{"A5 16 F1 0D 01 08 46 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 04",
                 "A5 11 F1 0A 0F 00 0A A0 5A 14 00 46 00 FF 00 00 1D", "A5 11 F1 0A 0F 01 0B 00 64 90 01 64 00 FF 00 00 24",
                 "A5 11 F1 0A 0F 04 0A A0 5A 20 4E 46 00 FF 00 00 7B", "none"}));
    const struct { int id, pos; unsigned notice; } cases[] = {
        {1120, 500, 0x471}, {1113, 10, 0x477}, {1421, 30, 0x476}, {1422, 10000, 0x477}, {1425, 40, 0x478},
        {1426, 6000, 0x479}, {1115, 20, 0x479}, {1108, 50, 0x471}, {1110, 0, 0x471}};
    // clang-format on
    for (const auto& c : cases) {
        h.Drag(c.id, c.pos);
        EXPECT_EQ(h.Take(), (std::vector<Notice>{{c.notice, 0, 0}})) << c.id;
    }
    EXPECT_EQ((V{h.page->Label(1121)->value, h.page->Label(1423)->value, h.page->Label(1424)->value}),
              (V{"500ms", "30Hz", "10000Hz"}));
    // Damp 0 goes out as 100 - 0; 1108 at 50 in byte 7; echo delay 500 = 0x01F4 in bytes 9 and 10.
    EXPECT_EQ(Hex(h.page->BuildEffectCmd(), 11), "A5 16 F1 0D 01 08 64 32 64 F4 01");
}

TEST(EffectPage, PresetTextAtResetAndRoundTrip) {
    Harness<PageEffect> h;
    EXPECT_NE(
        h.page->SaveText().find("\n[effect reverb]\n0,100,100,90,30,0\n\n[effect echo]\n200,30,40,60,0\n"
                                "\n[effect echo high pass]\n20\n\n[effect echo low pass]\n20000\n"
                                "\n[effect reverb high pass]\n20\n\n[effect reverb low pass]\n20000\n"),
        std::string::npos);
    // Exact piece counts, whole-line integers; a name with a trailing blank is another section.
    h.page->LoadText({"[EFFECT ECHO]", "1,,2,3,4,5", "[effect reverb] ", "1,1,1,1,1,1",
                      "[effect echo high pass]", "abc", "[effect reverb high pass]", "5000"});
    EXPECT_EQ((std::vector<int>{*h.page->SliderPos(1120), *h.page->SliderPos(1113), *h.page->SliderPos(1194),
                                *h.page->SliderPos(1425)}),
              (std::vector<int>{1, 5, 0, 1000}));
    EXPECT_EQ(h.page->Label(1423)->value, "OFF");
    h.page->SetSliderPos(1110, 77);
    h.page->SetReverbLowPass(7000);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(EffectPage, SettersAndGraphFeed) {
    Harness<PageEffect> h;
    h.page->SetEchoHighPass(5000);
    EXPECT_EQ(*h.page->SliderPos(1421), 1000);
    EXPECT_EQ(h.page->Model().band.freq[0], 5000);
    h.page->SetEchoLowPass(9000);
    EXPECT_EQ(h.State(4), std::tuple(9000, 0, 1));
    EXPECT_EQ(h.page->SyncEchoHighPassToGraph(), 1000);
    EXPECT_EQ(h.page->Model().band.type[0], 4);
    EXPECT_EQ(h.page->SyncEchoLowPassToGraph(), 9000);
    EXPECT_EQ(h.page->Model().band.type[4], 5);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(EffectPage, LanguageCaptions) {
    Harness<PageEffect> h;
    h.page->SetLanguage(2);
    EXPECT_EQ(h.page->Label(1121)->caption, "หน่วงเวลา  เอคโค่:");
    // The reverb filter labels share ids with mute buttons elsewhere: they keep their own caption.
    EXPECT_EQ(h.page->Label(1427)->caption, "เสียงก้อง ตัดเสียงต่ำ:");
    // Three-entry tables fall back to English; the hidden labels keep their caption on a switch.
    h.page->SetLanguage(4);
    h.page->UpdateEchoInDryLabel();
    EXPECT_EQ(h.page->Label(1106)->caption, "Echo In Dry:");
    h.page->SetLanguage(0);
    EXPECT_EQ(h.page->Label(1106)->caption, "Echo In Dry:");
}

}  // namespace
