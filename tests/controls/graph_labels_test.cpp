// The graph's texts against its grid and edges: frequency labels clear of every grid line and whole
// inside the control, the selected band's values inside the plot wherever the band stands.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "controls/graph_layout.h"
#include "controls/graph_render.h"
#include "graph_checks.h"
#include "graph_support.h"

using namespace controls;

namespace {

constexpr int kMargin = 40;

// No markers and a flat curve at 0 dB: nothing but the grid and its labels near the bottom.
GraphState Flat() {
    GraphState s;
    s.leftMargin = kMargin;
    s.bandCount = 0;
    for (int k = 0; k < kGraphBands; ++k) s.freq[k] = 1000, s.q[k] = 1.0f, s.shown[k] = 1;
    return s;
}

std::string At(QSize size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

// The console's graph sizes (default and 900 x 520, in every language's menu height) and every
// height from a low graph to a tall one.
TEST(GraphFreqLabels, ClearOfEveryGridLineAndInsideTheControl) {
    App();
    std::vector<QSize> sizes;
    for (int w : {875, 983, 1138})
        for (int h : {159, 160, 161, 164}) sizes.emplace_back(w, h);
    for (int h = 141; h <= 420; ++h) sizes.emplace_back(800, h);
    for (QSize size : sizes) {
        GraphRenderer r;
        controls_test::ExpectFreqLabelsClear(r.Render(Flat(), size),
                                             GraphAxes(size.width(), size.height(), kMargin), At(size));
        if (HasFailure()) return;  // one size's report is enough
    }
}

TEST(GraphFreqLabels, StayWhereTheyFitAndTheLastEndsAtTheRightEdge) {
    App();
    const int th = QFontMetrics(GraphFont(kSmallFontPx)).height();
    for (QSize size : {QSize(800, 300), QSize(1138, 400)}) {
        const GraphAxes axes(size.width(), size.height(), kMargin);
        const FreqLabelRow row = PlaceFreqLabels(axes, GraphFont(kSmallFontPx));
        ASSERT_EQ(row.labels.size(), LabelFreqs().size());
        for (std::size_t i = 0; i + 1 < row.labels.size(); ++i) {
            EXPECT_EQ(row.labels[i].at, QPoint(kMargin + axes.FreqToX(LabelFreqs()[i]), size.height() - th))
                << At(size) << " " << row.labels[i].text.toStdString() << " moved though it had room";
        }
        const PlacedText& last = row.labels.back();
        EXPECT_EQ(last.text, QStringLiteral("20kHz"));
        EXPECT_EQ(last.rect.right(), size.width() - 1)
            << At(size) << ": \"20kHz\" should end at the right edge";
        EXPECT_EQ(last.at.y(), size.height() - th) << At(size);
    }
    // Too narrow for "20kHz" beside "10kHz": left out rather than run into it.
    const FreqLabelRow narrow = PlaceFreqLabels(GraphAxes(640, 300, kMargin), GraphFont(kSmallFontPx));
    ASSERT_EQ(narrow.labels.size(), LabelFreqs().size() - 1);
    EXPECT_EQ(narrow.labels.back().text, QStringLiteral("10kHz"));

    // A low graph: right under the -24 dB line, the frequency lines and the curve stopped on it.
    const GraphAxes low(1138, 159, kMargin);
    EXPECT_EQ(FreqLinesEnd(low), GridRowY(low, 18)) << "the lines' plain end is a row below the line here";
    EXPECT_EQ(PlaceFreqLabels(low, GraphFont(kSmallFontPx)).inkTop, GridRowY(low, 18) + 1);
    GraphState highPass = Flat();
    highPass.type[1] = 4, highPass.freq[1] = 500, highPass.q[1] = 0.7f;  // far below -24 dB at 20 Hz
    GraphRenderer a, b;
    const QImage steep = a.Render(highPass, QSize(1138, 159)).copy(),
                 flat = b.Render(Flat(), QSize(1138, 159));
    const int y = GridRowY(low, 18) + 1;
    int differ = 0;
    for (int x = 0; x < 1138; ++x) differ += Pixel(steep, x, y) != Pixel(flat, x, y);
    EXPECT_EQ(differ, 0) << "the curve runs on under the -24 dB line";
}

GraphState OneBand(int freq, float gain, float q) {
    GraphState s = Flat();
    s.bandCount = 2;
    s.shown[1] = 0;
    s.type[2] = 1, s.freq[2] = freq, s.gain[2] = gain, s.q[2] = q;
    return s;
}

TEST(GraphBandValues, InsideThePlotWhereverTheBandStands) {
    App();
    const QSize sizes[] = {{1138, 164}, {875, 164}, {983, 159}, {640, 400}, {300, 200}};
    for (QSize size : sizes) {
        const GraphAxes axes(size.width(), size.height(), kMargin);
        for (int freq : {20, 25, 1000, 19000, 20000})
            for (float gain : {-24.0f, -5.0f, -0.5f, 0.0f, 12.0f})
                for (float q : {128.0f, 0.4f}) {
                    GraphState s = OneBand(freq, gain, q);
                    GraphRenderer plainRenderer, selectedRenderer;
                    const QImage plain = plainRenderer.Render(s, size).copy();
                    s.selected = 2, s.blinkStep = 2;
                    const QImage selected = selectedRenderer.Render(s, size).copy();
                    controls_test::ExpectValuesInPlot(selected, plain, s, axes, 2,
                                                      At(size) + ", " + std::to_string(freq) + " Hz, " +
                                                          std::to_string(gain) + " dB, Q " +
                                                          std::to_string(q));
                    if (HasFailure()) return;
                }
    }
}

// Away from the edges the values keep their place: from the marker's left edge, below a boost and
// above a cut, a line apart; near the top a small cut's values go below instead, and near the
// right edge they end left of it.
TEST(GraphBandValues, KeepTheirPlaceWhereTheyFit) {
    App();
    const QFont font = GraphFont(kSmallFontPx);
    const GraphAxes tall(640, 400, kMargin), low(1138, 164, kMargin);
    // clang-format off
    const struct { const char* what; const GraphAxes& axes; int freq; float gain; int side; bool fromMarker; } cases[] = {
        {"boost mid-plot", tall, 1000, 3.0f, 1, true}, {"cut mid-plot", tall, 1000, -6.0f, -1, true},
        {"0 dB counts as a boost", tall, 1000, 0.0f, 1, true},
        {"small cut near the top of a low graph", low, 1000, -0.5f, 1, true},
        {"-24 dB at 20 kHz", low, 20000, -24.0f, -1, false}, {"+12 dB at 20 kHz", low, 20000, 12.0f, 1, false}};
    // clang-format on
    for (const auto& c : cases) {
        const GraphState s = OneBand(c.freq, c.gain, 2.0f);
        const QRect square = MarkerSquare(s, c.axes, 2);
        const auto v = PlaceBandValues(s, c.axes, 2, font);
        EXPECT_EQ(v[0].text, QString::number(c.freq) + "Hz") << c.what;
        EXPECT_EQ(v[2].text, QStringLiteral("Q:2.0")) << c.what;
        // Frequency furthest from the marker, Q nearest, 16 px apart.
        const int base = square.top() + (27 * c.side) / 2;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(v[k].at.y(), base + (3 - k) * kValueLinePx * c.side) << c.what << " line " << k;
        if (c.fromMarker) {
            for (const PlacedText& t : v) EXPECT_EQ(t.at.x(), square.left()) << c.what;
        } else {
            for (const PlacedText& t : v) EXPECT_LT(t.rect.right(), square.center().x()) << c.what;
        }
    }
}

}  // namespace
