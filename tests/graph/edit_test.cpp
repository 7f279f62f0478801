// Editing the graph through Qt input: hit test, the messages to the parent and their packing,
// drag limits, wheel and keys, setters and the blink step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <vector>

#include "controls/graph_wave.h"
#include "platform/ui/window.h"
#include "qt_app.h"

using namespace controls;

namespace {

struct Sent {
    unsigned msg;
    std::uint32_t wParam;
    std::int32_t lParam;
    int storedFreq;  // the graph's value for the band when the message arrived
};

class RecordingParent : public QWidget, public win::MessageSink {
  public:
    std::vector<Sent> sent;
    CGraphWave* graph = nullptr;
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget*) override {
        const int band = static_cast<int>((w >> 16) & 0xFF);
        sent.push_back({msg, static_cast<std::uint32_t>(w), static_cast<std::int32_t>(l),
                        graph && band < kGraphBands ? graph->freq[band] : 0});
        return 0;
    }
};

// 640 x 400 with a 40-pixel margin: column 339 of the plot is 990 Hz, row 140 is 0 dB, 10 px per dB.
class GraphEdit : public ::testing::Test {
  public:
    void SetUp() override {
        EnsureQtApp();
        parent.sent.clear();
        graph = new CGraphWave(&parent);
        parent.graph = graph;
        parent.resize(700, 500);
        graph->setGeometry(0, 0, 640, 400);
        graph->leftMargin = 40;
        graph->SetTraceSink(nullptr);
        for (int k = 0; k < kGraphBands; ++k) {
            graph->freq[k] = 100 * (k + 1) * (k + 1);
            graph->gain[k] = -20.0f;  // out of the way below
            graph->q[k] = 1.0f;
            graph->type[k] = 1;
            graph->shown[k] = 1;
            graph->enabled[k] = 1;
        }
        graph->bandCount = 7;
        graph->freq[3] = 1000;  // marker 3 centred at (379, 170)
        graph->gain[3] = -3.0f;
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(graph->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(graph, &e);
    }
    void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void Drag(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void Hover(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void Wheel(QPoint delta) {
        QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(graph, &e);
    }
    std::vector<std::int32_t> LParams(unsigned msg) const {
        std::vector<std::int32_t> out;
        for (const Sent& s : parent.sent)
            if (s.msg == msg) out.push_back(s.lParam);
        return out;
    }

    bool appReady = (EnsureQtApp(), true);  // before any widget member
    RecordingParent parent;
    CGraphWave* graph = nullptr;
};

TEST_F(GraphEdit, HitTestEdges) {
    // Marker 3's square is x 367..390, y 158..181 (left/top inclusive, right/bottom exclusive).
    struct Case {
        int x, y;
        bool hit;
    } cases[] = {
        {379 - 12, 170, true}, {379 + 12, 170, false}, {379 + 11, 170, true}, {379 - 13, 170, false},
        {379, 170 - 12, true}, {379, 170 + 12, false}, {379, 170 + 11, true}, {379, 170 - 13, false},
    };
    for (const auto& c : cases) {
        SetUp();
        graph->selected = 5;
        Press(QPoint(c.x, c.y));
        EXPECT_EQ(graph->selected, c.hit ? 3 : -1) << c.x << "," << c.y;
        EXPECT_EQ(parent.sent.size(), c.hit ? 1u : 0u) << c.x << "," << c.y;
        EXPECT_EQ(graph->dragging, c.hit ? 1 : 0);
        parent.sent.clear();
        delete graph;
    }
    SetUp();
}

TEST_F(GraphEdit, PressSendsThePressFormAfterStoring) {
    Press(QPoint(379, 170));
    ASSERT_EQ(parent.sent.size(), 1u);
    const Sent& s = parent.sent[0];
    EXPECT_EQ(s.msg, 0x467u);
    EXPECT_EQ(s.wParam, 0x010303DEu);  // (3 | 0x100) << 16 | 990
    EXPECT_EQ(s.lParam, -30);
    EXPECT_EQ(s.storedFreq, 990);  // a press stores first
    EXPECT_EQ(graph->freq[3], 990);
    EXPECT_EQ(graph->gain[3], -3.0f);
    EXPECT_EQ(graph->selected, 3);
    EXPECT_TRUE(graph->BlinkArmed());
    EXPECT_FALSE(graph->blinkGrowing);
}

TEST_F(GraphEdit, LowestBandWinsAndHiddenMarkersAreNotHit) {
    graph->freq[2] = 1000;
    graph->gain[2] = -3.0f;
    Press(QPoint(379, 170));
    ASSERT_EQ(parent.sent.size(), 1u);
    EXPECT_EQ(parent.sent[0].wParam >> 16, 0x102u);

    delete graph;
    SetUp();
    graph->shown[3] = 0;
    graph->selected = 4;
    Press(QPoint(379, 170));
    EXPECT_TRUE(parent.sent.empty());
    EXPECT_EQ(graph->selected, -1);  // the markers tried before it cleared the selection
}

TEST_F(GraphEdit, DragLimitsAndMessagesBeforeStoring) {
    Press(QPoint(379, 170));
    struct Case {
        QPoint at;
        std::uint32_t wParam;
        std::int32_t lParam;
    } cases[] = {
        {{5, 10}, 0x00030000u | 20, 120},       // label margin: 20 Hz; above +12 dB
        {{200, 399}, 0x00030000u | 126, -240},  // below -24 dB
        {{40, 140}, 0x00030000u | 20, 0},
        {{579, 0}, 0x00030000u | 9909, 120},  // column 539
    };
    for (const auto& c : cases) {
        const int before = graph->freq[3];
        parent.sent.clear();
        Drag(c.at);
        ASSERT_EQ(parent.sent.size(), 1u) << c.at.x();
        EXPECT_EQ(parent.sent[0].msg, 0x467u);
        EXPECT_EQ(parent.sent[0].wParam, c.wParam) << c.at.x();
        EXPECT_EQ(parent.sent[0].lParam, c.lParam) << c.at.x();
        EXPECT_EQ(parent.sent[0].storedFreq, before);  // the parent sees the values first
        EXPECT_EQ(graph->freq[3], static_cast<int>(c.wParam & 0xFFFF));
        EXPECT_FLOAT_EQ(graph->gain[3], c.lParam / 10.0f);
    }
}

TEST_F(GraphEdit, DragSendsNothingWhenNothingChanges) {
    Press(QPoint(379, 170));
    Drag(QPoint(379, 170));  // same frequency and gain as the press stored
    Drag(QPoint(400, 100));
    Drag(QPoint(400, 100));
    EXPECT_EQ(parent.sent.size(), 2u);
}

TEST_F(GraphEdit, DragEndsOnReleaseLeavingOrButtonUp) {
    struct Case {
        const char* what;
        void (*end)(GraphEdit&);
    } cases[] = {
        {"release", [](GraphEdit& t) { t.Release(QPoint(379, 170)); }},
        {"pointer outside", [](GraphEdit& t) { t.Drag(QPoint(700, 170)); }},
        {"button no longer held", [](GraphEdit& t) { t.Hover(QPoint(300, 170)); }},
    };
    for (const auto& c : cases) {
        SetUp();
        Press(QPoint(379, 170));
        c.end(*this);
        EXPECT_EQ(graph->dragging, 0) << c.what;
        parent.sent.clear();
        Drag(QPoint(250, 100));
        EXPECT_TRUE(parent.sent.empty()) << c.what;
        delete graph;
    }
    SetUp();
}

TEST_F(GraphEdit, DoubleClickActsOnce) {
    Press(QPoint(379, 170));
    Release(QPoint(379, 170));
    Mouse(QEvent::MouseButtonDblClick, QPoint(379, 170), Qt::LeftButton, Qt::LeftButton);
    Release(QPoint(379, 170));
    EXPECT_EQ(parent.sent.size(), 1u);

    delete graph;
    SetUp();
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    // QTest's double click is the second click of the pair; the first is a plain click.
    QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(379, 170));
    QTest::mouseDClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(379, 170));
    EXPECT_EQ(LParams(0x467).size(), 1u);
}

TEST_F(GraphEdit, WheelStepsQInTenthsWithinLimits) {
    struct Case {
        float q;
        int delta;
        int events;
        std::vector<std::int32_t> sent;
        float end;
    } cases[] = {
        {1.0f, -120, 8, {9, 8, 7, 6, 5, 4}, 0.4f},
        {127.5f, 120, 8, {1276, 1277, 1278, 1279, 1280}, 128.0f},
        {0.707f, 120, 1, {8}, 0.8f},
        {2.0f, 240, 1, {21, 22}, 2.2f},  // a fast wheel: two notches at once
        {2.0f, -10, 12, {19}, 1.9f},     // a touchpad: one step per whole notch
        {2.0f, -60, 1, {}, 2.0f},
        {NAN, 120, 3, {}, NAN},
    };
    for (const auto& c : cases) {
        SetUp();
        graph->selected = 3;
        graph->q[3] = c.q;
        for (int i = 0; i < c.events; ++i) Wheel(QPoint(0, c.delta));
        EXPECT_EQ(LParams(0x466), c.sent) << c.q << " " << c.delta;
        for (const Sent& s : parent.sent) EXPECT_EQ(s.wParam, 3u);
        if (std::isnan(c.end)) {
            EXPECT_TRUE(std::isnan(graph->q[3]));
        } else {
            EXPECT_FLOAT_EQ(graph->q[3], c.end) << c.q;
        }
        delete graph;
    }
    SetUp();
}

TEST_F(GraphEdit, WheelNeedsAPeakingBandAndAVerticalDelta) {
    struct Case {
        int selected;
        QPoint delta;
    } cases[] = {
        {0, {0, 120}}, {-1, {0, -120}}, {17, {0, 120}}, {3, {120, 0}}, {3, {0, 0}},
    };
    for (const auto& c : cases) {
        graph->selected = c.selected;
        Wheel(c.delta);
        EXPECT_TRUE(parent.sent.empty()) << c.selected;
    }
    EXPECT_EQ(graph->q[3], 1.0f);
}

TEST_F(GraphEdit, ArrowKeysNudgeGainAndFrequency) {
    graph->selected = 3;
    graph->gain[3] = 0.0f;
    for (int i = 0; i < 24; ++i) QTest::keyClick(graph, Qt::Key_Up);
    ASSERT_EQ(LParams(0x467).size(), 24u);
    EXPECT_EQ(LParams(0x467).back(), 24);
    EXPECT_FLOAT_EQ(graph->gain[3], 2.4f);

    struct Case {
        Qt::Key key;
        int freq;
        float gain;
        int expFreq;
        std::int32_t expGain;
    } cases[] = {
        {Qt::Key_Down, 1000, 0.0f, 1000, -1},     {Qt::Key_Left, 1000, 0.0f, 999, 0},
        {Qt::Key_Right, 1000, 0.0f, 1001, 0},     {Qt::Key_Up, 1000, 12.0f, 1000, 120},
        {Qt::Key_Down, 1000, -24.0f, 1000, -240}, {Qt::Key_Left, 20, 0.0f, 20, 0},
        {Qt::Key_Right, 20000, 0.0f, 20000, 0},   {Qt::Key_Left, 0, 0.0f, 20, 0},
        {Qt::Key_Up, 1000, NAN, 1000, 1},         {Qt::Key_Tab, 440, 3.3f, 440, 33},
        {Qt::Key_Return, 440, -1.25f, 440, -13},
    };
    for (const auto& c : cases) {
        parent.sent.clear();
        graph->freq[3] = c.freq;
        graph->gain[3] = c.gain;
        QTest::keyClick(graph, c.key);
        ASSERT_EQ(parent.sent.size(), 1u) << c.key;
        EXPECT_EQ(parent.sent[0].wParam, (3u << 16) | static_cast<std::uint32_t>(c.expFreq)) << c.key;
        EXPECT_EQ(parent.sent[0].lParam, c.expGain) << c.key;
        EXPECT_EQ(graph->freq[3], c.expFreq);
        EXPECT_FLOAT_EQ(graph->gain[3], c.expGain / 10.0f);
    }
}

TEST_F(GraphEdit, KeysNeedAPeakingBand) {
    for (int selected : {-1, 0, 17, 40}) {
        graph->selected = selected;
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Tab}) QTest::keyClick(graph, key);
    }
    EXPECT_TRUE(parent.sent.empty());
    EXPECT_EQ(graph->gain[0], -20.0f);
}

