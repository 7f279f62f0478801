// The main window's notices, timers and bulk senders, observed at the entrance of the send queue.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTabBar>
#include <memory>
#include <set>

#include "console/control_ids.h"
#include "console/frame_build.h"
#include "console/images.h"
#include "console/main_dialog.h"
#include "console/status_lamp_button.h"
#include "console/timer_ids.h"
#include "controls/graph_wave.h"
#include "frame_bytes.h"
#include "link/ui/page_setup.h"
#include "pages/channel_output_page.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "platform/ui/controls.h"
#include "tests/console/qt_app.h"

using namespace console;

namespace {

constexpr int kMusic = 0, kMic = 1, kEffect = 2, kMain = 3, kMid = 4, kBass = 5, kSurround = 6;

class Dispatch : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = "dispatch_test_config.ini";
        options.logPath.clear();
        options.firstConnectDelayMs = 600000;
        options.debounceMs = 30;
        options.heartbeatPeriodMs = 20;
        options.frameTap = [this](const ZemCmd::Cmd& f) { sent.push_back(Bytes(f)); };
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        sent.clear();
    }
    void TearDown() override { dialog.reset(); }

    template <class T = Page>
    T* PageOf(int index) {
        return qobject_cast<T*>(dialog->PageAt(index));
    }
    win::LRESULT Notice(unsigned msg, win::WPARAM w = 0, win::LPARAM l = 0) {
        return win::SendMessage(dialog->Client(), msg, w, l);
    }
    void ShowTab(int index) { dialog->TabStrip()->setCurrentIndex(index); }
    // Runs the event loop until `done` or the time is up.
    template <class F>
    bool RunUntil(F done, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    void RunFor(int ms) {
        RunUntil([] { return false; }, ms);
    }
    bool Armed(std::uint32_t id) const { return dialog->Timers().IsSet(id); }

    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::vector<std::vector<int>> sent;
};

TEST_F(Dispatch, ASeriesOfNoticesSendsOneFrameWithTheLastValueAfterTheDebounce) {
    Page* mainOut = PageOf(kMain);
    for (int level : {10, 50, 120}) {
        mainOut->SetSliderPos(chan::id::kMusicLevel, level);
        EXPECT_EQ(Notice(timer::kMusicMix), 1);
        RunFor(5);
    }
    EXPECT_TRUE(sent.empty());
    ASSERT_TRUE(RunUntil([&] { return !sent.empty(); }, 2000));
    RunFor(80);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][1], 17);
    EXPECT_EQ(sent[0][6], 120);
    EXPECT_EQ(sent[0][7], 120);
    EXPECT_FALSE(Armed(timer::kMusicMix));
}

TEST_F(Dispatch, NoticesArmTheirTimersPerPageAndBand) {
    struct Row {
        int tab;
        unsigned msg;
        win::WPARAM w;
        win::LPARAM l;
        std::uint32_t armed;  // 0: nothing may be armed
    } rows[] = {
        {kMusic, 0x468, 3, -45, timer::Id(0x468, kMusic, 3)},
        {kMic, 0x468, 16, 10, timer::Id(0x468, kMic, 16)},
        {kMusic, 0x468, 0, 10, 0},  // band 0 has no gain
        {kMusic, 0x468, 9, 10, 0},  // beyond the page's bands
        {kMusic, 0x467, (4u << 16) | 1000u, 35, timer::Id(0x467, kMusic, 4)},
        {kMusic, 0x467, ((4u | 0x100u) << 16) | 1000u, 35, 0},  // a press alone
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
        {kMusic, 0x47C, 0, 0, timer::kMusicInput},
        {kMain, 0x47D, 0, 0, timer::kMutes},
        {kEffect, 0x471, 0, 0, timer::kEffectBlock},
        {kEffect, 0x479, 0, 0, timer::kReverbLowPass},
    };
    for (const Row& r : rows) {
        ShowTab(r.tab);
        const std::size_t before = dialog->Timers().Count();
        EXPECT_EQ(Notice(r.msg, r.w, r.l), 1);
        if (r.armed) {
            EXPECT_TRUE(Armed(r.armed)) << std::hex << r.msg << " tab " << r.tab;
        } else {
            EXPECT_EQ(dialog->Timers().Count(), before) << std::hex << r.msg << " tab " << r.tab;
        }
        EXPECT_TRUE(sent.empty()) << std::hex << r.msg;
    }
}

