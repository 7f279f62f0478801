#include <gtest/gtest.h>

#include "pages/channel_preset.h"
#include "pages/page_effect.h"
#include "tests/pages/hex.h"
#include "tests/pages/page_harness.h"

using testhex::Hex;

namespace {

TEST(EffectPage, FramesAtReset) {
    Harness<PageEffect> h;
    EXPECT_EQ(Hex(h.page->BuildEffectCmd()),
              "A5 16 F1 0D 01 08 46 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 04");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(0)), "A5 11 F1 0A 0F 00 0A A0 5A 14 00 46 00 FF 00 00 1D");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(1)), "A5 11 F1 0A 0F 01 0B 00 64 90 01 64 00 FF 00 00 24");
    EXPECT_EQ(Hex(*h.page->BuildBandCmd(4)), "A5 11 F1 0A 0F 04 0A A0 5A 20 4E 46 00 FF 00 00 7B");
    EXPECT_FALSE(h.page->BuildBandCmd(5).has_value());
}

TEST(EffectPage, EachSliderSendsItsNotice) {
    Harness<PageEffect> h;
    struct {
        int id, pos;
        unsigned notice;
        const char* value;
    } cases[] = {
        {1120, 500, 0x471, "500ms"},     {1113, 10, 0x477, "10ms"}, {1421, 30, 0x476, "30Hz"},
        {1422, 10000, 0x477, "10000Hz"}, {1425, 40, 0x478, "40Hz"}, {1426, 6000, 0x479, "6000Hz"},
        {1115, 20, 0x479, "20ms"},       {1108, 50, 0x471, "50ms"}, {1110, 0, 0x471, "0%"},
    };
    for (const auto& c : cases) {
        h.parent->sent.clear();
        h.Drag(c.id, c.pos);
        EXPECT_EQ(h.parent->sent, (std::vector<Sent>{{c.notice, 0, 0}})) << c.id;
    }
    EXPECT_EQ(h.page->Label(1121)->value, "500ms");
    EXPECT_EQ(h.page->Label(1423)->value, "30Hz");
    EXPECT_EQ(h.page->Label(1424)->value, "10000Hz");
    const auto f = h.page->BuildEffectCmd();
    EXPECT_EQ(f[9], 0xF4);
    EXPECT_EQ(f[10], 0x01);
    EXPECT_EQ(f[6], 100);
}

TEST(EffectPage, PresetTextAtResetAndRoundTrip) {
    Harness<PageEffect> h;
    const std::string t = h.page->SaveText();
    EXPECT_NE(t.find("\n[effect reverb]\n0,100,100,90,30,0\n\n[effect echo]\n200,30,40,60,0\n"
                     "\n[effect echo high pass]\n20\n\n[effect echo low pass]\n20000\n"
                     "\n[effect reverb high pass]\n20\n\n[effect reverb low pass]\n20000\n"),
              std::string::npos);
    h.page->LoadText({"[EFFECT ECHO]", "1,,2,3,4,5", "[effect reverb] ", "1,1,1,1,1,1",
                      "[effect echo high pass]", "abc", "[effect reverb high pass]", "5000"});
    EXPECT_EQ(*h.page->SliderPos(1120), 1);
    EXPECT_EQ(*h.page->SliderPos(1113), 5);
    EXPECT_EQ(*h.page->SliderPos(1194), 0);
    EXPECT_EQ(h.page->Label(1423)->value, "OFF");
    EXPECT_EQ(*h.page->SliderPos(1425), 1000);
    h.page->SetSliderPos(1110, 77);
    h.page->SetReverbLowPass(7000);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(h.page->SaveText(), saved);
    EXPECT_TRUE(h.parent->sent.empty());
}

TEST(EffectPage, SettersAndGraphFeed) {
    Harness<PageEffect> h;
    h.page->SetEchoHighPass(5000);
    EXPECT_EQ(*h.page->SliderPos(1421), 1000);
    EXPECT_EQ(h.page->Model().band.freq[0], 5000);
    h.page->SetEchoLowPass(9000);
    EXPECT_EQ(h.page->Model().band.freq[4], 9000);
    EXPECT_EQ(h.page->Model().band.type[4], 0);
    EXPECT_EQ(h.page->SyncEchoHighPassToGraph(), 1000);
    EXPECT_EQ(h.page->Model().band.type[0], 4);
    EXPECT_EQ(h.page->SyncEchoLowPassToGraph(), 9000);
    EXPECT_EQ(h.page->Model().band.type[4], 5);
    EXPECT_TRUE(h.parent->sent.empty());
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
