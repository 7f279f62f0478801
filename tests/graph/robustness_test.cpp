// Hostile band values and sizes: the graph draws and edits without crashing or reading past its
// arrays (run under ASan+UBSan).
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <climits>
#include <cmath>

#include "controls/graph_layout.h"
#include "controls/graph_wave.h"
#include "graph_support.h"

using namespace controls;

namespace {

void Fill(GraphState& s) {
    s.leftMargin = 40;
    for (int k = 0; k < kGraphBands; ++k)
        s.freq[k] = 50 * (k + 1) * (k + 1), s.gain[k] = k % 5 - 2.0f, s.q[k] = 1.0f, s.type[k] = k % 6,
        s.shown[k] = 1;
}

struct Hostile {
    const char* name;
    void (*apply)(GraphState&);
};

// clang-format off
const Hostile kHostile[] = {
    {"q 0", [](GraphState& s) { s.q[3] = 0.0f; }},
    {"negative q", [](GraphState& s) { s.q[4] = -2.0f; }},
    {"marker at 0 Hz", [](GraphState& s) { s.freq[2] = 0, s.type[2] = 1; }},
    {"negative and huge frequencies", [](GraphState& s) { s.freq[5] = INT_MIN, s.freq[6] = INT_MAX; }},
    {"NaN gain", [](GraphState& s) { s.gain[3] = NAN, s.type[3] = 1; }},
    {"infinite gains", [](GraphState& s) { s.gain[1] = INFINITY, s.gain[7] = -INFINITY; }},
    {"huge gain", [](GraphState& s) { s.gain[8] = 1e30f, s.type[8] = 1; }},
    {"NaN q", [](GraphState& s) { s.q[9] = NAN, s.type[9] = 1; }},
    {"band count 17", [](GraphState& s) { s.bandCount = 17; }},
    {"band count 99", [](GraphState& s) { s.bandCount = 99, s.selected = 16; }},
    {"negative band count", [](GraphState& s) { s.bandCount = -5; }},
    {"selected out of range", [](GraphState& s) { s.selected = 40; }},
    {"unknown types", [](GraphState& s) { s.type[1] = 99, s.type[2] = -7; }},
    {"big blink step", [](GraphState& s) { s.selected = 2, s.blinkStep = 300; }},
};
// clang-format on

TEST(GraphRobustness, HostileValuesAtManySizes) {
    EnsureQtApp();
    const QSize sizes[] = {{640, 400}, {30, 200}, {3000, 300}, {41, 100}, {3, 3}, {800, 1}, {1, 800}, {0, 0}};
    for (const Hostile& h : kHostile) {
        GraphState s;
        Fill(s);
        h.apply(s);
        GraphRenderer r;
        for (QSize size : sizes) {
            const QImage& img = r.Render(s, size);
            EXPECT_EQ(img.size(), size.isEmpty() ? QSize(0, 0) : size) << h.name;
        }
        // Every column of the sum is a finite number.
        r.Render(s, QSize(640, 400));
        ASSERT_EQ(r.Curves().Sum().size(), 600u);
        for (float v : r.Curves().Sum()) ASSERT_TRUE(std::isfinite(v)) << h.name;
    }
}

TEST(GraphRobustness, NarrowPlotDrawsOnlyBackgroundAndGrid) {
    EnsureQtApp();
    GraphState s;
    Fill(s);
    s.bypass = true, s.selected = 3;
    GraphState empty = s;
    empty.bandCount = 0, empty.bypass = false, empty.selected = -1;
    for (int w : {30, 40, 41}) {
        GraphRenderer a, b;
        EXPECT_EQ(a.Render(s, QSize(w, 300)), b.Render(empty, QSize(w, 300))) << w;
        EXPECT_EQ(a.Curves().BandComputations(), 0u) << w;
    }
    s.freq[2] = 0;  // a 0 Hz marker sits on the plot's left edge
    EXPECT_EQ(MarkerSquare(s, GraphAxes(640, 400, 40), 2).left(), 40 - 12);
}

TEST(GraphRobustness, WidgetEditsHostileStates) {
    EnsureQtApp();
    for (const Hostile& h : kHostile) {
        QWidget parent;
        auto* graph = new CGraphWave(&parent);
        graph->setGeometry(0, 0, 640, 400);
        graph->SetTraceSink(nullptr);
        Fill(*graph);
        h.apply(*graph);
        const auto send = [graph](QEvent&& e) { QApplication::sendEvent(graph, &e); };
        for (QPoint at : {QPoint(20, 20), QPoint(400, 150), QPoint(639, 399), QPoint(2, 398)}) {
            QTest::mousePress(graph, Qt::LeftButton, Qt::NoModifier, at);
            send(QMouseEvent(QEvent::MouseMove, QPointF(at + QPoint(5, -7)), QPointF(), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier));
            send(QWheelEvent(QPointF(at), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                             Qt::NoScrollPhase, false));
            QTest::keyClick(graph, Qt::Key_Left);
            QTest::mouseRelease(graph, Qt::LeftButton, Qt::NoModifier, at);
        }
        // Far outside the widget: no overflow in the axis mapping.
        send(QMouseEvent(QEvent::MouseMove, QPointF(1e8, -1e8), QPointF(), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier));
        for (QSize size : {QSize(3000, 250), QSize(30, 250)}) {
            graph->resize(size);
            EXPECT_EQ(graph->Picture().size(), size) << h.name;
        }
        EXPECT_GE(graph->selected, -1) << h.name;
    }
}

}  // namespace
