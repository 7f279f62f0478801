// The main window's reply applier: what the end-to-end read-back cannot vary (slopes, passed-over
// selectors, the graph of the shown page, mute patterns); nothing notifies or arms a timer.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>

#include "answer.h"
#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/reply_decode.h"
#include "controls/graph_wave.h"
#include "link/ui/page_setup.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "platform/ui/controls.h"
#include "tests/console/qt_app.h"

namespace {

class ApplyReply : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = "reply_apply_test.ini";
        options.logPath.clear();
        options.firstConnectDelayMs = 1000000;
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        timersBefore = dialog->Timers().Count();
    }
    void TearDown() override {
        EXPECT_EQ(dialog->Timers().Count(), timersBefore);  // no debounce timer armed
        dialog.reset();
        std::remove("reply_apply_test.ini");
    }
    template <class T>
    T* PageOf(int i) {
        return dynamic_cast<T*>(dialog->PageAt(i));
    }
    int Apply(const AnswerWords& a) { return dialog->ApplyReply(a.data()); }
    std::vector<int> MuteBits() {
        std::vector<int> bits;
        for (int p : {reply::kMainOut, reply::kMidOut, reply::kBassOut, reply::kSubOut})
            bits.push_back(PageOf<chan::OutputPage>(p)->MuteBits());
        return bits;
    }
    int PresetItem() {
        return win::FindControlAs<QComboBox>(dialog->Client(), console::kIdPresetCombo)->currentIndex();
    }

    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::size_t timersBefore = 0;
};

TEST_F(ApplyReply, ResultsAndTheDebugLog) {
    const auto& log = dialog->SetUpPage()->Log();
    const std::size_t lines = log.LineCount();
    EXPECT_EQ(Apply(MakeAnswer(0x01, 0xA0, {0, 0}, 0xF4)), 0);
    EXPECT_EQ(log.LineCount(), lines);  // not an answer: nothing printed
    EXPECT_EQ(Apply(MakeAnswer(0x04, 0xC3, {0})), 0);
    EXPECT_EQ(Apply(BandAnswer(0x04, 0xC2, 2, 1, 0, 25600 + 500, 1234, 200, 0)),
              1);  // channel 1: passed over
    EXPECT_NE(log.Text().find("resv=a5 "), std::string::npos);
    // A length byte beyond the 50 entries prints those 50 and reads nothing past them.
    AnswerWords longer = MakeAnswer(0x02, 0x88, {0});
    longer.w[1] = 0xFF;
    EXPECT_EQ(Apply(longer), 1);
    const std::string last = log.Text().substr(log.Text().rfind("resv="));
    EXPECT_EQ(std::count(last.begin(), last.end(), ' '), 50);
}

TEST_F(ApplyReply, MusicHighPassSlopesAndMicrophoneEq) {
    auto* music = PageOf<PageMusic>(reply::kMusic);
    auto& mb = music->Model().band;
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5AA0, 80, 70, 5));  // "24db": band 8 joins band 0
    EXPECT_EQ(std::tuple(music->SlopeItem(), music->SliderPos(chan::id::kHighPass).value_or(-1)),
              std::tuple(1, 80));
    EXPECT_EQ(std::tuple(mb.freq[8], mb.type[8]), std::tuple(80, kTypeHighPass));
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5F50, 120, 70, 5));  // "12db": band 8 untouched
    EXPECT_EQ(std::tuple(music->SlopeItem(), mb.freq[0], mb.freq[8]), std::tuple(0, 120, 80));
    EXPECT_EQ(Apply(BandAnswer(0x01, 0xA1, 8, 0, 0, 25600 + 300, 5000, 200, 0)), 1);  // band 8 is not asked
    EXPECT_EQ(mb.freq[8], 80);
    Apply(BandAnswer(0x01, 0xA1, 3, 0, 0, 25600 + 350, 2500, 250, 0));
    EXPECT_EQ(std::tuple(mb.freq[3], mb.gain[3], mb.q[3], mb.enabled[3]), std::tuple(2500, 3.5f, 2.5f, 0));

    auto* mic = PageOf<PageMic>(reply::kMic);
    auto& b = mic->Model().band;
    Apply(BandAnswer(0x02, 0x81, 0, 0, 1, 25600, 150, 100, 5));
    EXPECT_EQ(std::tuple(mic->SliderPos(pageid::kHighPassSlider).value_or(-1), b.type[0], b.q[0]),
              std::tuple(150, kTypeHighPass, 0.6f));
    Apply(BandAnswer(0x02, 0x81, 5, 2, 1, 25600, 777, 100, 0));  // channel 2: passed over
    EXPECT_NE(b.freq[5], 777);
    Apply(BandAnswer(0x02, 0x81, 5, 1, 1, 25600 - 600, 777, 100, 0));
    EXPECT_EQ(std::tuple(b.freq[5], b.gain[5]), std::tuple(777, -6.0f));
    Apply(MakeAnswer(0x02, 0x83, {0, 30, 42}));
    EXPECT_EQ(
        std::tuple(mic->SliderPos(pageid::kGateStartSlider), mic->SliderPos(pageid::kGateReleaseSlider)),
        std::tuple(-81, -42));
    Apply(MakeAnswer(0x02, 0x84, {1, 100, 4, 0}));
    EXPECT_EQ(mic->FbcMode(), 2);
}

