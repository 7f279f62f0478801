// User changes on the main window reaching the simulated processor on a pseudo-terminal: each one
// arrives, once, with the values the console shows.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "console/frame_build.h"
#include "console/master_index.h"
#include "controls/graph_layout.h"
#include "pages/channel_output_page.h"
#include "pages/page.h"
#include "pages/page_index.h"
#include "sim/processor.h"
#include "tests/console/support.h"
#include "tests/e2e/no_painting.h"

namespace {

using testbytes::Bytes;
using testbytes::Of;

using namespace pageindex;

class ChangesEndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        e2e::StopPainting();
        sim = std::make_unique<sim::Processor>(sim::Options{});
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        dialog = StartMainWindow("changes_e2e_test.ini", [](auto& o) {
            o.firstConnectDelayMs = 1000000;
            o.heartbeatPeriodMs = 60;  // heartbeats pushed all through a burst
        });
        // The port as a connect leaves it, without the read-back.
        Uart& link = dialog->SetUpPage()->Link();
        ASSERT_EQ(link.Open(sim->SlavePath()), 1);
        link.Start();
    }
    void TearDown() override {
        dialog.reset();  // stops the sender and the reader before the terminal goes
        if (sim) sim->Stop();
        std::remove("changes_e2e_test.ini");
    }
    Page* PageAt(int i) { return dynamic_cast<Page*>(dialog->PageAt(i)); }
    void ShowTab(int i) { dialog->TabStrip()->setCurrentIndex(i); }
    // Frames the simulator received, in order.
    std::vector<Bytes> Received() const {
        std::vector<Bytes> out;
        for (const sim::LogEntry& e : sim->Log())
            if (e.dir == "rx") out.push_back(e.bytes);
        return out;
    }
    int CountReceived(const Bytes& frame) const {
        const std::vector<Bytes> all = Received();
        return static_cast<int>(std::count(all.begin(), all.end(), frame));
    }
    // Runs the event loop until the simulator has the frame (or two seconds have passed).
    bool Arrives(const Bytes& frame) {
        return QTest::qWaitFor([&] { return CountReceived(frame) > 0; }, 2000);
    }

    std::unique_ptr<sim::Processor> sim;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

TEST_F(ChangesEndToEnd, AClickOnAMarkerReachesTheProcessorAsOneFrameWithTheValuesShown) {
    ShowTab(kMainOut);
    controls::CGraphWave* graph = dialog->Graph();
    graph->Picture();  // lays out the label margin, as the first paint does
    const int band = 3;
    const QPoint centre = controls::MarkerSquare(*graph, graph->Axes(), band).center();
    QTest::mouseClick(graph, Qt::LeftButton, {}, centre + QPoint(-5, 8));
    const Page* page = PageAt(kMainOut);
    const auto& shown = page->Model().band;
    const Bytes expected = Of(*page->BuildBandCmd(band));
    ASSERT_TRUE(Arrives(expected)) << "the click's band frame never reached the processor";
    QTest::qWait(300);  // anything more would have come by now
    EXPECT_EQ(CountReceived(expected), 1);
    const sim::Band held = sim->GetStore().Eq(sim::Path::Main)[band];
    EXPECT_EQ(held.freq, shown.freq[band]) << "the processor holds the frequency the page shows";
    EXPECT_EQ(held.gainField, GainField(shown.gain[band])) << "the processor holds the gain the page shows";
    EXPECT_EQ(held.freq, graph->freq[band]) << "and the graph shows it too";
}

TEST_F(ChangesEndToEnd, MainLeftAndSubwooferMutedInOneChangeBothArrive) {
    auto* main = qobject_cast<chan::OutputPage*>(dialog->PageAt(kMainOut));
    auto* sub = qobject_cast<chan::OutputPage*>(dialog->PageAt(kBassOut));
    main->MuteButton(0)->click();
    sub->MuteButton(0)->click();
    const Bytes mainAction = testbytes::Sealed("A5 06 F9 03 17");
    const Bytes subAction = testbytes::Sealed("A5 06 F9 03 28");
    EXPECT_TRUE(Arrives(mainAction)) << "the main left mute";
    EXPECT_TRUE(Arrives(subAction)) << "the subwoofer mute";
    EXPECT_EQ(sim->GetStore().mutes, 0x09) << "the processor mutes main left and the subwoofer";
}

TEST_F(ChangesEndToEnd, TwoMastersMovedFortyMillisecondsApartBothArrive) {
    auto* mic = win::FindControlAs<QSlider>(dialog->Client(), console::kIdMicSlider);
    auto* music = win::FindControlAs<QSlider>(dialog->Client(), console::kIdMusicSlider);
    mic->setSliderPosition(30);
    QTest::qWait(40);
    music->setSliderPosition(50);
    EXPECT_TRUE(Arrives(Of(console::frames::MasterVolume(console::master::kMic, 30))))
        << "the microphone master";
    EXPECT_TRUE(Arrives(Of(console::frames::MasterVolume(console::master::kMusic, 50))))
        << "the music master";
}

TEST_F(ChangesEndToEnd, AnEqResetOnTheMicrophonePageKeepsAHeartbeatAfterEveryThirdBandFrame) {
    dialog->SetConnectedForTests(true);
    dialog->StartHeartbeat();
    ShowTab(kMic);
    QTest::qWait(150);  // a few heartbeats go ahead
    win::FindControlAs<QPushButton>(dialog->Client(), console::kIdEqReset)->click();
    const int bands = PageAt(kMic)->GetBandCount() - 2;  // the peaking bands
    auto isBand = [](const Bytes& f) { return f.size() == 17 && f[2] == 0xF1 && f[3] == 0x0A; };
    // Band frames and heartbeats from the first band frame on: B B B H, five times.
    auto sequence = [&] {
        std::string s;
        bool started = false;
        for (const Bytes& f : Received()) {
            started = started || isBand(f);
            if (started && isBand(f)) s += 'B';
            if (started && f == testbytes::kHeartbeat) s += 'H';
        }
        return s;
    };
    std::string expected;
    for (int b = 0; b < bands; ++b) expected += (b % 3 == 2) ? "BH" : "B";
    ASSERT_TRUE(QTest::qWaitFor([&] { return sequence().size() >= expected.size(); }, 5000)) << sequence();
    EXPECT_EQ(sequence().substr(0, expected.size()), expected);
}

}  // namespace
