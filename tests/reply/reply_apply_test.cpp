// The main window's reply applier: the answers the end-to-end read-back cannot vary (slopes,
// selectors passed over, the graph of the shown page, mute patterns); nothing notifies or arms a timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTabBar>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "answer.h"
#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/reply_decode.h"
#include "controls/graph_wave.h"
#include "link/ui/page_setup.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_main_out.h"
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
        // Applying an answer notifies nobody: no debounce timer is armed.
        EXPECT_EQ(dialog->Timers().Count(), timersBefore);
        dialog.reset();
        std::remove("reply_apply_test.ini");
    }
    template <class T>
    T* PageOf(int i) {
        return dynamic_cast<T*>(dialog->PageAt(i));
    }
    int Apply(const AnswerWords& a) { return dialog->ApplyReply(a.data()); }
    int Pos(int page, int id) { return PageOf<Page>(page)->SliderPos(id).value_or(-9999); }

    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::size_t timersBefore = 0;
};

TEST_F(ApplyReply, ResultsAndTheDebugLog) {
    const std::size_t lines = dialog->SetUpPage()->Log().LineCount();
    EXPECT_EQ(Apply(MakeAnswer(0x01, 0xA0, {0, 0}, 0xF4)), 0);
    EXPECT_EQ(dialog->SetUpPage()->Log().LineCount(), lines);  // not an answer: nothing printed
    EXPECT_EQ(Apply(MakeAnswer(0x04, 0xC3, {0})), 0);
    EXPECT_EQ(Apply(BandAnswer(0x04, 0xC2, 2, 1, 0, 25600 + 500, 1234, 200, 0)),
              1);  // channel 1: passed over
    EXPECT_NE(dialog->SetUpPage()->Log().Text().find("resv=a5 "), std::string::npos);
    // A length byte beyond the 50 entries prints those 50 and reads nothing past them.
    AnswerWords longer = MakeAnswer(0x02, 0x88, {0});
    longer.w[1] = 0xFF;
    EXPECT_EQ(Apply(longer), 1);
    const std::string text = dialog->SetUpPage()->Log().Text();
    const std::string last = text.substr(text.rfind("resv="));
    EXPECT_EQ(std::count(last.begin(), last.end(), ' '), 50);
}

TEST_F(ApplyReply, MusicHighPassSlopes) {
    auto* music = PageOf<PageMusic>(reply::kMusic);
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5AA0, 80, 70, 5));
    EXPECT_EQ(music->SlopeItem(), 1);
    EXPECT_EQ(music->Model().band.freq[8], 80);
    EXPECT_EQ(music->Model().band.type[8], kTypeHighPass);
    EXPECT_EQ(music->SliderPos(chan::id::kHighPass), 80);

    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5F50, 120, 70, 5));
    EXPECT_EQ(music->SlopeItem(), 0);
    EXPECT_EQ(music->Model().band.freq[8], 80);  // band 8 untouched at "12db"
    EXPECT_EQ(music->Model().band.freq[0], 120);

    const auto before = music->Model().band.freq[8];
    EXPECT_EQ(Apply(BandAnswer(0x01, 0xA1, 8, 0, 0, 25600 + 300, 5000, 200, 0)), 1);
    EXPECT_EQ(music->Model().band.freq[8], before);

    Apply(BandAnswer(0x01, 0xA1, 3, 0, 0, 25600 + 350, 2500, 250, 0));
    EXPECT_EQ(music->Model().band.freq[3], 2500);
    EXPECT_FLOAT_EQ(music->Model().band.gain[3], 3.5f);
    EXPECT_FLOAT_EQ(music->Model().band.q[3], 2.5f);
    EXPECT_EQ(music->Model().band.enabled[3], 0);
}

TEST_F(ApplyReply, MicrophoneEqAndGate) {
    auto* mic = PageOf<PageMic>(reply::kMic);
    Apply(BandAnswer(0x02, 0x81, 0, 0, 1, 25600, 150, 100, 5));
    EXPECT_EQ(mic->SliderPos(pageid::kHighPassSlider), 150);
    EXPECT_EQ(mic->Model().band.type[0], kTypeHighPass);
    EXPECT_FLOAT_EQ(mic->Model().band.q[0], 0.6f);
    const int f5 = mic->Model().band.freq[5];
    Apply(BandAnswer(0x02, 0x81, 5, 2, 1, 25600, 777, 100, 0));  // channel 2: passed over
    EXPECT_EQ(mic->Model().band.freq[5], f5);
    Apply(BandAnswer(0x02, 0x81, 5, 1, 1, 25600 - 600, 777, 100, 0));
    EXPECT_EQ(mic->Model().band.freq[5], 777);
    EXPECT_FLOAT_EQ(mic->Model().band.gain[5], -6.0f);

    Apply(MakeAnswer(0x02, 0x83, {0, 30, 42}));
    EXPECT_EQ(mic->SliderPos(pageid::kGateStartSlider), -81);
    EXPECT_EQ(mic->SliderPos(pageid::kGateReleaseSlider), -42);
    Apply(MakeAnswer(0x02, 0x84, {1, 100, 4, 0}));
    EXPECT_EQ(mic->FbcMode(), 2);
}

