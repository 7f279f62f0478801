// The main window's notices, timers and bulk senders, observed at the entrance of the send queue.
#include <gtest/gtest.h>

#include <QTest>
#include <set>

#include "console/frame_build.h"
#include "console/images.h"
#include "console/master_index.h"
#include "console/status_lamp_button.h"
#include "controls/graph_layout.h"
#include "controls/notices.h"
#include "pages/channel_output_page.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "tests/console/support.h"

using namespace console;
using testbytes::Bytes;
using testbytes::Of;
using testbytes::Sealed;  // golden frames are written without their checksum

namespace {

bool IsEq(const Bytes& frame) {  // an effect-path frame
    return frame[3] == 0x09;
}
// Short names of the page indices for the tables below.
constexpr int kMusic = pageindex::kMusic, kMic = pageindex::kMic, kEffect = pageindex::kEffect,
              kMain = pageindex::kMainOut, kMid = pageindex::kMidOut, kBass = pageindex::kBassOut,
              kSurround = pageindex::kSubOut;

class Dispatch : public WindowTest {
  protected:
    void SetUp() override {
        Start(nullptr, [this](CVelmor_Zem_R7Dlg::Options& o) {
            o.firstConnectDelayMs = 600000;
            o.debounceMs = 30;
            o.heartbeatPeriodMs = 20;
            o.frameTap = [this](const ZemCmd::Cmd& f) { sent.push_back(Of(f)); };
        });
        sent.clear();
    }
    template <class T = Page>
    T* PageOf(int index) {
        return qobject_cast<T*>(dialog->PageAt(index));
    }
    win::LRESULT Notice(unsigned msg, win::WPARAM w = 0, win::LPARAM l = 0) {
        return win::SendMessage(dialog->Client(), msg, w, l);
    }
    void ShowTab(int index) { dialog->TabStrip()->setCurrentIndex(index); }
    bool Armed(std::uint32_t id) const { return dialog->Timers().IsSet(id); }

    std::vector<Bytes> sent;
};

TEST_F(Dispatch, NoticesArmTheirTimersPerPageAndBandAndSendNothingYet) {
    // clang-format off
    // armed 0: nothing may be armed
    const struct { int tab; unsigned msg; win::WPARAM w; win::LPARAM l; std::uint32_t armed; } rows[] = {
        {kMic, notice::kBandGain, 16, 10, timer::Id(notice::kBandGain, kMic, 16)},
        {kMusic, notice::kBandGain, 0, 10, 0},  // band 0 has no gain
        {kMusic, notice::kBandGain, 9, 10, 0},  // beyond the page's bands
        {kMusic, notice::kGraphBandFreqGain, notice::PackBandFreq(4, 1000), 35, timer::Id(notice::kGraphBandFreqGain, kMusic, 4)},
        {kMusic, notice::kGraphBandFreqGain, notice::PackBandFreq(5 | notice::kPressFlag, 1000), 35, timer::Id(notice::kGraphBandFreqGain, kMusic, 5)},  // a press moves it too
        {kEffect, notice::kBandQ, 2, 25, timer::Id(notice::kGraphBandFreqGain, kEffect, 2)},
        {kEffect, notice::kBandType, 1, kTypeLowShelf, timer::Id(notice::kGraphBandFreqGain, kEffect, 1)},
        {kMain, notice::kLimiter, 0, 0, timer::Id(notice::kLimiter, kMain)},
        {kMusic, notice::kFbc, 0, 0, 0},
        {kMic, notice::kFbc, 0, 0, timer::Id(notice::kFbc, kMic)},
        {kEffect, notice::kNoiseGate, 0, 0, timer::Id(notice::kNoiseGate, kEffect)},
        {kMain, notice::kNoiseGate, 0, 0, 0},
        {kMusic, notice::kPassBand, 120, notice::PackBandType(0, controls::kTypeHighPass), timer::Id(notice::kPassBand, kMusic, 0)},
        {kMusic, notice::kPassBand, 120, notice::PackBandType(9, controls::kTypeHighPass), 0},
        {kMain, notice::kDelays, 0, 0, notice::kDelays},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "notice 0x" << std::hex << r.msg << std::dec << " on page "
                                        << r.tab << " wParam " << r.w << " lParam " << r.l);
        ShowTab(r.tab);
        const std::size_t before = dialog->Timers().Count();
        EXPECT_EQ(Notice(r.msg, r.w, r.l), 1) << "the notice is handled";
        EXPECT_TRUE(sent.empty()) << "nothing goes out before the timer";
        if (r.armed)
            EXPECT_TRUE(Armed(r.armed)) << "timer 0x" << std::hex << r.armed << " armed";
        else
            EXPECT_EQ(dialog->Timers().Count(), before) << "no timer armed";
    }
}