TEST_F(Dispatch, BandGainNoticeMovesTheGraphAndTwoBandsBothGoOut) {
    ShowTab(kMusic);
    Notice(0x468, 2, -35);
    Notice(0x468, 5, 60);
    EXPECT_FLOAT_EQ(dialog->Graph()->gain[2], -3.5f);
    EXPECT_FLOAT_EQ(dialog->Graph()->gain[5], 6.0f);
    EXPECT_EQ(dialog->Graph()->selected, 5);
    ASSERT_TRUE(RunUntil([&] { return sent.size() >= 2; }, 2000));
    RunFor(60);
    ASSERT_EQ(sent.size(), 2u);
    std::set<int> bands = {sent[0][5], sent[1][5]};
    EXPECT_EQ(bands, (std::set<int>{2, 5}));
}

TEST_F(Dispatch, BandEditsOffTheEffectPageGoOutAtOnceAsBuilt) {
    ShowTab(kMusic);
    Notice(0x469, 3, 25);   // Q edit
    Notice(0x46A, 3, 2);    // type
    Notice(0x46B, 3, 800);  // frequency
    ASSERT_EQ(sent.size(), 3u);
    const auto built = PageOf(kMusic)->BuildBandCmd(3);
    for (const auto& f : sent) EXPECT_EQ(f, Bytes(*built));
    EXPECT_FALSE(Armed(timer::Id(timer::kGraphBand, kMusic, 3)));
    // Q of band 0 is no band edit.
    Notice(0x469, 0, 25);
    EXPECT_EQ(sent.size(), 3u);
}

TEST_F(Dispatch, WheelQGoesOutAtOnceEvenOnTheEffectPage) {
    ShowTab(kEffect);
    Notice(0x466, 2, 30);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][1], 17);
    EXPECT_EQ(sent[0][3], 0x0A);
    EXPECT_EQ(sent[0][11] | sent[0][12] << 8, 300);  // Q x 100
}

TEST_F(Dispatch, TimerKeysBuildTheirFrames) {
    auto* mainOut = PageOf<chan::OutputPage>(kMain);
    auto* mid = PageOf<chan::OutputPage>(kMid);
    auto* bass = PageOf<chan::OutputPage>(kBass);
    auto* surround = PageOf<chan::OutputPage>(kSurround);
    mainOut->SetSliderPos(chan::id::kLeftDelay, 11);
    mainOut->SetSliderPos(chan::id::kRightDelay, 12);
    mid->SetSliderPos(chan::id::kDelay, 13);
    bass->SetSliderPos(chan::id::kDelay, 14);
    surround->SetSliderPos(chan::id::kLeftDelay, 15);
    surround->SetSliderPos(chan::id::kRightDelay, 16);
    mainOut->SetSliderPos(chan::id::kEchoLevel, 100);
    mid->SetSliderPos(chan::id::kEchoLevel, 101);
    bass->SetSliderPos(chan::id::kEchoLevel, 102);
    surround->SetSliderPos(chan::id::kEchoLevel, 103);
    mainOut->SetMuteBits(1);
    bass->SetMuteBits(1);

    dialog->OnTimer(timer::kDelays);
    dialog->OnTimer(timer::kEchoMix);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], Sealed({0xA5, 0x13, 0xF1, 0x10, 4, 11, 0, 12, 0, 13, 0, 14, 0, 15, 0, 16, 0, 0xFF}));
    EXPECT_EQ(sent[1],
              Sealed({0xA5, 0x13, 0xF1, 0x0E, 8, 0x12, 100, 0, 100, 0, 101, 0, 102, 0, 103, 0, 103, 0}));

    sent.clear();
    auto* music = PageOf<PageMusic>(kMusic);
    music->SetMusicInput(3);
    dialog->OnTimer(timer::kMusicInput);
    dialog->OnTimer(timer::kCrossover);
    dialog->OnTimer(timer::Id(timer::kFbc, kMic));
    dialog->OnTimer(timer::Id(timer::kNoiseGate, kEffect));
    dialog->OnTimer(timer::kEffectBlock);
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0], Sealed({0xA5, 0x06, 0xF9, 0x03, 0x39}));
    ZemCmd::EqFrame crossover = PageOf<PageBassOut>(kBass)->BuildCrossoverCmd();
    crossover.Seal();
    EXPECT_EQ(sent[1], Bytes(crossover));
    EXPECT_EQ(sent[1].back(), Sealed(std::vector<int>(sent[1].begin(), sent[1].end() - 1)).back());
    EXPECT_EQ(sent[2], Bytes(PageOf<PageMic>(kMic)->BuildFbcCmd()));
    EXPECT_EQ(sent[3], Bytes(PageOf<PageMic>(kMic)->BuildNoiseGateCmd()));
    EXPECT_EQ(sent[4], Bytes(PageOf<PageEffect>(kEffect)->BuildEffectCmd()));
}

