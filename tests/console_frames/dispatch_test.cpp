// The main window's notices, timers and bulk senders, observed at the entrance of the send queue.
#include <gtest/gtest.h>

#include <QTest>
#include <set>

#include "console/frame_build.h"
#include "console/images.h"
#include "console/status_lamp_button.h"
#include "controls/graph_layout.h"
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
constexpr int kMusic = 0, kMic = 1, kEffect = 2, kMain = 3, kMid = 4, kBass = 5, kSurround = 6;

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
        {kMic, 0x468, 16, 10, timer::Id(0x468, kMic, 16)},
        {kMusic, 0x468, 0, 10, 0},  // band 0 has no gain
        {kMusic, 0x468, 9, 10, 0},  // beyond the page's bands
        {kMusic, 0x467, (4u << 16) | 1000u, 35, timer::Id(0x467, kMusic, 4)},
        {kMusic, 0x467, ((5u | 0x100u) << 16) | 1000u, 35, timer::Id(0x467, kMusic, 5)},  // a press moves it too
        {kEffect, 0x469, 2, 25, timer::Id(0x467, kEffect, 2)},
        {kEffect, 0x46A, 1, 2, timer::Id(0x467, kEffect, 1)},
        {kMain, 0x46D, 0, 0, timer::Id(0x46D, kMain)},
        {kMusic, 0x46E, 0, 0, 0},
        {kMic, 0x46E, 0, 0, timer::Id(0x46E, kMic)},
        {kEffect, 0x46F, 0, 0, timer::Id(0x46F, kEffect)},
        {kMain, 0x46F, 0, 0, 0},
        {kMusic, 0x47A, 120, (0 << 16) | 4, timer::Id(0x47A, kMusic, 0)},
        {kMusic, 0x47A, 120, (9 << 16) | 4, 0},
        {kMain, 0x46C, 0, 0, timer::kDelays},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.msg << " " << r.tab);
        ShowTab(r.tab);
        const std::size_t before = dialog->Timers().Count();
        EXPECT_TRUE(Notice(r.msg, r.w, r.l) == 1 && sent.empty());
        EXPECT_TRUE(r.armed ? Armed(r.armed) : dialog->Timers().Count() == before);
    }
}

TEST_F(Dispatch, DebouncedNoticesSendTheLastValueOncePerTimer) {
    for (int level : {10, 50, 120}) {
        PageOf(kMain)->SetSliderPos(chan::id::kMusicLevel, level);
        EXPECT_EQ(Notice(timer::kMusicMix), 1);
        QTest::qWait(5);
    }
    EXPECT_TRUE(sent.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sent.empty(); }, 2000));
    QTest::qWait(80);
    ASSERT_TRUE(sent.size() == 1u && !Armed(timer::kMusicMix));
    EXPECT_EQ(std::vector<int>({sent[0][1], sent[0][6], sent[0][7]}), std::vector<int>({17, 120, 120}));

    // Two bands' gains: the graph follows at once, both frames go out.
    sent.clear();
    ShowTab(kMusic);
    Notice(0x468, 2, -35);
    Notice(0x468, 5, 60);
    EXPECT_EQ(std::make_tuple(dialog->Graph()->gain[2], dialog->Graph()->gain[5], dialog->Graph()->selected),
              std::make_tuple(-3.5f, 6.0f, 5));  // exact in binary
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
    Notice(0x477);
    EXPECT_EQ(std::make_tuple(effect->Model().band.freq[effect->GetBandCount() - 1], dialog->Graph()->freq[4],
                              dialog->Graph()->type[4]),
              std::make_tuple(8000, 8000, 5));
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
    EXPECT_TRUE(Armed(timer::Id(timer::kGraphBand, kMain, band)));
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
    dialog->OnTimer(timer::Id(timer::kPassBand, kMusic, 0));
    EXPECT_EQ(graph->freq[8], freq8) << "the microphone's graph keeps its band 8";
    EXPECT_EQ(graph->type[8], type8) << "the microphone's graph keeps its band 8";
    EXPECT_TRUE(Armed(timer::Id(timer::kPassBand, kMusic, 8)));
    EXPECT_FALSE(Armed(timer::Id(timer::kPassBand, kMic, 8))) << "nothing is armed for the page shown";
    // A band gain from the music page: its own timer, the microphone's graph untouched.
    win::SendMessage(dialog->Client(), timer::kBandGain, 3, 45, PageOf(kMusic));
    EXPECT_EQ(graph->gain[3], gain3);
    EXPECT_TRUE(Armed(timer::Id(timer::kBandGain, kMusic, 3)));
    EXPECT_FALSE(Armed(timer::Id(timer::kBandGain, kMic, 3)));
    // The subwoofer's crossover: sent later, but drawn only on its own page's graph.
    const int crossoverBand = PageOf<PageBassOut>(kBass)->BuildCrossoverCmd()[5];
    const int crossoverFreq = graph->freq[crossoverBand];
    win::SendMessage(dialog->Client(), timer::kCrossover, 0, 0, PageOf(kBass));
    EXPECT_EQ(graph->freq[crossoverBand], crossoverFreq);
    EXPECT_TRUE(Armed(timer::kCrossover));

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
    Notice(0x469, 3, 25);   // Q edit
    Notice(0x46A, 3, 2);    // type
    Notice(0x46B, 3, 800);  // frequency
    Notice(0x469, 0, 25);   // Q of band 0 is no band edit
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& f : sent) EXPECT_EQ(f, Of(*PageOf(kMusic)->BuildBandCmd(3)));
    EXPECT_FALSE(Armed(timer::Id(timer::kGraphBand, kMusic, 3)));
    sent.clear();
    ShowTab(kEffect);
    Notice(0x466, 2, 30);
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
    for (std::uint32_t id : {timer::kDelays, timer::kEchoMix, timer::kMutes, timer::kMutes,
                             timer::kMusicInput, timer::kCrossover, timer::Id(timer::kFbc, kMic),
                             timer::Id(timer::kNoiseGate, kEffect), timer::kEffectBlock})
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
    dialog->OnTimer(timer::Id(timer::kGraphBand, kEffect, 2));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(
        std::vector<int>({sent[0][1], sent[0][3], sent[0][5], sent[0][14], sent[0][15] | sent[0][16] << 8}),
        std::vector<int>({18, 0x09, 0, 2, *PageOf(kEffect)->SliderPos(chan::fx::kEchoPreDelay)}));

    // Music band 0: its frame, then the follow-up the page makes of it.
    sent.clear();
    dialog->OnTimer(timer::Id(timer::kPassBand, kMusic, 0));
    ZemCmd::EqFrame followUp = *PageOf(kMusic)->BuildBandCmd(0);
    PageOf(kMusic)->FollowUpBandCmd(followUp);
    EXPECT_EQ(sent, (std::vector<Bytes>{Of(*PageOf(kMusic)->BuildBandCmd(0)), Of(followUp)}));

    // Nothing for a page beyond the set, the set-up page or a band beyond the page.
    sent.clear();
    for (std::uint32_t id : {timer::Id(timer::kBandGain, 9, 1), timer::Id(timer::kBandGain, 7, 1),
                             timer::Id(timer::kBandGain, kMusic, 9), timer::Id(timer::kLimiter, 7), 0x470u})
        dialog->OnTimer(id);
    EXPECT_TRUE(sent.empty());

    // The main limiter goes out for both channels, the others once.
    dialog->OnTimer(timer::Id(timer::kLimiter, kMain));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(
        std::vector<int>({sent[0][1], sent[0][6], sent[1][6], (sent[1].back() - sent[0].back()) & 0xFF}),
        std::vector<int>({14, 0, 1, 1}));
    dialog->OnTimer(timer::Id(timer::kLimiter, kMid));
    EXPECT_EQ(sent.size(), 3u);
}

