// The main window against the simulated processor on a pseudo-terminal: connect, read-back, watchdog.
#include <gtest/gtest.h>

#include <QTest>
#include <set>
#include <thread>

#include "console/images.h"
#include "console/status_lamp_button.h"
#include "link/connect_steps.h"
#include "link/frame.h"
#include "link/ui/uart_connect.h"
#include "pages/page.h"
#include "pages/page_ids.h"
#include "pages/page_index.h"
#include "pages/page_music.h"
#include "platform/ui/window.h"
#include "sim/processor.h"
#include "tests/console/support.h"
#include "tests/e2e/no_painting.h"

namespace {

using namespace pageindex;

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
    s.Eq(sim::Path::Music)[2] = {1, 25600 + 300, 2222, 100, 0, 0};
    s.musicInput = 2;  // "BT"
    s.mutes = 0x05;    // main left and mid
    return s;          // the music high-pass on "12db", as after a factory reset
}

// Calls `act` with the running connect dialog once `ready` holds for it (polled every few ms); gives
// up when the dialog it saw has ended, so it never acts on a later connect.
void WhenConnectDialog(std::function<bool(const UartConnect&)> ready, std::function<void(UartConnect*)> act,
                       bool seen = false) {
    QTimer::singleShot(3, [ready, act, seen] {
        auto* dialog = dynamic_cast<UartConnect*>(QApplication::activeModalWidget());
        if (dialog && ready(*dialog))
            act(dialog);
        else if (dialog || !seen)
            WhenConnectDialog(ready, act, seen || dialog);
    });
}

