// Editing the graph through Qt input and the messages it sends to the parent.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "controls/graph_wave.h"
#include "controls/notices.h"
#include "graph_support.h"
#include "platform/ui/window.h"

using namespace controls;

namespace {

constexpr unsigned kBandMsg = notice::kGraphBandFreqGain, kQMsg = notice::kGraphBandQ;

// Message, wParam, lParam and the graph's frequency for the band when the message arrived.
using Sent = std::tuple<unsigned, std::uint32_t, std::int32_t, int>;

class RecordingParent : public QWidget, public win::MessageSink {
  public:
    std::vector<Sent> sent;
    CGraphWave* graph = nullptr;
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget*) override {
        const int band = notice::WithoutPress(notice::BandOf(static_cast<std::uint32_t>(w)));
        sent.push_back({msg, static_cast<std::uint32_t>(w), static_cast<std::int32_t>(l),
                        graph && band < kGraphBands ? graph->freq[band] : 0});
        return 0;
    }
};

// 640 x 400, margin 40: column 339 of the plot is 990 Hz, row 140 0 dB; band 3 centred at (379, 170).
class GraphEdit : public ::testing::Test {
  public:
    void SetUp() override {
        parent.sent.clear();
        graph = new CGraphWave(&parent);
        parent.graph = graph;
        parent.resize(700, 500);
        graph->setGeometry(0, 0, 640, 400);
        graph->leftMargin = 40;
        graph->SetTraceSink(nullptr);
        for (int k = 0; k < kGraphBands; ++k) {
            graph->freq[k] = 100 * (k + 1) * (k + 1), graph->gain[k] = -20.0f, graph->q[k] = 1.0f;
            graph->type[k] = 1, graph->shown[k] = 1, graph->enabled[k] = 1;
        }
        graph->bandCount = 7;
        graph->freq[3] = 1000, graph->gain[3] = -3.0f;
    }
    void Reset() {
        delete graph;
        SetUp();
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(graph->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(graph, &e);
    }
    // clang-format off
    void Press(QPoint at = {379, 170}) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void Drag(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    // clang-format on
    void Wheel(QPoint delta) {
        QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(graph, &e);
    }
    std::vector<std::int32_t> LParams(unsigned msg) const {
        std::vector<std::int32_t> out;
        for (const auto& [m, w, l, stored] : parent.sent)
            if (m == msg) out.push_back(l);
        return out;
    }

    bool appReady = (App(), true);  // before any widget member
    RecordingParent parent;
    CGraphWave* graph = nullptr;
};

TEST_F(GraphEdit, HitTestEdgesAndOverlaps) {
    // Marker 3's square is x 367..390, y 158..181 (left/top inclusive, right/bottom exclusive).
    // clang-format off
    const std::tuple<int, int, bool> cases[] = {
        {367, 170, true}, {391, 170, false}, {390, 170, true}, {366, 170, false},
        {379, 158, true}, {379, 182, false}, {379, 181, true}, {379, 157, false}};
    // clang-format on
    for (const auto& [x, y, hit] : cases) {
        Reset();
        graph->selected = 5;
        Press(QPoint(x, y));
        EXPECT_EQ(graph->selected, hit ? 3 : -1) << x << "," << y;
        EXPECT_EQ(parent.sent.size(), hit ? 1u : 0u) << x << "," << y;
        EXPECT_EQ(graph->dragging, hit ? 1 : 0) << x << "," << y;
    }
    Reset();  // the lowest band wins
    graph->freq[2] = 1000, graph->gain[2] = -3.0f;
    Press();
    ASSERT_EQ(parent.sent.size(), 1u);
    EXPECT_EQ(notice::BandOf(std::get<1>(parent.sent[0])), 2 | notice::kPressFlag);
    Reset();  // a hidden marker is not hit; the markers tried before it cleared the selection
    graph->shown[3] = 0, graph->selected = 4;
    Press();
    EXPECT_EQ(parent.sent.size(), 0ul);
    EXPECT_EQ(graph->selected, -1);
}

TEST_F(GraphEdit, PressStoresThenSendsThePressForm) {
    Press();
    // Band 3 with the press flag at 990 Hz, -3.0 dB in tenths; stored before sending.
    EXPECT_EQ(parent.sent,
              (std::vector<Sent>{{kBandMsg, notice::PackBandFreq(3 | notice::kPressFlag, 990), -30, 990}}));
    EXPECT_EQ(graph->freq[3], 990);
    EXPECT_EQ(graph->gain[3], -3.0f);
    EXPECT_EQ(graph->selected, 3);
    EXPECT_TRUE(graph->BlinkArmed());
    EXPECT_FALSE(graph->blinkGrowing);
}

TEST_F(GraphEdit, DragLimitsSendBeforeStoringAndOnlyOnChange) {
    Press();
    // The label margin gives 20 Hz, above the plot +12 dB, below it -24 dB; column 539 is 9909 Hz.
    const std::tuple<QPoint, std::uint32_t, std::int32_t> cases[] = {
        {{5, 10}, 20, 120}, {{200, 399}, 126, -240}, {{40, 140}, 20, 0}, {{579, 0}, 9909, 120}};
    for (const auto& [at, freq, tenths] : cases) {
        const int before = graph->freq[3];
        parent.sent.clear();
        Drag(at);
        const std::uint32_t w = notice::PackBandFreq(3, static_cast<int>(freq));
        EXPECT_EQ(parent.sent, (std::vector<Sent>{{kBandMsg, w, tenths, before}})) << at.x();
        EXPECT_EQ(graph->freq[3], int(freq));
        EXPECT_EQ(graph->gain[3], tenths / 10.0f);
    }
    Reset();
    Press();
    Drag(QPoint(379, 170));  // the values the press stored
    Drag(QPoint(400, 100));
    Drag(QPoint(400, 100));
    EXPECT_EQ(parent.sent.size(), 2u);
}

TEST_F(GraphEdit, DragEndsOnReleaseLeavingOrButtonUpAndDoubleClickActsOnce) {
    // clang-format off
    const std::tuple<const char*, QEvent::Type, QPoint, Qt::MouseButton, Qt::MouseButtons> ends[] = {
        {"release", QEvent::MouseButtonRelease, {379, 170}, Qt::LeftButton, Qt::NoButton},
        {"pointer outside", QEvent::MouseMove, {700, 170}, Qt::NoButton, Qt::LeftButton},
        {"button no longer held", QEvent::MouseMove, {300, 170}, Qt::NoButton, Qt::NoButton}};
    // clang-format on
    for (const auto& [what, type, at, button, held] : ends) {
        Reset();
        Press();
        Mouse(type, at, button, held);
        EXPECT_EQ(graph->dragging, 0) << what;
        parent.sent.clear();
        Drag(QPoint(250, 100));
        EXPECT_TRUE(parent.sent.empty()) << what;
    }
    // QTest's double click is the second click of the pair; the first is a plain click.
    Reset();
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(379, 170));
    QTest::mouseDClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(379, 170));
    EXPECT_EQ(parent.sent.size(), 1u);
}