TEST_F(Dispatch, MuteTimerSendsTwiceAndRemembersTheMask) {
    auto* mainOut = PageOf<chan::OutputPage>(kMain);
    auto* bass = PageOf<chan::OutputPage>(kBass);
    mainOut->SetMuteBits(1);
    bass->SetMuteBits(1);
    dialog->OnTimer(timer::kMutes);
    dialog->OnTimer(timer::kMutes);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], Sealed({0xA5, 0x06, 0xF9, 0x03, 0x17}));
    EXPECT_EQ(sent[1], sent[0]);
    EXPECT_EQ(sent[2], Sealed({0xA5, 0x06, 0xF9, 0x03, 0x28}));
    EXPECT_EQ(dialog->m_lastMuteMask, 0x09);
}

TEST_F(Dispatch, BandTimersTakeTheEffectPathOrTheFollowUp) {
    // Effect page: an effect-path frame with the echo pre-delay, never the band frame.
    PageOf(kEffect)->SetSliderPos(chan::fx::kEchoPreDelay, 37);
    dialog->OnTimer(timer::Id(timer::kGraphBand, kEffect, 2));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][1], 18);
    EXPECT_EQ(sent[0][3], 0x09);
    EXPECT_EQ(sent[0][5], 0);
    EXPECT_EQ(sent[0][14], 2);
    EXPECT_EQ(sent[0][15] | sent[0][16] << 8, PageOf(kEffect)->SliderPos(chan::fx::kEchoPreDelay).value());

    // Music band 0: its frame, then the follow-up the page makes of it.
    sent.clear();
    dialog->OnTimer(timer::Id(timer::kPassBand, kMusic, 0));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], Bytes(*PageOf(kMusic)->BuildBandCmd(0)));
    ZemCmd::EqFrame followUp = *PageOf(kMusic)->BuildBandCmd(0);
    PageOf(kMusic)->FollowUpBandCmd(followUp);
    EXPECT_EQ(sent[1], Bytes(followUp));

    // Nothing for a page beyond the set, the set-up page or a band beyond the page.
    sent.clear();
    dialog->OnTimer(timer::Id(timer::kBandGain, 9, 1));
    dialog->OnTimer(timer::Id(timer::kBandGain, 7, 1));
    dialog->OnTimer(timer::Id(timer::kBandGain, kMusic, 9));
    dialog->OnTimer(timer::Id(timer::kLimiter, 7));
    dialog->OnTimer(0x470);
    EXPECT_TRUE(sent.empty());
}

TEST_F(Dispatch, MainLimiterGoesOutForBothChannels) {
    dialog->OnTimer(timer::Id(timer::kLimiter, kMain));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][1], 14);
    EXPECT_EQ(sent[0][6], 0);
    EXPECT_EQ(sent[1][6], 1);
    EXPECT_EQ(sent[1].back(), (sent[0].back() + 1) & 0xFF);
    sent.clear();
    dialog->OnTimer(timer::Id(timer::kLimiter, kMid));
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(Dispatch, PreDelayNoticeResendsTheLowPassFrameWithIt) {
    auto* effect = PageOf<PageEffect>(kEffect);
    effect->SetSliderPos(chan::fx::kEchoPreDelay, 5);
    effect->SetSliderPos(chan::fx::kEchoLowPass, 8000);
    ShowTab(kEffect);
    Notice(0x477);
    EXPECT_EQ(effect->Model().band.freq[effect->GetBandCount() - 1], 8000);
    EXPECT_EQ(dialog->Graph()->freq[4], 8000);
    EXPECT_EQ(dialog->Graph()->type[4], 5);
    ASSERT_TRUE(RunUntil([&] { return !sent.empty(); }, 2000));
    EXPECT_EQ(sent[0], Sealed({0xA5, 0x12, 0xF1, 0x09, 8, 0, 0x40, 0x1F, 0x50, 0x5F, 60, 0, 4, 1, 4, 5, 0}));
}

