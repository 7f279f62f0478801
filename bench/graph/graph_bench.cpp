// Cost of drawing the equaliser graph at 800 x 300 with 17 bands: a full render from cold caches,
// a drag step (one band changed), and a repaint with nothing changed (the blink step).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "controls/graph_layout.h"
#include "controls/graph_render.h"

using namespace controls;

namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "graph_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    (void)app;
}

GraphState SeventeenBands() {
    GraphState s;
    s.leftMargin = 40;
    s.bandCount = 15;
    for (int k = 0; k < kGraphBands; ++k) {
        s.freq[k] = 25 * (k + 1) * (k + 1);
        s.gain[k] = static_cast<float>((k * 7) % 13) - 6.0f;
        s.q[k] = 1.4f;
        s.type[k] = 1;
        s.shown[k] = 1;
    }
    s.type[0] = 4;
    s.type[16] = 5;
    s.selected = 5;
    s.blinkStep = 2;
    return s;
}

const QSize kSize(800, 300);

void BM_FullRender(benchmark::State& state) {
    EnsureApp();
    const GraphState s = SeventeenBands();
    for (auto _ : state) {
        // Cold renderer: grid, 17 responses, curve, markers, texts. The fonts and the layouts of the
        // fixed texts (labels, band numbers) are kept for the process after the first iteration.
        GraphRenderer r;
        benchmark::DoNotOptimize(r.Render(s, kSize).constBits());
    }
}
BENCHMARK(BM_FullRender)->Unit(benchmark::kMicrosecond);

void BM_DragStep(benchmark::State& state) {
    EnsureApp();
    GraphState s = SeventeenBands();
    GraphRenderer r;
    r.Render(s, kSize);
    int i = 0;
    for (auto _ : state) {
        s.freq[5] = 400 + (i & 63) * 10;  // one band moves
        s.gain[5] = static_cast<float>(i % 20) * 0.5f - 5.0f;
        ++i;
        benchmark::DoNotOptimize(r.Render(s, kSize).constBits());
    }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

void BM_BlinkRepaint(benchmark::State& state) {
    EnsureApp();
    GraphState s = SeventeenBands();
    GraphRenderer r;
    r.Render(s, kSize);
    int i = 0;
    for (auto _ : state) {
        s.blinkStep = (i++ % 5);
        benchmark::DoNotOptimize(r.Render(s, kSize).constBits());
    }
}
BENCHMARK(BM_BlinkRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