TEST_F(GraphEdit, WheelStepsQInTenthsWithinLimits) {
    // clang-format off
    const struct { float q; int delta, events; std::vector<std::int32_t> sent; float end; } cases[] = {
        {1.0f, -120, 8, {9, 8, 7, 6, 5, 4}, 0.4f},
        {127.5f, 120, 8, {1276, 1277, 1278, 1279, 1280}, 128.0f},
        {0.707f, 120, 1, {8}, 0.8f},
        {2.0f, 240, 1, {21, 22}, 2.2f},  // a fast wheel: two notches at once
        {2.0f, -10, 12, {19}, 1.9f},     // a touchpad: one step per whole notch
        {NAN, 120, 3, {}, NAN}};
    // clang-format on
    for (const auto& c : cases) {
        Reset();
        graph->selected = 3, graph->q[3] = c.q;
        for (int i = 0; i < c.events; ++i) Wheel(QPoint(0, c.delta));
        EXPECT_EQ(LParams(kQMsg), c.sent) << c.q << " " << c.delta;
        for (const Sent& s : parent.sent) EXPECT_EQ(std::get<1>(s), 3u);
        EXPECT_TRUE(std::isnan(c.end) ? std::isnan(graph->q[3]) : graph->q[3] == c.end) << c.q;
    }
    // Only for a selected band 1..16 and a vertical delta.
    Reset();
    const std::pair<int, QPoint> idle[] = {
        {0, {0, 120}}, {-1, {0, -120}}, {17, {0, 120}}, {3, {120, 0}}, {3, {0, 0}}};
    for (const auto& [selected, delta] : idle) {
        graph->selected = selected;
        Wheel(delta);
        EXPECT_TRUE(parent.sent.empty()) << selected;
    }
    EXPECT_EQ(graph->q[3], 1.0f);
}