class ConnectEndToEnd : public testing::Test {
  protected:
    void StartSim(bool silent) {
        sim::Faults faults;
        faults.silent = silent;
        StartSim(faults);
    }
    void StartSim(const sim::Faults& faults) {
        e2e::StopPainting();
        sim::Options o;
        o.start = DistinctStore();
        o.faults = faults;
        sim = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        setenv("K417B_PORTS", sim->SlavePath().c_str(), 1);
        dialog = StartMainWindow("connect_e2e_test.ini", [this](auto& d) {
            d.firstConnectDelayMs = 1000000;  // the test asks for the connect itself
            d.connectTickMs = 40;
            d.heartbeatPeriodMs = 60;
            d.frameTap = [this](const ZemCmd::Cmd& frame) { sent.push_back(frame); };
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
    int LampBitmap() {
        return win::FindControlAs<console::StatusLampButton>(dialog->Client(), console::kIdStatusLamp)
            ->BitmapId();
    }
    // Lets the event loop run for `ms`, as the console would while the user waits.
    void RunFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    // As after an earlier connect: connected, heartbeat and watchdog running.
    void AsIfConnectedBefore() {
        dialog->SetConnectedForTests(true);
        dialog->StartHeartbeat();
    }
    // The console disconnected, in words the test output can show.
    void ExpectDisconnected() {
        EXPECT_FALSE(dialog->Connected());
        EXPECT_EQ(LampBitmap(), console::StatusLampBitmapId(dialog->Language(), false))
            << "the lamp says connected";
        EXPECT_FALSE(dialog->Timers().IsSet(console::kTimerHeartbeat)) << "heartbeat and watchdog still run";
        EXPECT_EQ(dialog->SetUpPage()->Link().frameMode.load(), 0);
    }

    std::unique_ptr<sim::Processor> sim;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::vector<ZemCmd::Cmd> sent;  // every frame the main window queued
};

TEST_F(ConnectEndToEnd, ReadsEveryParameterIntoThePagesAndFilesThenWatchdogNoticesSilence) {
    StartSim(false);
    // The music page as an earlier read-back of a processor on "24db" left it.
    auto* music = dynamic_cast<PageMusic*>(PageAt(kMusic));
    ZemCmd::EqFrame steep;
    steep[15] = 1;
    music->SetSlopeFromCmd(steep);
    music->SetHighPass(8, 100);
    dialog->OnConnect();
    EXPECT_TRUE(dialog->Connected());
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode.load(), 0);
    EXPECT_TRUE(dialog->Timers().IsSet(console::kTimerHeartbeat)) << "no heartbeat after the read-back";
    EXPECT_EQ(Received({ZemCmd::kClassRead}, 9), connect::kStepCount - 2)
        << "every step but the silent one and the end command, each once";
    EXPECT_EQ(Received({ZemCmd::kClassWrite, 0xF0, ZemCmd::kGroupEndReadBack}), 4)
        << "the unanswered end: three retries, then done";
    EXPECT_NE(Log().find("Open Uart=1\nOpen Ok\nStart Resv Data\nRead Mic Vol\n"), std::string::npos);

    auto slider = [&](int id) { return win::FindControlAs<QSlider>(dialog->Client(), id)->value(); };
    EXPECT_EQ(slider(console::kIdMicSlider), 25);
    EXPECT_EQ(slider(console::kIdEffectSlider), 67);
    EXPECT_EQ(slider(console::kIdMusicSlider), 70);
    EXPECT_EQ(TextOf(dialog->Client(), console::kIdMusicValue), "70");
    // Levels, limiters and delays, each on its own page.
    using namespace pageid;
    const struct {
        const char* name;
        int page, id, value;
    } sliders[] = {
        {"main direct level", kMainOut, kDirectLevelSlider, 17},
        {"main reverb level", kMainOut, kReverbLevelSlider, 41},
        {"main limit", kMainOut, kLimitSlider, -2},
        {"centre direct level", kMidOut, kDirectLevelSlider, 23},
        {"centre reverb level", kMidOut, kReverbLevelSlider, 43},
        {"centre limit", kMidOut, kLimitSlider, 10},
        {"subwoofer direct level", kBassOut, kDirectLevelSlider, 29},
        {"subwoofer reverb level", kBassOut, kReverbLevelSlider, 44},
        {"subwoofer limit", kBassOut, kLimitSlider, -5},
        {"surround direct level", kSubOut, kDirectLevelSlider, 31},
        {"surround reverb level", kSubOut, kReverbLevelSlider, 45},
        {"surround limit", kSubOut, kLimitSlider, -8},
        {"subwoofer start time", kBassOut, kStartTimeSlider, 40},
        {"centre attack", kMidOut, kAttackSlider, 4},
        {"mic ratio", kMic, kRatioSlider, 55},
        {"main right delay", kMainOut, kRightDelaySlider, 4},
        {"centre delay", kMidOut, kDelaySlider, 5},
        {"subwoofer delay", kBassOut, kDelaySlider, 6},
        {"surround right delay", kSubOut, kRightDelaySlider, 8},
    };  // the effect block: the reply tests
    // Gains doubled to compare exactly; the music bands: the reply tests.
    const struct {
        const char* name;
        int page, band, hz, gain2;
    } bands[] = {
        {"mic band 5", kMic, 5, 777, 9},         {"main band 2", kMainOut, 2, 1111, 2},
        {"centre band 1", kMidOut, 1, 333, 4},   {"subwoofer band 2", kBassOut, 2, 66, 6},
        {"surround band 3", kSubOut, 3, 4444, 8}, {"effect band 2", kEffect, 2, 1500, -10},
    };
    for (const auto& s : sliders) EXPECT_EQ(Pos(s.page, s.id), s.value) << s.name;
    for (const auto& b : bands) {
        EXPECT_EQ(Band(b.page).freq[b.band], b.hz) << b.name << " frequency";
        EXPECT_EQ(Band(b.page).gain[b.band] * 2, b.gain2) << b.name << " gain";
    }
    EXPECT_EQ(Band(kMic).enabled[5], 0);

    // A file exported now holds what the processor holds, and brings it back.
    TempDir dir("connect_e2e_files");
    win::ScriptedFileDialogs files;
    win::ScriptedMessageBoxes boxes;
    files.answers = {QString::fromStdString(dir.File("after_connect.inf")),
                     QString::fromStdString(dir.File("after_connect.inf"))};
    dialog->OnCommand(console::kCmdExport);
    const std::string exported = ReadBytes(dir.File("after_connect.inf"));
    EXPECT_NE(exported.find(AsciiUtf16("[music type]\n2\n")), std::string::npos) << "the input is not \"BT\"";
    music->SetSlopeFromCmd(steep);  // the other slope on screen, to see the file bring "12db" back
    music->SetHighPass(8, 100);
    dialog->OnCommand(console::kCmdImport);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(music->SlopeItem(), 0) << "\"12db\" came back as \"24db\"";
    EXPECT_EQ(Band(kMusic).type[8], kTypeOff);
    EXPECT_EQ(music->MusicInput(), 2);
    // The import sends the whole state: "12db" in band 0, band 8 not as a second high-pass.
    int musicPassBands = 0;
    for (const ZemCmd::Cmd& f : sent) {
        if (f.Length() != 17 || f[2] != ZemCmd::kClassWrite || ((f[4] >> 1) & 15) != 1) continue;
        if (f[5] == 0) {
            EXPECT_EQ(f[7] | f[8] << 8, 0x5F50) << "band 0 put the processor on \"24db\"";
        } else if (f[5] == 8) {
            EXPECT_NE(f[15], 5) << "band 8 went out as a high-pass";
        }
        musicPassBands += f[5] == 0 || f[5] == 8;
    }
    EXPECT_EQ(musicPassBands, 2);

    // The link stays quiet from here on: five silent heartbeat ticks and the console lets go.
    sim::Faults silent;
    silent.silent = true;
    sim->SetFaults(silent);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (dialog->Connected() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_FALSE(dialog->Connected()) << "five silent ticks did not end the link";
    EXPECT_FALSE(dialog->Timers().IsSet(console::kTimerHeartbeat));
}

// Connected only after a read-back that ran to its end: not after one that failed past the status
// answer, and not because the user pressed Enter.
TEST_F(ConnectEndToEnd, ConnectedOnlyWhenTheReadBackFinishes) {
    sim::Faults faults;  // step 18, the microphone threshold, always answered with a wrong code
    faults.badCode = 0x88;
    faults.badKind = sim::BadAnswer::WrongCode;
    StartSim(faults);
    dialog->SetLanguage(1);
    AsIfConnectedBefore();
    dialog->OnConnect();
    ExpectDisconnected();
    EXPECT_EQ(LampBitmap(), 204) << "not the English not-connected lamp";
    // What came from the processor before the failure stays.
    EXPECT_EQ(win::FindControlAs<QSlider>(dialog->Client(), console::kIdMicSlider)->value(), 25);
    EXPECT_EQ(dynamic_cast<PageMusic*>(PageAt(kMusic))->MusicInput(), 2);
    EXPECT_EQ(dialog->LastMuteMask(), 0x05);

    // Ten heartbeat periods later nothing has gone out: no heartbeat, no watchdog.
    ASSERT_TRUE(sim->WaitForLog([&](const auto&) { return dialog->SetUpPage()->Queue().Pending().empty(); },
                                std::chrono::seconds(2)));
    RunFor(100);  // the last frame's write
    // Asked again on the retry ticks, then given up (a resend the queue still holds is not doubled).
    EXPECT_GE(Received({0xF4, 0x02, 0x88}), 3);
    EXPECT_LE(Received({0xF4, 0x02, 0x88}), 4);
    EXPECT_EQ(Received({0xF4, 0x02, 0x81}), 0);
    const int heartbeats = Received({0xF9, 0x03, 0x06});
    const std::size_t logged = sim->Log().size();
    RunFor(10 * 60);
    EXPECT_EQ(Received({0xF9, 0x03, 0x06}), heartbeats);
    EXPECT_EQ(sim->Log().size(), logged) << "the console sent something after a failed connect";
    ExpectDisconnected();

    // A later connect starts from scratch and finishes; Enter and Return during it change nothing.
    sim->SetFaults(sim::Faults{});
    const int endCommands = Received({0xF1, 0xF0, 0x77});
    int pressedAt = -1;
    WhenConnectDialog([](const UartConnect& c) { return c.Machine().step() >= 20; },
                      [&](UartConnect* c) {
                          pressedAt = c->Machine().step();
                          QTest::keyClick(c, Qt::Key_Return);
                          QTest::keyClick(c, Qt::Key_Enter);
                      });
    dialog->OnConnect();
    EXPECT_EQ(pressedAt, 20);
    // The read-back ran on to its end: the end command and its retries, the last steps read.
    EXPECT_EQ(Received({0xF1, 0xF0, 0x77}) - endCommands, 4);
    EXPECT_EQ(Band(kSubOut).freq[3], 4444) << "a late step was not read";
    EXPECT_TRUE(dialog->Connected());
    EXPECT_EQ(LampBitmap(), 205);
    EXPECT_TRUE(dialog->Timers().IsSet(console::kTimerHeartbeat));
    const std::string start = "Open Uart=1\nOpen Ok\nStart Resv Data\nRead Mic Vol\n";
    const std::string log = Log();
    const std::size_t first = log.find(start);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(start, first + 1), std::string::npos)
        << "the second connect did not start at COM1 and step 0";
}

// Cancelled at a step: disconnected, nothing more asked, what was read kept and on the graph.
TEST_F(ConnectEndToEnd, EscOrClosingTheDialogCancels) {
    StartSim(false);
    const int graphBand2 = dialog->Graph()->Curve().freq[2];
    for (const auto& [esc, at] : {std::pair{true, 3}, std::pair{false, 38}}) {  // 38: music bands 0..2 read
        SCOPED_TRACE(esc ? "Esc" : "close");
        AsIfConnectedBefore();
        WhenConnectDialog(
            [at = at](const UartConnect& c) { return c.Machine().step() >= at; },
            [esc = esc](UartConnect* c) { esc ? QTest::keyClick(c, Qt::Key_Escape) : (void)c->close(); });
        dialog->OnConnect();
        ExpectDisconnected();
        RunFor(200);
        const int steps = Received({0xF4}, 9);  // each request once, over both connects
        EXPECT_GE(steps, at - 2);               // the silent step asks nothing
        EXPECT_LE(steps, at + 1) << "the read-back went on";
        const int requests = Received({0xF4});
        RunFor(300);
        EXPECT_EQ(Received({0xF4}), requests) << "the read-back went on";
        EXPECT_EQ(win::FindControlAs<QSlider>(dialog->Client(), console::kIdMicSlider)->value(), 25);
        EXPECT_EQ(Band(kMusic).freq[2], esc ? 440 : 2222);
        EXPECT_EQ(dialog->Graph()->Curve().freq[2], esc ? graphBand2 : 2222)
            << "the graph shows another curve";
    }
}

TEST_F(ConnectEndToEnd, SilentProcessorLeavesTheConsoleDisconnected) {
    StartSim(true);
    win::PostMessage(dialog.get(), console::kMsgConnect, 0,
                     0);  // arrives while the dialog runs: no second scan
    dialog->OnConnect();
    EXPECT_FALSE(dialog->Connected());
    EXPECT_FALSE(dialog->Timers().IsSet(console::kTimerHeartbeat));
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode.load(), 0);
    EXPECT_EQ(dialog->LinkWatchdog(), 4);
    EXPECT_EQ(Received({ZemCmd::kClassSystem, 0x03, 0x04}), 3) << "three probes, then the next ports";
    EXPECT_EQ(Received({ZemCmd::kClassRead}, 9), 0) << "a read-back without an answer to the probe";
    EXPECT_NE(Log().find("Open Uart=30\n"), std::string::npos);
    EXPECT_EQ(Log().find("Open Uart=1\n"), Log().rfind("Open Uart=1\n"));  // one scan only
    EXPECT_FALSE(dialog->SetUpPage()->Link().IsOpen());
}

}  // namespace
