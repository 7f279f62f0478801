// At 900 x 520 the page area scrolls. A scrolled page reaches past its view, and is clipped to it:
// the tab strip and the graph around it keep showing themselves and taking their clicks.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "controls/graph_layout.h"
#include "support.h"
#include "tests/controls/widget_test_support.h"

namespace {

using console::kTabCount;
using controls_test::Pixel;

class ScrolledPage : public WindowTest {
  protected:
    void SetUp() override {
        Start("[Config]\nLanguage=1\n",
              [](CVelmor_Zem_R7Dlg::Options& o) { o.firstConnectDelayMs = 1 << 30; });
        graph = dialog->Graph();
        graph->SetTraceSink([](const std::string&) {});
        tabs = dialog->TabStrip();
        dialog->show();
        dialog->resize(900, 520);
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    std::vector<QScrollBar*> Bars() const {
        std::vector<QScrollBar*> shown;
        for (auto* bar : dialog->Client()->findChildren<QScrollBar*>())
            if (bar->isVisible()) shown.push_back(bar);
        return shown;
    }
    void Show(int tab) {
        tabs->setCurrentIndex(tab);
        Settle();
    }
    void ScrollTo(double fraction) {
        for (QScrollBar* bar : Bars()) bar->setValue(static_cast<int>(bar->maximum() * fraction));
        Settle();
    }
    // A page taller and wider than its view, as one whose captions took a second line: it scrolls
    // both ways. The page area is laid out again on the next tab change.
    void Enlarge(int tab) {
        QWidget* page = dialog->PageAt(tab);
        const QRect content = page->childrenRect();
        auto* far = new QWidget(page);
        far->setGeometry(content.right() + 300, content.bottom() + 300, 1, 1);
        far->show();
        Show((tab + 1) % kTabCount);
        Show(tab);
    }
    // Where the page would lie without its clip, in the client's coordinates.
    QRect PageReach(int tab) const { return dialog->PageAt(tab)->geometry(); }
    QPoint InClient(QWidget* w, QPoint at) const { return w->mapTo(dialog->Client(), at); }
    // A press and release on the window where `w`'s point `at` is: Qt finds the widget under it.
    void ClickAt(QWidget* w, QPoint at) {
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, w->mapTo(dialog.get(), at));
        Settle();
    }
    QImage Window() const { return dialog->Client()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Pixels in `area` (client coordinates) where the window differs from `w` drawn alone.
    int Covered(const QImage& window, QWidget* w, const QRect& area) const {
        const QImage alone = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QPoint in = w->mapFrom(dialog->Client(), QPoint(x, y));
                n += Pixel(window, x, y) != Pixel(alone, in.x(), in.y());
            }
        return n;
    }
    // Every tab but `tab` is clicked where the page would lie over it, and comes to the front;
    // then `tab` is shown again, scrolled as before.
    void ExpectTabsTakeClicks(int tab, double scrolled) {
        for (int other = 0; other < kTabCount; ++other) {
            if (other == tab) continue;
            const QPoint at = tabs->tabRect(other).center();
            ClickAt(tabs, at);
            EXPECT_EQ(tabs->currentIndex(), other)
                << "page " << tab << ": a click on tab " << other << " did not reach the tab strip";
            Show(tab);
            ScrollTo(scrolled);
        }
    }
    // A band marker (under the page's reach, if `underPage`) is pressed and gets selected.
    void ExpectGraphTakesClicks(int tab, bool underPage) {
        graph->Picture();  // measures the margin
        int band = -1;
        for (int b = 1; b <= graph->LastMarkerBand() && band < 0; ++b) {
            const QPoint centre = controls::MarkerSquare(*graph, graph->Axes(), b).center();
            if (graph->HasMarker(b) && graph->rect().contains(centre) &&
                (!underPage || PageReach(tab).contains(InClient(graph, centre))))
                band = b;
        }
        ASSERT_GE(band, 1) << "page " << tab << ": no marker to click";
        graph->selected = -1;
        ClickAt(graph, controls::MarkerSquare(*graph, graph->Axes(), band).center());
        EXPECT_EQ(graph->selected, band)
            << "page " << tab << ": a click on marker " << band << " did not reach the graph";
    }

    controls::CGraphWave* graph = nullptr;
    QTabBar* tabs = nullptr;
};

// A page scrolled both ways reaches over the tab strip and the graph; neither is painted over, and
// both take their clicks.
TEST_F(ScrolledPage, TabsAndGraphStayOnTopOfAPageScrolledBothWays) {
    for (int tab : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "page " << tab);
        Enlarge(tab);
        ScrollTo(0.5);
        ASSERT_EQ(Bars().size(), 2u) << "the page should scroll both ways";
        const QRect reach = PageReach(tab);
        ASSERT_LT(reach.top(), tabs->geometry().top()) << "the scrolled page should reach over the tabs";
        ASSERT_GT(reach.bottom(), graph->geometry().top() + 60) << "and over the graph";

        const QImage window = Window();
        for (int i = 0; i < kTabCount; ++i) {
            // The tab's background image (96 x 24 at least) covers this much of its item.
            const QRect item = QRect(tabs->tabRect(i).topLeft(), QSize(96, 24)).translated(tabs->pos());
            EXPECT_EQ(Covered(window, tabs, item), 0) << "tab " << i << " painted over";
        }
        EXPECT_EQ(Covered(window, graph, graph->geometry()), 0) << "graph painted over";

        ExpectGraphTakesClicks(tab, true);
        ExpectTabsTakeClicks(tab, 0.5);
    }
}

// The pages that are wider than the window at its least size scroll across: nothing of them shows
// beside their view, and the tab strip and the graph keep their clicks.
TEST_F(ScrolledPage, PagesScrolledAcrossAtTheLeastSizeStayInTheirView) {
    int scrolled = 0;
    for (int tab = 0; tab < kTabCount; ++tab) {
        SCOPED_TRACE(testing::Message() << "page " << tab);
        Show(tab);
        if (Bars().empty()) continue;
        ++scrolled;
        ScrollTo(0.0);
        const QImage atStart = Window();
        ScrollTo(0.5);
        const QRect view = dialog->PageView();
        ASSERT_LT(PageReach(tab).left(), view.left()) << "the scrolled page should start left of its view";
        const QImage halfway = Window();
        int changed = 0;  // left of the view, over the rows of the page
        for (int y = view.top(); y <= view.bottom(); ++y)
            for (int x = 0; x < view.left(); ++x) changed += Pixel(atStart, x, y) != Pixel(halfway, x, y);
        EXPECT_EQ(changed, 0) << "the scrolled page shows left of its view";
        EXPECT_EQ(Covered(halfway, graph, graph->geometry()), 0) << "graph painted over";
        ExpectGraphTakesClicks(tab, false);
        ExpectTabsTakeClicks(tab, 0.5);
    }
    EXPECT_GT(scrolled, 0) << "no page scrolls at 900 x 520";
}

}  // namespace