TEST_F(GraphEdit, ArrowKeysNudgeGainAndFrequency) {
    for (int selected : {-1, 0, 17, 40}) {  // keys act only for a selected band 1..16
        graph->selected = selected;
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Tab}) QTest::keyClick(graph, key);
    }
    EXPECT_TRUE(parent.sent.empty());
    EXPECT_EQ(graph->gain[0], -20.0f);

    graph->selected = 3, graph->gain[3] = 0.0f;
    for (int i = 0; i < 24; ++i) QTest::keyClick(graph, Qt::Key_Up);
    ASSERT_EQ(LParams(kBandMsg).size(), 24ul);
    ASSERT_EQ(graph->gain[3], 2.4f);
    EXPECT_EQ(LParams(kBandMsg).back(), 24);
    // clang-format off
    const std::tuple<Qt::Key, int, float, int, std::int32_t> cases[] = {
        {Qt::Key_Down, 1000, 0.0f, 1000, -1},     {Qt::Key_Left, 1000, 0.0f, 999, 0},
        {Qt::Key_Right, 1000, 0.0f, 1001, 0},     {Qt::Key_Up, 1000, 12.0f, 1000, 120},
        {Qt::Key_Down, 1000, -24.0f, 1000, -240}, {Qt::Key_Left, 20, 0.0f, 20, 0},
        {Qt::Key_Right, 20000, 0.0f, 20000, 0},   {Qt::Key_Left, 0, 0.0f, 20, 0},
        {Qt::Key_Up, 1000, NAN, 1000, 1},         {Qt::Key_Tab, 440, 3.3f, 440, 33},
        {Qt::Key_Return, 440, -1.25f, 440, -13}};
    // clang-format on
    for (const auto& [key, freq, gain, expFreq, expGain] : cases) {
        parent.sent.clear();
        graph->freq[3] = freq, graph->gain[3] = gain;
        QTest::keyClick(graph, key);
        const std::uint32_t w = notice::PackBandFreq(3, expFreq);
        EXPECT_EQ(parent.sent, (std::vector<Sent>{{kBandMsg, w, expGain, freq}})) << key;
        EXPECT_EQ(graph->freq[3], expFreq);
        EXPECT_EQ(graph->gain[3], expGain / 10.0f);
    }
}

TEST_F(GraphEdit, SettersSelectAndIgnoreBandsOutsideTheRecord) {
    for (int band : {17, -1, 99}) graph->SetBandFreq(band, 500), graph->SetBandType(band, 2);
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
    Press();
    for (int step : {-1, 0, 1, 2, 3, 4, 3, 2, 1, 0, 1}) {
        graph->ArmBlink();
        graph->OnTimer(kBlinkTimerId);
        EXPECT_EQ(graph->blinkStep, step);
        EXPECT_FALSE(graph->BlinkArmed());
    }
    graph->OnTimer(2);  // other ids do nothing
    EXPECT_EQ(graph->blinkStep, 1);
    Reset();
    graph->selected = 3;
    graph->ArmBlink();
    // The real timer fires once (47 ms; a loaded machine may take longer).
    EXPECT_TRUE(QTest::qWaitFor([&] { return graph->blinkStep == -1; }, 2000)) << "the blink never ended";
    EXPECT_EQ(graph->blinkStep, -1);
    EXPECT_FALSE(graph->BlinkArmed());
}

TEST_F(GraphEdit, PressesInARowKeepTheBlinkStepWithinItsBounce) {
    // Each press arms one step; clicking on and on must not shrink the marker away.
    for (int press = 0; press < 20; ++press) {
        Press();
        graph->OnTimer(kBlinkTimerId);
        EXPECT_GE(graph->blinkStep, -1) << "after press " << press;
        EXPECT_LE(graph->blinkStep, 4) << "after press " << press;
    }
    EXPECT_EQ(graph->blinkStep, -1) << "a press from the dip shrinks from 0";
    // A press in the middle of growing shrinks from where the pulse stands.
    for (int i = 0; i < 4; ++i) graph->OnTimer(kBlinkTimerId);  // -1 -> 3
    ASSERT_EQ(graph->blinkStep, 3);
    Press();
    graph->OnTimer(kBlinkTimerId);
    EXPECT_EQ(graph->blinkStep, 2);
    EXPECT_FALSE(graph->blinkGrowing);
}

TEST_F(GraphEdit, EveryRepaintWritesTheTrace) {
    std::vector<std::string> traces;
    graph->SetTraceSink([&](const std::string& t) { traces.push_back(t); });
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    traces.clear();
    graph->repaint();
    graph->repaint();
    std::string want = "drawline:\n";
    for (int k = 0; k < kGraphBands; ++k)
        want += "k:" + std::to_string(k) +
                ",type:1,freq:" + std::to_string(k == 3 ? 1000 : 100 * (k + 1) * (k + 1)) +
                ",gain:" + (k == 3 ? "-3.000000" : "-20.000000") + "\n";
    EXPECT_EQ(traces, std::vector<std::string>(2, want));
    // The picture shown is the rendered one, with its measured margin kept.
    EXPECT_EQ(graph->leftMargin, 40);
    EXPECT_EQ(graph->blinkRect, QRect());
}

TEST_F(GraphEdit, HostileStatesSurviveEditing) {
    for (const Hostile& h : kHostile) {
        Reset();
        h.apply(*graph);
        for (QPoint at : {QPoint(20, 20), QPoint(400, 150), QPoint(639, 399), QPoint(2, 398)}) {
            Press(at);
            Drag(at + QPoint(5, -7));
            Wheel(QPoint(0, -120));
            QTest::keyClick(graph, Qt::Key_Left);
            Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        }
        Press();
        Drag(QPoint(100000000, -100000000));  // far outside: no overflow in the axis mapping
        for (QSize size : {QSize(3000, 250), QSize(30, 250)}) {
            graph->resize(size);
            EXPECT_EQ(graph->Picture().size(), size) << h.name;
        }
        EXPECT_GE(graph->selected, -1) << h.name;
    }
}

}  // namespace