TEST_F(Dispatch, MasterVolumeTimerSendsThePositionAndClearsThePendingMark) {
    auto* music = win::FindControlAs<QSlider>(dialog->Client(), kIdMusicSlider);
    ASSERT_NE(music, nullptr);
    music->setValue(59);
    dialog->m_masterPending = true;
    dialog->OnTimer(timer::Id(timer::kMasterVolume, 3));  // no such slider
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(dialog->m_masterPending);
    dialog->OnTimer(timer::Id(timer::kMasterVolume, 2));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0],
              Sealed({0xA5, 0x11, 0xF1, 0x0F, 1, 0x01, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0, 0, 4, 0}));
    EXPECT_FALSE(dialog->m_masterPending);

    dialog->ArmMasterVolumeTimers();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Armed(timer::Id(timer::kMasterVolume, i)));
}

TEST_F(Dispatch, SyncSendsEveryStateOnceAndArmsTheRest) {
    dialog->SyncAllToDevice();
    // Microphone limiter, FBC and gate, then the bands: music 9, mic 16, effect 3, main 5, mid 3,
    // bass 5, surround 3.
    ASSERT_EQ(sent.size(), 3u + 9 + 16 + 3 + 5 + 3 + 5 + 3);
    EXPECT_EQ(sent[0][3], 0x18);
    int effectPath = 0;
    for (const auto& f : sent) effectPath += f[3] == 0x09;
    EXPECT_EQ(effectPath, 3);
    for (std::uint32_t id : {timer::Id(0x465, 0), timer::Id(0x465, 1), timer::Id(0x465, 2), 0x472u, 0x473u,
                             0x474u, 0x475u, 0x476u, 0x477u, 0x478u, 0x479u, 0x46Cu, 0x471u})
        EXPECT_TRUE(Armed(id)) << std::hex << id;
    EXPECT_FALSE(Armed(timer::kMutes));
    EXPECT_FALSE(Armed(timer::kMusicInput));
    EXPECT_FALSE(Armed(timer::kCrossover));

    sent.clear();
    dialog->OnCommand(kCmdSyncAll);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (std::vector<int>{0xA5, 0x06, 0xF9, 0x03, 0x01, 0xA8}));
}

TEST_F(Dispatch, EqButtonsSendThePeakingBandsOfTheShownPage) {
    ShowTab(kMic);
    dialog->OnEqReset();
    EXPECT_EQ(sent.size(), 15u);
    sent.clear();
    ShowTab(kEffect);
    const bool bypassBefore = dialog->Graph()->bypass;
    dialog->OnEqPass();
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& f : sent) EXPECT_EQ(f[3], 0x09);
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
    EXPECT_EQ(dialog->m_linkWatchdog, 4);
    EXPECT_EQ(setUp->Link().received, 0);
    EXPECT_EQ(dialog->m_connected, 1);

    // Now silence, at the real pace of the injected period.
    sent.clear();
    ASSERT_TRUE(RunUntil([&] { return !Armed(kTimerHeartbeat); }, 3000));
    EXPECT_EQ(dialog->m_connected, 0);
    EXPECT_EQ(sent.size(), 5u);  // the last tick still sends its heartbeat
    for (const auto& f : sent) EXPECT_EQ(f, (std::vector<int>{0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD}));
    auto* lamp = win::FindControlAs<StatusLampButton>(dialog->Client(), kIdStatusLamp);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->BitmapId(), StatusLampBitmapId(dialog->m_language, false));

    dialog->StartHeartbeat();
    dialog->StopHeartbeat();
    EXPECT_FALSE(Armed(kTimerHeartbeat));
}

TEST_F(Dispatch, FocusOnAnyPeakingBandSelectsItOnTheGraph) {
    ShowTab(kMusic);  // nine bands: peaking 1..7
    for (int band : {1, 7}) {
        Notice(0x47B, static_cast<win::WPARAM>(band));
        EXPECT_EQ(dialog->Graph()->selected, band);
    }
    Notice(0x47B, 8);
    Notice(0x47B, 0);
    EXPECT_EQ(dialog->Graph()->selected, 7);
    EXPECT_TRUE(sent.empty());
}

}  // namespace
