// The graph and the pages' sliders in the whole window, in all five languages, at the size the window
// starts at, at its 900 x 520 minimum and as wide as a 1366-pixel screen allows: the frequency
// labels clear of every grid line, the selected band's widest values inside the plot at its four
// corners, and no slider thumb on its scale at any position.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/graph_layout.h"
#include "controls/graph_render.h"
#include "controls/slider.h"
#include "support.h"
#include "tests/controls/graph_checks.h"

namespace {

using console::kTabCount;

class WholeWindowGraph : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    void CheckGraph(const std::string& where) {
        controls::CGraphWave* graph = dialog->Graph();
        graph->SetTraceSink([](const std::string&) {});
        graph->Picture();  // measures the margin
        const controls::GraphAxes axes = graph->Axes();

        // The grid and its labels at this size, with no curve or marker near them.
        controls::GraphState flat;
        flat.leftMargin = graph->leftMargin;
        flat.bandCount = 0;
        for (int k = 0; k < controls::kGraphBands; ++k)
            flat.freq[k] = 1000, flat.q[k] = 1.0f, flat.shown[k] = 1;
        controls::GraphRenderer grid;
        controls_test::ExpectFreqLabelsClear(grid.Render(flat, graph->size()), axes, where);

        // Band 1 with the widest values at the plot's corners.
        const controls::GraphState saved = *graph;
        constexpr int kBand = 1;
        for (int freq : {20, 20000})
            for (float gain : {-24.0f, 12.0f}) {
                graph->freq[kBand] = freq, graph->gain[kBand] = gain, graph->q[kBand] = 128.0f;
                graph->type[kBand] = 1, graph->shown[kBand] = 1, graph->blinkStep = 0;
                graph->selected = -1;
                const QImage plain = graph->Picture().copy();
                graph->selected = kBand;
                const QImage selected = graph->Picture().copy();
                controls_test::ExpectValuesInPlot(
                    selected, plain, *graph, axes, kBand,
                    where + ", band at " + std::to_string(freq) + " Hz, " + std::to_string(gain) + " dB");
            }
        static_cast<controls::GraphState&>(*graph) = saved;
        graph->Invalidate();
    }

    // Every slider with a scale, at every position: no label's rectangle meets the thumb's. The
    // labels stay put while the thumb moves.
    void CheckThumbs(QWidget* page, const std::string& where) {
        for (auto* slider : page->findChildren<controls::Slider*>()) {
            const auto labels = slider->ScaleLabels();
            if (labels.empty()) continue;
            const int id = win::ControlId(slider), kept = slider->value();
            for (int pos = slider->minimum(); pos <= slider->maximum(); ++pos) {
                slider->SetPosSilently(pos);
                const QRect thumb = slider->Layout().thumb;
                const auto covered = std::find_if(labels.begin(), labels.end(), [&](const auto& label) {
                    return label.rect.intersects(thumb);
                });
                if (covered == labels.end()) continue;
                ADD_FAILURE() << where << ", slider " << id << " at " << pos << ": the thumb covers \""
                              << covered->text.toStdString() << "\"";
                break;
            }
            slider->SetPosSilently(kept);
        }
    }

    void CheckEveryTab(const std::string& size) {
        for (int tab = 0; tab < kTabCount; ++tab) {
            dialog->TabStrip()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const std::string where = size + ", tab " + std::to_string(tab);
            CheckGraph(where);  // its height follows the page's scroll bar
            CheckThumbs(dialog->PageAt(tab), where);
            if (HasFailure()) return;
        }
    }
};

TEST_P(WholeWindowGraph, LabelsValuesAndThumbsAtEverySize) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str(),
          [](CVelmor_Zem_R7Dlg::Options& o) { o.firstConnectDelayMs = 1 << 30; });
    dialog->show();
    QCoreApplication::processEvents();
    CheckEveryTab("as started");
    for (QSize size : {QSize(900, 520), QSize(1264, 520)}) {
        dialog->resize(size);
        QCoreApplication::processEvents();
        CheckEveryTab(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WholeWindowGraph, testing::Range(0, 5));

}  // namespace