TEST_F(Dispatch, DebouncedNoticesSendTheLastValueOncePerTimer) {
    for (int level : {10, 50, 120}) {
        PageOf(kMain)->SetSliderPos(chan::id::kMusicLevel, level);
        EXPECT_EQ(Notice(notice::kMusicLevels), 1);
        QTest::qWait(5);
    }
    EXPECT_TRUE(sent.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sent.empty(); }, 2000));
    QTest::qWait(80);
    ASSERT_EQ(sent.size(), 1u) << "one frame for three moves";
    EXPECT_FALSE(Armed(notice::kMusicLevels)) << "the fired timer is not re-armed";
    EXPECT_EQ(std::vector<int>({sent[0][1], sent[0][6], sent[0][7]}), std::vector<int>({17, 120, 120}));

    // Two bands' gains: the graph follows at once, both frames go out.
    sent.clear();
    ShowTab(kMusic);
    Notice(notice::kBandGain, 2, -35);
    Notice(notice::kBandGain, 5, 60);
    EXPECT_EQ(dialog->Graph()->gain[2], -3.5f) << "band 2 gain on the graph";  // exact in binary
    EXPECT_EQ(dialog->Graph()->gain[5], 6.0f) << "band 5 gain on the graph";
    EXPECT_EQ(dialog->Graph()->selected, 5) << "the last band moved is selected";
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent.size() >= 2; }, 2000));
    QTest::qWait(60);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::set<int>{sent[0][5], sent[1][5]}), (std::set<int>{2, 5}));

    // A pre-delay change resends the echo low-pass with it and puts the filter on the graph.
    sent.clear();
    auto* effect = PageOf<PageEffect>(kEffect);
    effect->SetSliderPos(chan::fx::kEchoPreDelay, 5);
    effect->SetSliderPos(chan::fx::kEchoLowPass, 8000);
    ShowTab(kEffect);
    Notice(notice::kEchoLowPass);
    EXPECT_EQ(effect->Model().band.freq[effect->GetBandCount() - 1], 8000) << "the page's low-pass band";
    EXPECT_EQ(dialog->Graph()->freq[4], 8000) << "the graph's low-pass frequency";
    EXPECT_EQ(dialog->Graph()->type[4], controls::kTypeLowPass) << "the graph's low-pass type";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sent.empty(); }, 2000));
    EXPECT_EQ(sent[0], Sealed("A5 12 F1 09 08 00 40 1F 50 5F 3C 00 04 01 04 05 00"));
}

TEST_F(Dispatch, AClickOnAMarkerMovesTheBandOnThePageAndSendsIt) {
    ShowTab(kMain);
    controls::CGraphWave* graph = dialog->Graph();
    graph->Picture();  // measures the label margin, as the first paint does
    const int band = 2;
    const QPoint centre = controls::MarkerSquare(*graph, graph->Axes(), band).center();
    QTest::mouseClick(graph, Qt::LeftButton, {}, centre + QPoint(4, 6));
    Page* page = PageOf(kMain);
    ASSERT_EQ(graph->selected, band) << "the click hit the marker";
    EXPECT_EQ(page->Model().band.freq[band], graph->freq[band]) << "the page takes the graph's frequency";
    EXPECT_EQ(page->Model().band.gain[band], graph->gain[band]) << "the page takes the graph's gain";
    EXPECT_EQ(page->SliderPos(pageid::kGainSlider + band), GainSliderPos(graph->gain[band]))
        << "the band's gain slider follows";
    EXPECT_TRUE(Armed(timer::Id(notice::kGraphBandFreqGain, kMain, band)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sent.empty(); }, 2000));
    EXPECT_EQ(sent[0], Of(*page->BuildBandCmd(band)));
    EXPECT_EQ(sent[0][9] | sent[0][10] << 8, graph->freq[band]) << "the frame carries what the graph shows";
}

