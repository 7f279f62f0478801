// The main window against the simulated processor on a pseudo-terminal: connect, read-back, watchdog.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "pages/page.h"
#include "pages/page_ids.h"
#include "platform/ui/window.h"
#include "sim/processor.h"
#include "tests/console/support.h"

namespace {

// Eats every paint: Qt's raster painting runs on helper threads the thread checker cannot see into.
class NoPainting : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        return e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest;
    }
};

enum { kMusic, kMic, kEffect, kMainOut, kMidOut, kBassOut, kSubOut };

// Values that differ from every page default and from each other.
sim::Store DistinctStore() {
    sim::Store s = sim::DefaultStore();
    s.micMaster = (25 - 70) & 0xFF;  // slider 25
    s.effectMaster = 7;              // slider 67
    s.musicMaster = 10;              // slider 70
    s.levels[sim::kDirectLevel] = {17, 18, 23, 29, 31, 32};
    s.levels[sim::kReverbLevel] = {41, 42, 43, 44, 45, 46};
    s.delays = {3, 4, 5, 6, 7, 8};
    s.limiters[0] = {60, 5, -2, 70};
    s.limiters[2] = {40, 3, -5, 60};  // the subwoofer's
    s.limiters[3] = {70, 4, 10, 20};  // the centre's
    s.limiters[4] = {80, 6, -8, 40};
    s.limiters[sim::kMicLimiter] = {30, 7, 1, 55};
    s.Eq(sim::Path::Mic)[5] = {0, 25600 + 450, 777, 250, 0, 0};
    s.Eq(sim::Path::Main)[2] = {1, 25600 + 100, 1111, 100, 0, 0};
    s.Eq(sim::Path::Mid)[1] = {1, 25600 + 200, 333, 100, 0, 0};
    s.Eq(sim::Path::Bass)[2] = {1, 25600 + 300, 66, 100, 0, 0};
    s.Eq(sim::Path::Surround)[3] = {1, 25600 + 400, 4444, 100, 0, 0};
    s.Eq(sim::Path::Echo)[2] = {1, 25600 - 500, 1500, 100, 0, 0};
    return s;
}

class ConnectEndToEnd : public testing::Test {
  protected:
    void StartSim(bool silent) {
        [[maybe_unused]] static bool filtered = (TestApp().installEventFilter(new NoPainting), true);
        sim::Options o;
        o.start = DistinctStore();
        o.faults.silent = silent;
        sim = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        setenv("K417B_PORTS", sim->SlavePath().c_str(), 1);
        dialog = StartMainWindow("connect_e2e_test.ini", [](auto& d) {
            d.firstConnectDelayMs = 1000000;  // the test asks for the connect itself
            d.connectTickMs = 40;
            d.heartbeatPeriodMs = 60;
        });
    }
    void TearDown() override {
        dialog.reset();  // stops the sender and the reader before the terminal goes
        if (sim) sim->Stop();
        unsetenv("K417B_PORTS");
        std::remove("connect_e2e_test.ini");
    }
    Page* PageAt(int i) { return dynamic_cast<Page*>(dialog->PageAt(i)); }
    const auto& Band(int page) { return PageAt(page)->Model().band; }
    int Pos(int page, int id) { return PageAt(page)->SliderPos(id).value_or(-9999); }
    // Frames the simulator received with bytes 2.. starting with `head`; `distinct`: `size` long, each once.
    int Received(std::vector<std::uint8_t> head, std::size_t distinct = 0) const {
        std::set<std::string> seen;  // frames as byte strings
        int n = 0;
        for (const sim::LogEntry& e : sim->Log())
            n += e.dir == "rx" && e.bytes.size() > 4 &&
                 std::equal(head.begin(), head.end(), e.bytes.begin() + 2) &&
                 (!distinct || (e.bytes.size() == distinct &&
                                seen.insert(std::string(e.bytes.begin(), e.bytes.end())).second));
        return n;
    }
    std::string Log() { return dialog->SetUpPage()->Log().Text(); }