TEST_F(Dispatch, SyncAndEqButtonsSendWholeStates) {
    dialog->SyncAllToDevice();
    // Microphone limiter, FBC and gate, then the bands: music 9, mic 16, effect 3, main 5, mid 3,
    // bass 5, surround 3.
    ASSERT_EQ(sent.size(), 3u + 9 + 16 + 3 + 5 + 3 + 5 + 3);
    EXPECT_EQ(std::make_pair(sent[0][3] + 0, std::count_if(sent.begin(), sent.end(), IsEq)),
              std::make_pair(0x18, 3l));
    for (std::uint32_t id :
         {timer::Id(0x465, 0), timer::Id(0x465, 1), timer::Id(0x465, 2), 0x472u, 0x473u, 0x474u, 0x475u,
          0x476u, 0x477u, 0x478u, 0x479u, 0x46Cu, 0x471u, 0x47Cu, 0x47Du, 0x47Eu})
        EXPECT_EQ(Armed(id), id < 0x47C || id > 0xFFFF) << std::hex << id;  // not the mutes, input, crossover
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
    EXPECT_EQ(std::make_pair(sent.size(), std::count_if(sent.begin(), sent.end(), IsEq)),
              std::make_pair(3ul, 3l));
    EXPECT_NE(dialog->Graph()->bypass, bypassBefore);
}

TEST_F(Dispatch, HeartbeatKeepsTheLinkWhileBytesArriveAndDropsItAfterFiveSilentTicks) {
    PageSetUp* setUp = dialog->SetUpPage();
    dialog->m_connected = 1;
    dialog->StartHeartbeat();
    EXPECT_TRUE(Armed(kTimerHeartbeat));
    for (int tick = 0; tick < 6; ++tick) {
        setUp->Link().received = 1;
        dialog->OnTimer(kTimerHeartbeat);
    }
    EXPECT_EQ(std::make_tuple(dialog->LinkWatchdog(), setUp->Link().received + 0, dialog->m_connected),
              std::make_tuple(4, 0, 1));
    // Now silence, at the real pace of the injected period; the last tick still sends its heartbeat.
    sent.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Armed(kTimerHeartbeat); }, 3000));
    EXPECT_EQ(dialog->m_connected, 0);
    EXPECT_EQ(sent, std::vector<Bytes>(5, testbytes::kHeartbeat));
    EXPECT_EQ(Control<StatusLampButton>(kIdStatusLamp)->BitmapId(),
              StatusLampBitmapId(dialog->m_language, false));
    dialog->StartHeartbeat();
    dialog->StopHeartbeat();
    EXPECT_FALSE(Armed(kTimerHeartbeat));
}

TEST_F(Dispatch, FocusOnAnyPeakingBandSelectsItOnTheGraph) {
    ShowTab(kMusic);  // nine bands: peaking 1..7
    for (int band : {1, 7, 8, 0}) Notice(0x47B, static_cast<win::WPARAM>(band));
    EXPECT_EQ(dialog->Graph()->selected, 7);
    Notice(0x47B, 1);
    EXPECT_EQ(dialog->Graph()->selected, 1);
    EXPECT_TRUE(sent.empty());
}

}  // namespace
