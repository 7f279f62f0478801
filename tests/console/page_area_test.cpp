// Every text whole and every control reachable, in all five languages, at the window's default
// size and at its 900 x 520 minimum.
#include "console/page_area.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QScrollBar>

#include "controls/double_label.h"
#include "controls/graph_layout.h"
#include "controls/slider.h"
#include "controls/text_height.h"
#include "pages/channel_sliders.h"
#include "support.h"
#include "tests/controls/widget_test_support.h"

using namespace console;

namespace {

PageAreaInput Area(QSize content, int clientHeight) {
    PageAreaInput in;
    in.area = QRect(10, 60, 800, 200);
    in.content = content;
    in.clientHeight = clientHeight;
    in.belowGraph = 30;
    in.graphGap = 5;
    in.minGraphHeight = 100;
    in.barExtent = 15;
    return in;
}

TEST(PageArea, FitsUnchangedScrollsWhereThePageIsLarger) {
    // A page that fits keeps the area, and the graph stays 5 rows below it.
    const PageAreaLayout fits = LayOutPageArea(Area({800, 200}, 600));
    EXPECT_EQ(fits.view, QRect(10, 60, 800, 200));
    EXPECT_FALSE(fits.horizontal);
    EXPECT_FALSE(fits.vertical);
    EXPECT_EQ(fits.graphTop, 265);

    // Wider: a bar under the page, the graph moved down by its thickness.
    const PageAreaLayout wide = LayOutPageArea(Area({1000, 200}, 600));
    EXPECT_TRUE(wide.horizontal);
    EXPECT_FALSE(wide.vertical);
    EXPECT_EQ(wide.horizontalRange, 200);
    EXPECT_EQ(wide.hBar, QRect(10, 260, 800, 15));
    EXPECT_EQ(wide.graphTop, 280);

    // Too low for the page and the graph's least height: the view gets lower and scrolls down.
    const PageAreaLayout low = LayOutPageArea(Area({800, 200}, 300));
    EXPECT_TRUE(low.vertical);
    EXPECT_EQ(low.view.bottom() + 1, 300 - 30 - 100 - 5 - 15);  // the graph, its gap and the bar across
    EXPECT_EQ(low.verticalRange, 200 - low.view.height());
    // The bar down the side takes columns, so the page no longer fits across either.
    EXPECT_TRUE(low.horizontal);
    EXPECT_EQ(low.view.width(), 800 - 15);
    EXPECT_EQ(low.horizontalRange, 15);
    EXPECT_EQ(low.vBar.left(), low.view.right() + 1);
    EXPECT_EQ(low.graphTop, low.view.bottom() + 1 + 15 + 5);
}

class WholeWindow : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    void CheckSliders(QWidget* page, int tab) {
        for (auto* slider : page->findChildren<controls::Slider*>()) {
            const int id = win::ControlId(slider);
            if (id < 1700 || id >= 1800) continue;
            const auto labels = slider->ScaleLabels();
            ASSERT_EQ(labels.size(), 10u) << "tab " << tab << " slider " << id;
            for (std::size_t k = 0; k < labels.size(); ++k) {
                EXPECT_TRUE(slider->rect().contains(labels[k].rect))
                    << "tab " << tab << " slider " << id << " label " << labels[k].text.toStdString();
                EXPECT_EQ(labels[k].text.startsWith('-'), k >= 4) << labels[k].text.toStdString();
            }
        }
    }
    void CheckLabels(QWidget* page, int tab) {
        for (auto* label : page->findChildren<controls::DoubleLabel*>()) {
            if (label->isHidden() || label->Caption().isEmpty()) continue;
            const controls::DoubleLabelLayout l = label->Layout();
            const std::string what = "tab " + std::to_string(tab) + " " + label->Caption().toStdString();
            EXPECT_FALSE(l.captionRect.intersects(l.valueRect)) << what;
            EXPECT_TRUE(label->rect().contains(l.captionRect)) << what;
            EXPECT_GE(label->height(), controls::TextLineHeight(label->font(), label->Caption())) << what;
            EXPECT_EQ(label->toolTip().isEmpty(), !l.shortened) << what;
        }
        // The effect page's reverb filter labels share ids with other pages' mute buttons, and keep
        // their own text empty.
        for (int fxSlider : {chan::fx::kReverbHighPass, chan::fx::kReverbLowPass}) {
            const int id = chan::FindSpec(chan::EffectSliders(), fxSlider)->labelId;
            if (auto* label = win::FindControlAs<QLabel>(page, id)) {
                EXPECT_TRUE(label->text().isEmpty())
                    << "tab " << tab << " id " << id << ": " << label->text().toStdString();
            }
        }
    }
    void CheckReach(QWidget* page, int tab) {
        const QRect client = dialog->Client()->rect();
        for (auto* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || w->isHidden()) continue;
            dialog->ScrollPageTo(w);
            const QRect view = dialog->PageView();
            const QRect at(w->mapTo(dialog->Client(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(view.contains(at)) << "tab " << tab << " id " << win::ControlId(w) << " out of reach";
            EXPECT_TRUE(client.contains(view)) << "tab " << tab;
            EXPECT_LT(view.bottom(), dialog->Graph()->y()) << "tab " << tab;
        }
    }
    void CheckGraph() {
        controls::CGraphWave* graph = dialog->Graph();
        graph->SetTraceSink([](const std::string&) {});
        const QImage& img = graph->Picture();
        const controls::GraphAxes axes = graph->Axes();
        const int ink = controls::GainLabelInkHeight(controls::GraphFont(controls::kSmallFontPx));
        const int stride = controls::GainLabelStride(axes, ink);
        const auto runs = controls_test::InkRuns(img, axes.LeftMargin() - 5, img.pixel(1, 1) & 0xFFFFFF);
        EXPECT_EQ(runs.size(), static_cast<std::size_t>(18 / stride + 1))
            << "gain labels run together at graph height " << img.height();
    }
    void CheckEveryTab() {
        for (int tab = 0; tab < kTabCount; ++tab) {
            dialog->TabStrip()->setCurrentIndex(tab);
            QWidget* page = dialog->PageAt(tab);
            ASSERT_TRUE(page->isVisible()) << tab;
            CheckSliders(page, tab);
            CheckLabels(page, tab);
            CheckReach(page, tab);
        }
        CheckGraph();
    }
};

TEST_P(WholeWindow, AtTheDefaultSizeAndTheMinimum) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
    dialog->show();
    QCoreApplication::processEvents();
    {
        SCOPED_TRACE("as started");
        CheckEveryTab();
    }
    {
        SCOPED_TRACE("900 x 520");
        dialog->resize(900, 520);
        QCoreApplication::processEvents();
        CheckEveryTab();
    }
    // Wide enough for every page, as on a 1366-pixel screen: no bar, and every page and the graph
    // where the resize rule puts them.
    dialog->resize(1264, 520);
    QCoreApplication::processEvents();
    const int dx = dialog->Client()->width() - dialog->InitClientRect().width();
    const int dy = dialog->Client()->height() - dialog->InitClientRect().height();
    for (int tab = 0; tab < kTabCount; ++tab) {
        dialog->TabStrip()->setCurrentIndex(tab);
        for (auto* bar : dialog->Client()->findChildren<QScrollBar*>())
            EXPECT_TRUE(bar->isHidden()) << "tab " << tab;
        EXPECT_EQ(dialog->PageView(), dialog->PageRect().adjusted(0, 0, dx, 0)) << "tab " << tab;
        EXPECT_EQ(dialog->PageAt(tab)->geometry(), dialog->PageView()) << "tab " << tab;
        EXPECT_EQ(dialog->Graph()->geometry(), dialog->GraphRect().adjusted(0, 0, dx, dy)) << "tab " << tab;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WholeWindow, testing::Range(0, 5));

}  // namespace