TEST_F(Dispatch, APagesNoticeStaysWithThatPageWhateverTabIsShown) {
    ShowTab(kMic);
    controls::CGraphWave* graph = dialog->Graph();
    const int freq8 = graph->freq[8], type8 = graph->type[8];
    const float gain3 = graph->gain[3];
    // The music page's high-pass follow-up comes with the band-0 timer, 200 ms after the move.
    dialog->OnTimer(timer::Id(notice::kPassBand, kMusic, 0));
    EXPECT_EQ(graph->freq[8], freq8) << "the microphone's graph keeps its band 8";
    EXPECT_EQ(graph->type[8], type8) << "the microphone's graph keeps its band 8";
    EXPECT_TRUE(Armed(timer::Id(notice::kPassBand, kMusic, 8)));
    EXPECT_FALSE(Armed(timer::Id(notice::kPassBand, kMic, 8))) << "nothing is armed for the page shown";
    // A band gain from the music page: its own timer, the microphone's graph untouched.
    win::SendMessage(dialog->Client(), notice::kBandGain, 3, 45, PageOf(kMusic));
    EXPECT_EQ(graph->gain[3], gain3);
    EXPECT_TRUE(Armed(timer::Id(notice::kBandGain, kMusic, 3)));
    EXPECT_FALSE(Armed(timer::Id(notice::kBandGain, kMic, 3)));
    // The subwoofer's crossover: sent later, but drawn only on its own page's graph.
    const int crossoverBand = PageOf<PageBassOut>(kBass)->BuildCrossoverCmd()[5];
    const int crossoverFreq = graph->freq[crossoverBand];
    win::SendMessage(dialog->Client(), notice::kCrossover, 0, 0, PageOf(kBass));
    EXPECT_EQ(graph->freq[crossoverBand], crossoverFreq);
    EXPECT_TRUE(Armed(notice::kCrossover));

    sent.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent.size() >= 3; }, 2000));
    QTest::qWait(60);
    ZemCmd::EqFrame crossover = PageOf<PageBassOut>(kBass)->BuildCrossoverCmd();
    crossover.Seal();
    const auto musicFrames = std::count_if(sent.begin(), sent.end(), [](const Bytes& f) {
        return f.size() == 17 && frames::ChannelCode(testbytes::ToCmd(f)) == 1;
    });
    EXPECT_EQ(musicFrames, 2) << "music bands 8 and 3";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Of(crossover)), 1);
    EXPECT_EQ(sent.size(), 3u) << "nothing for the microphone page";
}

TEST_F(Dispatch, BandEditsGoOutAtOnceOffTheEffectPageAndWheelQEverywhere) {
    ShowTab(kMusic);
    Notice(notice::kBandQ, 3, 25);      // Q edit
    Notice(notice::kBandType, 3, kTypeLowShelf);  // type
    Notice(notice::kBandFreq, 3, 800);  // frequency
    Notice(notice::kBandQ, 0, 25);      // Q of band 0 is no band edit
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& f : sent) EXPECT_EQ(f, Of(*PageOf(kMusic)->BuildBandCmd(3)));
    EXPECT_FALSE(Armed(timer::Id(notice::kGraphBandFreqGain, kMusic, 3)));
    sent.clear();
    ShowTab(kEffect);
    Notice(notice::kGraphBandQ, 2, 30);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::vector<int>({sent[0][1], sent[0][3], sent[0][11] | sent[0][12] << 8}),
              std::vector<int>({17, 0x0A, 300}));  // Q x 100
}