TEST_F(ApplyReply, EchoLowPassAndCrossoverTouchTheGraphOnlyWhenShown) {
    auto* graph = dialog->Graph();
    const int graphFreq = graph->Curve().freq[4];
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 9000, 70, 4, 120));
    const auto& fx = PageOf<Page>(reply::kEffect)->Model().band;
    EXPECT_EQ(std::tuple(fx.freq[4], fx.type[4]), std::tuple(9000, kTypeLowPass));
    EXPECT_EQ(PageOf<PageEffect>(reply::kEffect)->SliderPos(chan::fx::kEchoPreDelay), 120);
    EXPECT_EQ(graph->Curve().freq[4], graphFreq);  // the music page is shown

    dialog->TabStrip()->setCurrentIndex(reply::kEffect);
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 20000, 70, 4, 0));
    EXPECT_EQ(std::tuple(graph->Curve().freq[4], graph->Curve().type[4]), std::tuple(20000, kTypeOff));

    dialog->TabStrip()->setCurrentIndex(reply::kBassOut);
    Apply(BandAnswer(0x04, 0xC2, 0, 3, 1, 25600 - 1000, 120, 50, 4));
    EXPECT_EQ(PageOf<PageBassOut>(reply::kBassOut)->CrossoverHz(), 120);
    EXPECT_EQ(std::tuple(graph->Curve().freq[4], graph->Curve().type[4]), std::tuple(120, kTypeLowPass));
}

TEST_F(ApplyReply, EffectBlock) {
    auto* effect = PageOf<PageEffect>(reply::kEffect);
    Apply(MakeAnswer(0x08, 0x90,
                     {0, 30, 41, 42, 0x2C, 0x01, 43, 0, 44, 45, 0, 46, 47, 0, 48, 49}));  // bytes 5..20
    namespace fx = chan::fx;
    // clang-format off
    const std::pair<int, int> expected[] = {{fx::kDamp, 70}, {fx::kRoomSize, 41}, {fx::kWidth, 42},
        {fx::kEchoDelay, 300}, {fx::kEchoDecay, 43}, {fx::kEchoDirect, 44}, {fx::kEchoEffect, 45},
        {fx::kReverbDirect, 46}, {fx::kReverbEffect, 47}, {fx::kEchoInDry, 48}, {fx::kEchoInReverb, 49}};
    // clang-format on
    for (const auto& [id, value] : expected) {
        const SliderModel* s = effect->Slider(id);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(s->pos, std::clamp(value, s->min, s->max)) << id;
    }
}

TEST_F(ApplyReply, StatusSetsMutesLimitsPresetAndConnected) {
    Apply(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(dialog->m_lastMuteMask, 0x3F);
    EXPECT_EQ(MuteBits(), (std::vector<int>{3, 1, 1, 3}));
    EXPECT_EQ(PageOf<PageMusic>(reply::kMusic)->CheckedInput(), -1);
    const auto& d = *dialog;
    EXPECT_EQ(std::tie(d.m_micStartVol, d.m_micEndVol, d.m_musicStartVol, d.m_musicEndVol, d.m_effectStartVol,
                       d.m_effectEndVol),
              std::tuple(1, 2, 3, 4, 5, 6));
    EXPECT_EQ(PresetItem(), -1);
    EXPECT_EQ(dialog->m_connected, 1);

    // Only the bass bit (3) and the second surround bit (5); preset 4; input "USB".
    Apply(MakeAnswer(0xF0, 0xD0, {4, 0x30, 0x28, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MuteBits(), (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(PageOf<PageMusic>(reply::kMusic)->CheckedInput(), 3);
    EXPECT_EQ(PresetItem(), 3);
}

}  // namespace
