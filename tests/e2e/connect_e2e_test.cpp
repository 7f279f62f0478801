// The real main window against the in-process simulated processor on a pseudo-terminal: the
// connect finds it, reads every parameter back into the pages, and the watchdog notices silence.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <thread>
#include <tuple>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "link/ui/page_setup.h"
#include "pages/channel_output_page.h"
#include "pages/channel_sliders.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "platform/ui/controls.h"
#include "platform/ui/window.h"
#include "sim/processor.h"

namespace {

// Eats every paint: Qt's raster painting hands work to helper threads the thread checker cannot
// see into, and nothing here is about pixels.
class NoPainting : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest;
    }
};

QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    static NoPainting* filter = [] {
        auto* f = new NoPainting;
        app->installEventFilter(f);
        return f;
    }();
    (void)filter;
    return *app;
}

enum { kMusic, kMic, kEffect, kMainOut, kMidOut, kBassOut, kSubOut };

// A store whose values differ from every page default and from each other.
sim::Store DistinctStore() {
    sim::Store s = sim::DefaultStore();
    s.micMaster = (25 - 70) & 0xFF;  // slider 25
    s.effectMaster = 7;              // slider 67
    s.musicMaster = 10;              // slider 70
    s.levels[sim::kDirectLevel] = {17, 18, 23, 29, 31, 32};
    s.levels[sim::kReverbLevel] = {41, 42, 43, 44, 45, 46};
    s.delays = {3, 4, 5, 6, 7, 8};
    s.limiters[0] = {60, 5, -2, 70};
    s.limiters[2] = {40, 3, -5, 60};  // the subwoofer's limiter
    s.limiters[3] = {70, 4, 10, 20};  // the centre's
    s.limiters[4] = {80, 6, -8, 40};
    s.limiters[sim::kMicLimiter] = {30, 7, 1, 55};
    s.fbcOn = 1;
    s.fbc = {100, 4, 0};
    s.mutes = 0x05;
    s.limits = {1, 80, 2, 81, 3, 66};
    s.group = 3;
    s.musicInput = 1;
    s.effect[1] = 41;  // room size
    s.Eq(sim::Path::Mic)[5] = {0, 25600 + 450, 777, 250, 0, 0};
    s.Eq(sim::Path::Music)[3] = {1, 25600 - 300, 2222, 150, 0, 0};
    s.Eq(sim::Path::Main)[2] = {1, 25600 + 100, 1111, 100, 0, 0};
    s.Eq(sim::Path::Mid)[1] = {1, 25600 + 200, 333, 100, 0, 0};
    s.Eq(sim::Path::Bass)[2] = {1, 25600 + 300, 66, 100, 0, 0};
    s.Eq(sim::Path::Surround)[3] = {1, 25600 + 400, 4444, 100, 0, 0};
    s.Eq(sim::Path::Echo)[2] = {1, 25600 - 500, 1500, 100, 0, 0};
    return s;
}