TEST_F(Dispatch, TimerKeysBuildTheirFrames) {
    using namespace chan::id;
    // clang-format off
    const int delays[][3] = {{kMain, kLeftDelay, 11}, {kMain, kRightDelay, 12}, {kMid, kDelay, 13}, {kBass, kDelay, 14},
                             {kSurround, kLeftDelay, 15}, {kSurround, kRightDelay, 16}, {kMain, kEchoLevel, 100},
                             {kMid, kEchoLevel, 101}, {kBass, kEchoLevel, 102}, {kSurround, kEchoLevel, 103}};
    // clang-format on
    for (const auto& d : delays) PageOf(d[0])->SetSliderPos(d[1], d[2]);
    PageOf<chan::OutputPage>(kMain)->SetMuteBits(1);
    PageOf<chan::OutputPage>(kBass)->SetMuteBits(1);
    PageOf<PageMusic>(kMusic)->SetMusicInput(3);
    for (std::uint32_t id : {notice::kDelays, notice::kEchoLevels, notice::kMutes, notice::kMutes,
                             notice::kMusicInput, notice::kCrossover, timer::Id(notice::kFbc, kMic),
                             timer::Id(notice::kNoiseGate, kEffect), notice::kEffectBlock})
        dialog->OnTimer(id);
    ZemCmd::EqFrame crossover = PageOf<PageBassOut>(kBass)->BuildCrossoverCmd();
    crossover.Seal();
    // Main and bass muted in one change: both actions, each handed over twice; the repeated notice
    // sends the others' state again.
    // clang-format off
    const std::vector<Bytes> expected = {
        Sealed("A5 13 F1 10 04 0B 00 0C 00 0D 00 0E 00 0F 00 10 00 FF"), Sealed("A5 13 F1 0E 08 12 64 00 64 00 65 00 66 00 67 00 67 00"),
        Sealed("A5 06 F9 03 17"), Sealed("A5 06 F9 03 17"), Sealed("A5 06 F9 03 28"), Sealed("A5 06 F9 03 28"),
        Sealed("A5 06 F9 03 28"), Sealed("A5 06 F9 03 28"), Sealed("A5 06 F9 03 39"),
        Of(crossover), Of(PageOf<PageMic>(kMic)->BuildFbcCmd()), Of(PageOf<PageMic>(kMic)->BuildNoiseGateCmd()),
        Of(PageOf<PageEffect>(kEffect)->BuildEffectCmd())};
    // clang-format on
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(dialog->LastMuteMask(), 0x09);
}

TEST_F(Dispatch, BandAndLimiterTimersPickTheirPath) {
    // Effect page: an effect-path frame with the echo pre-delay, never the band frame.
    PageOf(kEffect)->SetSliderPos(chan::fx::kEchoPreDelay, 37);
    dialog->OnTimer(timer::Id(notice::kGraphBandFreqGain, kEffect, 2));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(
        std::vector<int>({sent[0][1], sent[0][3], sent[0][5], sent[0][14], sent[0][15] | sent[0][16] << 8}),
        std::vector<int>({18, 0x09, 0, 2, *PageOf(kEffect)->SliderPos(chan::fx::kEchoPreDelay)}));

    // Music band 0: its frame, then the follow-up the page makes of it.
    sent.clear();
    dialog->OnTimer(timer::Id(notice::kPassBand, kMusic, 0));
    ZemCmd::EqFrame followUp = *PageOf(kMusic)->BuildBandCmd(0);
    PageOf(kMusic)->FollowUpBandCmd(followUp);
    EXPECT_EQ(sent, (std::vector<Bytes>{Of(*PageOf(kMusic)->BuildBandCmd(0)), Of(followUp)}));

    // Nothing for a page beyond the set, the set-up page or a band beyond the page.
    sent.clear();
    for (std::uint32_t id : {timer::Id(notice::kBandGain, 9, 1), timer::Id(notice::kBandGain, 7, 1),
                             timer::Id(notice::kBandGain, kMusic, 9), timer::Id(notice::kLimiter, 7),
                             0x470u /* a key no notice uses */})
        dialog->OnTimer(id);
    EXPECT_TRUE(sent.empty());

    // The main limiter goes out for both channels, the others once.
    dialog->OnTimer(timer::Id(notice::kLimiter, kMain));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(
        std::vector<int>({sent[0][1], sent[0][6], sent[1][6], (sent[1].back() - sent[0].back()) & 0xFF}),
        std::vector<int>({14, 0, 1, 1}));
    dialog->OnTimer(timer::Id(notice::kLimiter, kMid));
    EXPECT_EQ(sent.size(), 3u);
}