TEST_F(ApplyReply, EchoLowPassAndCrossoverTouchTheGraphOnlyWhenShown) {
    auto* effect = PageOf<PageEffect>(reply::kEffect);
    auto* graph = dialog->Graph();
    const int graphFreq = graph->Curve().freq[4];
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 9000, 70, 4, 120));
    EXPECT_EQ(effect->Model().band.freq[4], 9000);
    EXPECT_EQ(effect->Model().band.type[4], kTypeLowPass);
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoPreDelay), 120);
    EXPECT_EQ(graph->Curve().freq[4], graphFreq);  // the music page is shown

    dialog->TabStrip()->setCurrentIndex(reply::kEffect);
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 20000, 70, 4, 0));
    EXPECT_EQ(graph->Curve().freq[4], 20000);
    EXPECT_EQ(graph->Curve().type[4], kTypeOff);

    dialog->TabStrip()->setCurrentIndex(reply::kBassOut);
    Apply(BandAnswer(0x04, 0xC2, 0, 3, 1, 25600 - 1000, 120, 50, 4));
    EXPECT_EQ(PageOf<PageBassOut>(reply::kBassOut)->CrossoverHz(), 120);
    EXPECT_EQ(graph->Curve().freq[4], 120);
    EXPECT_EQ(graph->Curve().type[4], kTypeLowPass);
}

TEST_F(ApplyReply, EffectBlock) {
    auto* effect = PageOf<PageEffect>(reply::kEffect);
    // Bytes 5..20.
    Apply(MakeAnswer(0x08, 0x90, {0, 30, 41, 42, 0x2C, 0x01, 43, 0, 44, 45, 0, 46, 47, 0, 48, 49}));
    namespace fx = chan::fx;
    const std::pair<int, int> expected[] = {
        {fx::kDamp, 70},         {fx::kRoomSize, 41},   {fx::kWidth, 42},       {fx::kEchoDelay, 300},
        {fx::kEchoDecay, 43},    {fx::kEchoDirect, 44}, {fx::kEchoEffect, 45},  {fx::kReverbDirect, 46},
        {fx::kReverbEffect, 47}, {fx::kEchoInDry, 48},  {fx::kEchoInReverb, 49}};
    for (const auto& [id, value] : expected) {
        const SliderModel* s = effect->Slider(id);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(s->pos, std::clamp(value, s->min, s->max)) << id;
    }
}

TEST_F(ApplyReply, StatusSetsMutesLimitsPresetAndConnected) {
    Apply(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(dialog->m_lastMuteMask, 0x3F);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kMainOut)->MuteBits(), 3);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kMidOut)->MuteBits(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kBassOut)->MuteBits(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kSubOut)->MuteBits(), 3);
    EXPECT_EQ(PageOf<PageMusic>(reply::kMusic)->CheckedInput(), -1);
    EXPECT_EQ(dialog->m_micStartVol, 1);
    EXPECT_EQ(dialog->m_micEndVol, 2);
    EXPECT_EQ(dialog->m_musicStartVol, 3);
    EXPECT_EQ(dialog->m_musicEndVol, 4);
    EXPECT_EQ(dialog->m_effectStartVol, 5);
    EXPECT_EQ(dialog->m_effectEndVol, 6);
    EXPECT_EQ(win::FindControlAs<QComboBox>(dialog->Client(), console::kIdPresetCombo)->currentIndex(), -1);
    EXPECT_EQ(dialog->m_connected, 1);

    // Only the bass bit (3) and the second surround bit (5); preset 4; input "USB".
    Apply(MakeAnswer(0xF0, 0xD0, {4, 0x30, 0x28, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kMainOut)->MuteBits(), 0);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kMidOut)->MuteBits(), 0);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kBassOut)->MuteBits(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(reply::kSubOut)->MuteBits(), 2);
    EXPECT_EQ(PageOf<PageMusic>(reply::kMusic)->CheckedInput(), 3);
    EXPECT_EQ(win::FindControlAs<QComboBox>(dialog->Client(), console::kIdPresetCombo)->currentIndex(), 3);
}

}  // namespace
