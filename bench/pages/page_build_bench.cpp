// Building a page with all its controls, and the model work done per change.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "pages/page.h"
#include "pages/preset_text.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("pages_bench"), nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A 17-band page with the template sliders and labels of the fullest page.
class FullPage : public Page {
  public:
    FullPage() : Page(17, 129) {
        for (int b = 1; b < 16; ++b) model_.defaultFreq[b] = 40 * b;
        hpTitle = {"高通：", "HP:", "HP", "HP", "HP"};
    }

  protected:
    void BuildTemplate() override {
        const int sliders[] = {1078, 1080, 1081, 1082, 1083, 1090, 1091, 1273, 1274, 1277};
        int y = 400;
        for (int id : sliders) AddSlider(id, Qt::Horizontal, QRect(0, y += 22, 200, 20), 0, 100, 50);
        const int labels[] = {1084, 1086, 1087, 1088, 1089, 1095, 1096, 1275, 1276, 1279};
        y = 400;
        for (int id : labels) AddLabel(id, QRect(220, y += 22, 200, 20));
    }
};

void BM_Build17BandPage(benchmark::State& state) {
    App();
    for (auto _ : state) {
        FullPage page;
        page.Init();
        page.SetLanguage(1);
        benchmark::DoNotOptimize(page.GetContentHeight());
    }
    state.SetLabel("target < 50 ms per page");
}
BENCHMARK(BM_Build17BandPage)->Unit(benchmark::kMillisecond);

void BM_Build17BandPageShown(benchmark::State& state) {
    App();
    for (auto _ : state) {
        FullPage page;
        page.Init();
        page.SetLanguage(1);
        page.resize(1200, 700);
        page.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(page.GetContentHeight());
    }
}
BENCHMARK(BM_Build17BandPageShown)->Unit(benchmark::kMillisecond);

void BM_BandFrame(benchmark::State& state) {
    PageModel m(17);
    m.ResetAll();
    int b = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.BandFrame(b));
        b = (b + 1) % 17;
    }
}
BENCHMARK(BM_BandFrame);

void BM_SaveLoadText(benchmark::State& state) {
    PageModel m(17);
    m.sectionName = "[mic eq]";
    m.ResetAll();
    std::vector<std::string> lines{m.sectionName};
    const std::string body = SaveEqText(m);
    ascii::SplitInto(lines, body, "\n");
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveEqText(m));
        LoadEqText(m, lines);
    }
}
BENCHMARK(BM_SaveLoadText)->Unit(benchmark::kMicrosecond);

}  // namespace