    std::unique_ptr<sim::Processor> sim;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

TEST_F(ConnectEndToEnd, ReadsEveryParameterIntoThePagesThenWatchdogNoticesSilence) {
    StartSim(false);
    dialog->OnConnect();
    EXPECT_EQ(std::tuple(dialog->m_connected, dialog->SetUpPage()->Link().frameMode.load(),
                         dialog->Timers().IsSet(console::kTimerHeartbeat)),
              std::tuple(1, 0, true));
    // every step but the silent one and the end command; the unanswered end: three retries, then done
    EXPECT_EQ(std::tuple(Received({0xF4}, 9), Received({0xF1, 0xF0, 0x77})), std::tuple(65, 4));
    EXPECT_NE(Log().find("Open Uart=1\nOpen Ok\nStart Resv Data\nRead Mic Vol\n"), std::string::npos);

    auto slider = [&](int id) { return win::FindControlAs<QSlider>(dialog->Client(), id)->value(); };
    EXPECT_EQ(std::tuple(slider(console::kIdMicSlider), slider(console::kIdEffectSlider),
                         slider(console::kIdMusicSlider), TextOf(dialog->Client(), console::kIdMusicValue)),
              std::tuple(25, 67, 70, "70"));
    // page, slider, value: levels, limiters and delays each on their own page
    // clang-format off
    using namespace pageid;
    const std::tuple<int, int, int> sliders[] = {
        {kMainOut, kDirectLevelSlider, 17}, {kMainOut, kReverbLevelSlider, 41}, {kMainOut, kLimitSlider, -2},
        {kMidOut, kDirectLevelSlider, 23}, {kMidOut, kReverbLevelSlider, 43}, {kMidOut, kLimitSlider, 10},
        {kBassOut, kDirectLevelSlider, 29}, {kBassOut, kReverbLevelSlider, 44}, {kBassOut, kLimitSlider, -5},
        {kSubOut, kDirectLevelSlider, 31}, {kSubOut, kReverbLevelSlider, 45}, {kSubOut, kLimitSlider, -8},
        {kBassOut, kStartTimeSlider, 40}, {kMidOut, kAttackSlider, 4}, {kMic, kRatioSlider, 55},
        {kMainOut, kRightDelaySlider, 4}, {kMidOut, kDelaySlider, 5}, {kBassOut, kDelaySlider, 6},
        {kSubOut, kRightDelaySlider, 8}};  // the effect block: the reply tests
    // page, band, Hz, gain (x2: exact)
    const std::tuple<int, int, int, int> bands[] = {  // music bands: the reply tests
        {kMic, 5, 777, 9}, {kMainOut, 2, 1111, 2}, {kMidOut, 1, 333, 4}, {kBassOut, 2, 66, 6}, {kSubOut, 3, 4444, 8},
        {kEffect, 2, 1500, -10}};
    // clang-format on
    for (const auto& [page, id, value] : sliders) EXPECT_EQ(Pos(page, id), value) << page << " " << id;
    for (const auto& [page, band, hz, gain2] : bands)
        EXPECT_EQ(std::tuple(Band(page).freq[band], Band(page).gain[band] * 2), std::tuple(hz, gain2))
            << page;
    EXPECT_EQ(Band(kMic).enabled[5], 0);

    // The link stays quiet from here on: five silent heartbeat ticks and the console lets go.
    sim::Faults silent;
    silent.silent = true;
    sim->SetFaults(silent);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (dialog->m_connected != 0 && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(std::tuple(dialog->m_connected, dialog->Timers().IsSet(console::kTimerHeartbeat)),
              std::tuple(0, false));
}

TEST_F(ConnectEndToEnd, SilentProcessorLeavesTheConsoleDisconnected) {
    StartSim(true);
    win::PostMessage(dialog.get(), console::kMsgConnect, 0,
                     0);  // arrives while the dialog runs: no second scan
    dialog->OnConnect();
    EXPECT_EQ(std::tuple(dialog->m_connected, dialog->Timers().IsSet(console::kTimerHeartbeat),
                         dialog->SetUpPage()->Link().frameMode.load(), dialog->m_linkWatchdog),
              std::tuple(0, false, 0, 4));
    // three probes, then the next ports
    EXPECT_EQ(std::tuple(Received({0xF9, 0x03, 0x04}), Received({0xF4}, 9)), std::tuple(3, 0));
    EXPECT_NE(Log().find("Open Uart=30\n"), std::string::npos);
    EXPECT_EQ(Log().find("Open Uart=1\n"), Log().rfind("Open Uart=1\n"));  // one scan only
    EXPECT_FALSE(dialog->SetUpPage()->Link().IsOpen());
}

}  // namespace