class ConnectEndToEnd : public testing::Test {
  protected:
    void StartSim(const sim::Faults& faults) {
        TestApp();
        sim::Options o;
        o.start = DistinctStore();
        o.faults = faults;
        sim = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        setenv("K417B_PORTS", sim->SlavePath().c_str(), 1);

        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = "connect_e2e_test.ini";
        options.logPath.clear();
        options.firstConnectDelayMs = 1000000;  // the test asks for the connect itself
        options.connectTickMs = 40;
        options.heartbeatPeriodMs = 60;
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
    }
    void TearDown() override {
        dialog.reset();  // stops the sender and the reader before the terminal goes
        if (sim) sim->Stop();
        unsetenv("K417B_PORTS");
        std::remove("connect_e2e_test.ini");
    }
    template <class T>
    T* PageOf(int i) {
        return dynamic_cast<T*>(dialog->PageAt(i));
    }
    int Pos(int page, int id) { return PageOf<Page>(page)->SliderPos(id).value_or(-9999); }
    // Runs the event loop until `done` or the time is up.
    template <class F>
    bool PumpUntil(F done, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    // Read requests the simulator received: (group, code, p1, p2, p3).
    std::set<std::tuple<int, int, int, int, int>> ReadRequests() const {
        std::set<std::tuple<int, int, int, int, int>> out;
        for (const sim::LogEntry& e : sim->Log())
            if (e.dir == "rx" && e.bytes.size() == 9 && e.bytes[2] == 0xF4)
                out.emplace(e.bytes[3], e.bytes[4], e.bytes[5], e.bytes[6], e.bytes[7]);
        return out;
    }
    int Received(std::uint8_t cls, std::uint8_t b3, std::uint8_t b4) const {
        int n = 0;
        for (const sim::LogEntry& e : sim->Log())
            n += e.dir == "rx" && e.bytes.size() > 4 && e.bytes[2] == cls && e.bytes[3] == b3 &&
                 e.bytes[4] == b4;
        return n;
    }

    std::unique_ptr<sim::Processor> sim;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

TEST_F(ConnectEndToEnd, ReadsEveryParameterIntoThePagesThenWatchdogNoticesSilence) {
    StartSim({});
    dialog->OnConnect();

    EXPECT_EQ(dialog->m_connected, 1);
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode.load(), 0);
    EXPECT_TRUE(dialog->Timers().IsSet(console::kTimerHeartbeat));
    EXPECT_EQ(ReadRequests().size(), 65u);     // every step but the silent one and the end command
    EXPECT_EQ(Received(0xF1, 0xF0, 0x77), 4);  // unanswered: sent again on three retries, then done
    const std::string log = dialog->SetUpPage()->Log().Text();
    for (const char* line : {"Open Uart=1\nOpen Ok\nStart Resv Data\nRead Mic Vol\n",
                             "Read SurOut Eq n=2 id=3,chn=4\n", "resv=a5 ", "--Exit--\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;

    // Master volumes.
    EXPECT_EQ(win::FindControlAs<QSlider>(dialog->Client(), console::kIdMicSlider)->value(), 25);
    EXPECT_EQ(win::FindControlAs<QSlider>(dialog->Client(), console::kIdEffectSlider)->value(), 67);
    EXPECT_EQ(win::FindControlAs<QSlider>(dialog->Client(), console::kIdMusicSlider)->value(), 70);
    EXPECT_EQ(win::FindControlAs<QLabel>(dialog->Client(), console::kIdMusicValue)->text(), "70");

    // Output levels, delays and limiters, each on its own page.
    const std::tuple<int, int, int, int> outputs[] = {
        // page, direct level, reverb level, limit
        {kMainOut, 17, 41, -2},
        {kMidOut, 23, 43, 10},
        {kBassOut, 29, 44, -5},
        {kSubOut, 31, 45, -8},
    };
    for (const auto& [page, direct, reverb, limit] : outputs) {
        EXPECT_EQ(Pos(page, pageid::kDirectLevelSlider), direct) << page;
        EXPECT_EQ(Pos(page, pageid::kReverbLevelSlider), reverb) << page;
        EXPECT_EQ(Pos(page, pageid::kLimitSlider), limit) << page;
    }
    EXPECT_EQ(Pos(kBassOut, pageid::kStartTimeSlider), 40);
    EXPECT_EQ(Pos(kMidOut, pageid::kAttackSlider), 4);
    EXPECT_EQ(Pos(kMic, pageid::kRatioSlider), 55);
    EXPECT_EQ(Pos(kMainOut, pageid::kRightDelaySlider), 4);
    EXPECT_EQ(Pos(kMidOut, pageid::kDelaySlider), 5);
    EXPECT_EQ(Pos(kBassOut, pageid::kDelaySlider), 6);
    EXPECT_EQ(Pos(kSubOut, pageid::kRightDelaySlider), 8);

    // EQ bands of every path.
    const std::tuple<int, int, int, float> bands[] = {
        {kMic, 5, 777, 4.5f},    {kMusic, 3, 2222, -3.0f}, {kMainOut, 2, 1111, 1.0f}, {kMidOut, 1, 333, 2.0f},
        {kBassOut, 2, 66, 3.0f}, {kSubOut, 3, 4444, 4.0f}, {kEffect, 2, 1500, -5.0f},
    };
    for (const auto& [page, band, hz, gain] : bands) {
        const PageModel& m = PageOf<Page>(page)->Model();
        EXPECT_EQ(m.band.freq[band], hz) << page;
        EXPECT_FLOAT_EQ(m.band.gain[band], gain) << page;
    }
    EXPECT_EQ(PageOf<Page>(kMic)->Model().band.enabled[5], 0);

    // Effect block, feedback canceller, status.
    EXPECT_EQ(Pos(kEffect, chan::fx::kRoomSize), 41);
    EXPECT_EQ(PageOf<PageMic>(kMic)->FbcMode(), 2);
    EXPECT_EQ(PageOf<PageMusic>(kMusic)->CheckedInput(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(kMainOut)->MuteBits(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(kMidOut)->MuteBits(), 1);
    EXPECT_EQ(PageOf<chan::OutputPage>(kBassOut)->MuteBits(), 0);
    EXPECT_EQ(dialog->m_micEndVol, 80);
    EXPECT_EQ(dialog->m_effectEndVol, 66);

    // The link stays quiet from here on: five silent heartbeat ticks and the console lets go.
    sim::Faults silent;
    silent.silent = true;
    sim->SetFaults(silent);
    EXPECT_TRUE(PumpUntil([&] { return dialog->m_connected == 0; }, std::chrono::seconds(5)));
    EXPECT_FALSE(dialog->Timers().IsSet(console::kTimerHeartbeat));
}

TEST_F(ConnectEndToEnd, SilentProcessorLeavesTheConsoleDisconnected) {
    sim::Faults faults;
    faults.silent = true;
    StartSim(faults);
    // A second request arriving while the dialog runs is not a second scan.
    win::PostMessage(dialog.get(), console::kMsgConnect, 0, 0);
    dialog->OnConnect();

    EXPECT_EQ(dialog->m_connected, 0);
    EXPECT_FALSE(dialog->Timers().IsSet(console::kTimerHeartbeat));
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode.load(), 0);
    EXPECT_EQ(dialog->m_linkWatchdog, 4);
    EXPECT_EQ(Received(0xF9, 0x03, 0x04), 3);  // three probes, then the next ports
    EXPECT_TRUE(ReadRequests().empty());
    const std::string log = dialog->SetUpPage()->Log().Text();
    EXPECT_NE(log.find("Open Uart=30\n"), std::string::npos);
    EXPECT_EQ(log.find("Open Uart=1\n"), log.rfind("Open Uart=1\n"));  // one scan only
    EXPECT_FALSE(dialog->SetUpPage()->Link().IsOpen());
}

}  // namespace
