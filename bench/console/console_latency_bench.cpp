// The main window against the simulated processor, at the shipped timings:
//   - how long after the user's last move of a band gain slider the band frame reaches the
//     processor (200 ms debounce, then the sender's 60 ms pace): p50, p99 and max over 60 drags;
//   - the longest time the GUI thread is held while a device preset loads (the 15 s wait dialog).
// Run: <build dir>/bench/console/console_latency_bench (about 40 s; QT_QPA_PLATFORM=offscreen works).
// Never part of the tests.

#include <benchmark/benchmark.h>

#include <QAbstractSlider>
#include <QApplication>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "console/main_dialog.h"
#include "link/ui/page_setup.h"
#include "pages/page.h"
#include "platform/trace.h"
#include "platform/ui/message_box.h"
#include "sim/processor.h"

namespace {

using Clock = std::chrono::steady_clock;

QApplication& App() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("console_latency_bench"), nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

constexpr int kMicPage = 1;

// The console with its port on the simulator, as a connect leaves it (without the read-back).
struct Rig {
    Rig() {
        App();
        trace::SetOutput(nullptr);
        std::string error;
        if (!sim.Start(error)) throw std::runtime_error(error);
        CVelmor_Zem_R7Dlg::Options o;
        o.configPath = "console_latency_bench.ini";
        o.logPath.clear();
        o.firstConnectDelayMs = 100000000;
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(o);
        dialog->OnInitDialog();
        dialog->show();  // a hidden page ignores slider moves
        Uart& link = dialog->SetUpPage()->Link();
        link.Open(sim.SlavePath());
        link.Start();
    }
    ~Rig() {
        dialog.reset();
        sim.Stop();
        std::remove("console_latency_bench.ini");
    }
    std::size_t Received() const { return sim.Log().size(); }
    // True once a frame equal to `frame` is logged after entry `from`.
    bool Arrived(const ZemCmd::EqFrame& frame, std::size_t from) const {
        const std::vector<sim::LogEntry> log = sim.Log();
        const std::vector<std::uint8_t> bytes(frame.b.begin(), frame.b.begin() + frame.Length());
        for (std::size_t i = from; i < log.size(); ++i)
            if (log[i].dir == "rx" && log[i].bytes == bytes) return true;
        return false;
    }
    // Runs the event loop for `ms`.
    static void Spin(int ms) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) Turn();
    }
    // One turn of the event loop, then a short rest so waiting does not spin.
    static void Turn() {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }

    sim::Processor sim{sim::Options{}};
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

void BM_LastMoveToFrameOnTheWire(benchmark::State& state) {
    Rig rig;
    rig.dialog->TabStrip()->setCurrentIndex(kMicPage);
    auto* page = dynamic_cast<Page*>(rig.dialog->PageAt(kMicPage));
    std::vector<double> latencies;
    for (auto _ : state) {
        latencies.clear();
        for (int drag = 0; drag < 60; ++drag) {
            const int band = 1 + drag % 15;
            auto* slider = qobject_cast<QAbstractSlider*>(page->Control(pageid::kGainSlider + band));
            const std::size_t from = rig.Received();
            // A short drag: five steps 20 ms apart; the clock starts at the last.
            Clock::time_point last;
            for (int step = 0; step < 5; ++step) {
                slider->setSliderPosition(-10 * (drag % 7) - 5 * step - 5);
                last = Clock::now();
                if (step < 4) Rig::Spin(20);
            }
            const ZemCmd::EqFrame expected = *page->BuildBandCmd(band);
            while (!rig.Arrived(expected, from) && Clock::now() - last < std::chrono::seconds(2)) Rig::Turn();
            latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - last).count());
            Rig::Spin(37 + 11 * (drag % 5));  // varies the sender's phase
        }
    }
    state.counters["moves"] = static_cast<double>(latencies.size());
    state.counters["p50_ms"] = Percentile(latencies, 0.50);
    state.counters["p99_ms"] = Percentile(latencies, 0.99);
    state.counters["max_ms"] = *std::max_element(latencies.begin(), latencies.end());
    state.SetLabel("target p99 <= 270 ms");
}
BENCHMARK(BM_LastMoveToFrameOnTheWire)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GuiStallDuringPresetLoad(benchmark::State& state) {
    Rig rig;
    win::ScriptedMessageBoxes boxes;
    qint64 longest = 0;
    int turns = 0;
    for (auto _ : state) {
        boxes.answers = {win::kIdOk};
        // A 1 ms timer on the GUI thread: the longest gap between its ticks is the longest stall.
        QElapsedTimer clock;
        qint64 previous = 0;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (previous) longest = std::max(longest, now - previous);
            previous = now;
            ++turns;
        });
        clock.start();
        probe.start(1);
        rig.dialog->OnLoadGroup(1);  // the question, the frame, the wait (about 15 s)
        probe.stop();
        // The reconnect it asks for is not part of the measure.
        QCoreApplication::removePostedEvents(rig.dialog.get());
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest) / 1e6;
    state.counters["ticks"] = turns;
    state.SetLabel("target longest stall < 20 ms");
}
BENCHMARK(BM_GuiStallDuringPresetLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
