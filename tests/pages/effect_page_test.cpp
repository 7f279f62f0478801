#include <gtest/gtest.h>

#include "controls/notices.h"
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
        {1120, 500, notice::kEffectBlock}, {1113, 10, notice::kEchoLowPass}, {1421, 30, notice::kEchoHighPass}, {1422, 10000, notice::kEchoLowPass}, {1425, 40, notice::kReverbHighPass},
        {1426, 6000, notice::kReverbLowPass}, {1115, 20, notice::kReverbLowPass}, {1108, 50, notice::kEffectBlock}, {1110, 0, notice::kEffectBlock}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slider " << c.id << " to " << c.pos);
        h.Drag(c.id, c.pos);
        EXPECT_EQ(h.Take(), (std::vector<Notice>{{c.notice, 0, 0}}));
    }
    EXPECT_EQ((V{h.page->Label(1121)->value, h.page->Label(1423)->value, h.page->Label(1424)->value}),
              (V{"500ms", "30Hz", "10000Hz"}));
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
    EXPECT_EQ((std::vector<int>{*h.page->SliderPos(1120), *h.page->SliderPos(1113), *h.page->SliderPos(1194),
                                *h.page->SliderPos(1425)}),
              (std::vector<int>{1, 5, 0, 1000}));
    EXPECT_EQ(h.page->Label(1423)->value, "OFF");
    h.page->SetSliderPos(1110, 77);
    h.page->SetReverbLowPass(7000);
    const std::string saved = h.page->SaveText();
    h.page->ResetAll(true);
    h.page->LoadText(chan::NonEmptyLines(saved));
    EXPECT_EQ(std::pair(h.page->SaveText(), h.parent->notices.empty()), std::pair(saved, true));
}

TEST(EffectPage, SettersGraphFeedAndLanguageCaptions) {
    Harness<PageEffect> h;
    h.page->SetEchoHighPass(5000);
    h.page->SetEchoLowPass(9000);
    EXPECT_EQ(*h.page->SliderPos(1421), 1000) << "the echo high-pass slider holds its range";
    EXPECT_EQ(h.State(0), std::tuple(5000, kTypeOff, 1)) << "band 0 before the graph sync";
    EXPECT_EQ(h.State(4), std::tuple(9000, kTypeOff, 1)) << "band 4 before the graph sync";
    EXPECT_EQ(std::pair(h.page->SyncEchoHighPassToGraph(), h.page->SyncEchoLowPassToGraph()),
              std::pair(1000, 9000));
    EXPECT_EQ(h.State(0), std::tuple(1000, kTypeHighPass, 1)) << "band 0 after the sync";
    EXPECT_EQ(h.State(4), std::tuple(9000, kTypeLowPass, 1)) << "band 4 after the sync";
    EXPECT_TRUE(h.parent->notices.empty()) << "a sync notifies no one";
    h.page->SetLanguage(2);  // 1427 is a mute button elsewhere, a value label here
    EXPECT_EQ((V{h.page->Label(1121)->caption, h.page->Label(1427)->caption}),
              (V{"หน่วงเวลา  เอคโค่:", "เสียงก้อง ตัดเสียงต่ำ:"}));
    h.page->SetLanguage(4);
    h.page->UpdateEchoInDryLabel();
    const std::string indonesian = h.page->Label(1106)->caption;
    h.page->SetLanguage(0);
    EXPECT_EQ((V{indonesian, h.page->Label(1106)->caption}), (V{"Echo In Dry:", "Echo In Dry:"}));
}

}  // namespace
