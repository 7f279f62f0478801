// Cost of building a page's worth of sliders and labels, and of painting a gain slider.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "controls/double_label.h"
#include "controls/slider.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "controls_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// 40 sliders with their captions: about the largest page.
void BM_CreatePageOfSliders(benchmark::State& state) {
    App();
    for (auto _ : state) {
        QWidget page;
        for (int i = 0; i < 40; ++i) {
            auto* s = new controls::Slider(i % 2 ? Qt::Vertical : Qt::Horizontal, &page);
            s->SetRangeSilently(-120, 240);
            auto* l = new controls::DoubleLabel(&page);
            l->SetCaption(QStringLiteral("Gain"));
            l->SetValue(QStringLiteral("0.0dB"));
        }
        benchmark::DoNotOptimize(page.children().size());
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_CreatePageOfSliders)->Unit(benchmark::kMicrosecond);

void BM_PaintGainSlider(benchmark::State& state) {
    App();
    controls::Slider s(Qt::Vertical);
    s.resize(64, 220);
    s.SetRangeSilently(-120, 240);
    s.setTickInterval(40);
    s.setTickPosition(QSlider::TicksBothSides);
    s.SetDivisor(10);
    QImage img(s.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        s.render(&img);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintGainSlider)->Unit(benchmark::kMicrosecond);

}  // namespace