TEST_F(GraphEdit, SettersSelectAndIgnoreBandsOutsideTheRecord) {
    for (int band : {17, -1, 99}) {
        graph->SetBandFreq(band, 500);
        graph->SetBandType(band, 2);
    }
    EXPECT_EQ(graph->selected, -1);
    EXPECT_FALSE(graph->BlinkArmed());

    graph->SetBandFreq(4, 500);
    EXPECT_EQ(graph->selected, 4);
    EXPECT_EQ(graph->freq[4], 500);
    EXPECT_TRUE(graph->BlinkArmed());
    graph->SetBandType(0, 4);
    EXPECT_EQ(graph->selected, 0);
    EXPECT_EQ(graph->type[0], 4);
    EXPECT_EQ(graph->freq[4], 500);
    EXPECT_TRUE(parent.sent.empty());
}

TEST_F(GraphEdit, BlinkTakesOneStepPerArming) {
    // After a press the step shrinks first, dips to -1, then bounces between 4 and 0.
    Press(QPoint(379, 170));
    const int expected[] = {-1, 0, 1, 2, 3, 4, 3, 2, 1, 0, 1};
    for (int step : expected) {
        graph->ArmBlink();
        graph->OnTimer(kBlinkTimerId);
        EXPECT_EQ(graph->blinkStep, step);
        EXPECT_FALSE(graph->BlinkArmed());
    }
    graph->OnTimer(2);  // other ids do nothing
    EXPECT_EQ(graph->blinkStep, 1);
}