TEST_F(Dispatch, SyncAndEqButtonsSendWholeStates) {
    dialog->SyncAllToDevice();
    // Microphone limiter, FBC and gate, then the bands: music 9, mic 16, effect 3, main 5, mid 3,
    // bass 5, surround 3.
    ASSERT_EQ(sent.size(), 3u + 9 + 16 + 3 + 5 + 3 + 5 + 3);
    EXPECT_EQ(sent[0][3], 0x18) << "the microphone limiter first";
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), IsEq), 3) << "effect-path frames";
    for (std::uint32_t id :
         {timer::Id(notice::kMasterVolume, master::kMic), timer::Id(notice::kMasterVolume, master::kEffect),
          timer::Id(notice::kMasterVolume, master::kMusic), notice::kMusicLevels, notice::kDirectLevels,
          notice::kEchoLevels, notice::kReverbLevels, notice::kEchoHighPass, notice::kEchoLowPass,
          notice::kReverbHighPass, notice::kReverbLowPass, notice::kDelays, notice::kEffectBlock})
        EXPECT_TRUE(Armed(id)) << "timer 0x" << std::hex << id << " armed";
    for (std::uint32_t id : {notice::kMusicInput, notice::kMutes, notice::kCrossover})
        EXPECT_FALSE(Armed(id)) << "timer 0x" << std::hex << id << " not armed";
    sent.clear();
    dialog->OnCommand(kCmdSyncAll);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), testbytes::FromHex("A5 06 F9 03 01 A8"));

    sent.clear();
    ShowTab(kMic);
    dialog->OnEqReset();
    EXPECT_EQ(sent.size(), 15u);  // the shown page's peaking bands
    sent.clear();
    ShowTab(kEffect);
    const bool bypassBefore = dialog->Graph()->bypass;
    dialog->OnEqPass();
    EXPECT_EQ(sent.size(), 3u) << "the effect page's peaking bands";
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), IsEq), 3) << "every frame sent is a band frame";
    EXPECT_NE(dialog->Graph()->bypass, bypassBefore);
}

TEST_F(Dispatch, HeartbeatKeepsTheLinkWhileBytesArriveAndDropsItAfterFiveSilentTicks) {
    PageSetUp* setUp = dialog->SetUpPage();
    dialog->SetConnectedForTests(true);
    dialog->StartHeartbeat();
    EXPECT_TRUE(Armed(kTimerHeartbeat));
    for (int tick = 0; tick < 6; ++tick) {
        setUp->Link().received = 1;
        dialog->OnTimer(kTimerHeartbeat);
    }
    EXPECT_EQ(dialog->LinkWatchdog(), 4) << "a tick that saw bytes resets the watchdog";
    EXPECT_EQ(setUp->Link().received + 0, 0) << "the tick takes the received flag";
    EXPECT_TRUE(dialog->Connected()) << "bytes keep the link";
    // Now silence, at the real pace of the injected period; the last tick still sends its heartbeat.
    sent.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Armed(kTimerHeartbeat); }, 3000));
    EXPECT_FALSE(dialog->Connected());
    EXPECT_EQ(sent, std::vector<Bytes>(5, testbytes::kHeartbeat));
    EXPECT_EQ(Control<StatusLampButton>(kIdStatusLamp)->BitmapId(),
              StatusLampBitmapId(dialog->Language(), false));
    dialog->StartHeartbeat();
    dialog->StopHeartbeat();
    EXPECT_FALSE(Armed(kTimerHeartbeat));
}

TEST_F(Dispatch, FocusOnAnyPeakingBandSelectsItOnTheGraph) {
    ShowTab(kMusic);  // nine bands: peaking 1..7
    for (int band : {1, 7, 8, 0}) Notice(notice::kBandFocus, static_cast<win::WPARAM>(band));
    EXPECT_EQ(dialog->Graph()->selected, 7);
    Notice(notice::kBandFocus, 1);
    EXPECT_EQ(dialog->Graph()->selected, 1);
    EXPECT_TRUE(sent.empty());
}

}  // namespace