TEST_F(GraphEdit, BlinkTimerFiresOnceAfterArming) {
    graph->selected = 3;
    graph->ArmBlink();
    QTest::qWait(200);
    EXPECT_EQ(graph->blinkStep, -1);
    EXPECT_FALSE(graph->BlinkArmed());
}

TEST_F(GraphEdit, EveryRepaintWritesTheTrace) {
    std::vector<std::string> traces;
    graph->SetTraceSink([&](const std::string& t) { traces.push_back(t); });
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    traces.clear();
    graph->repaint();
    graph->repaint();
    ASSERT_EQ(traces.size(), 2u);
    const std::string& t = traces[0];
    EXPECT_EQ(t.rfind("drawline:\nk:0,type:1,freq:100,gain:-20.000000\n", 0), 0u);
    EXPECT_NE(t.find("\nk:3,type:1,freq:1000,gain:-3.000000\n"), std::string::npos);
    const std::string last = "\nk:16,type:1,freq:28900,gain:-20.000000\n";
    EXPECT_EQ(t.substr(t.size() - last.size()), last);
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 18);
    // The picture shown is the rendered one, with its measured margin kept.
    EXPECT_EQ(graph->leftMargin, 40);
    EXPECT_EQ(graph->blinkRect, QRect());
}

}  // namespace
