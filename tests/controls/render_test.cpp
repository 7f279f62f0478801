// Rendered at 640 x 400, margin 40 (plot 600 wide, 0 dB at row 140); text only via layer differences.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <functional>

#include "controls/graph_layout.h"
#include "controls/graph_render.h"
#include "controls/graph_text.h"
#include "graph_support.h"

using namespace controls;

namespace {

constexpr int kW = 640, kH = 400, kMargin = 40;
const GraphAxes kAxes(kW, kH, kMargin);

// Colours as 0xRRGGBB (QImage order) of the GDI values the graph uses.
constexpr QRgb kBg = 0x141414, kFreqLine = 0x404040, kGainLine = 0x323232, kEdge = 0x808080;
constexpr QRgb kGreen = 0x10FF10, kRing = 0x2B3A0F, kTick = 0x10FF10;

GraphState FlatState() {
    GraphState s;
    s.leftMargin = kMargin;
    s.bandCount = 0;
    for (int k = 0; k < kGraphBands; ++k)
        s.freq[k] = 1000, s.q[k] = 1.0f, s.type[k] = 0, s.shown[k] = 1, s.enabled[k] = 1;
    return s;
}

QImage Render(const GraphState& s, QSize size = QSize(kW, kH)) {
    App();
    GraphRenderer r;
    return r.Render(s, size).copy();
}

// What one picture adds over the other.
QImage Diff(const QImage& a, const QImage& b) {
    QImage d = a.copy();
    XorInto(d, b, QPoint(0, 0));
    return d;
}

TEST(GraphGrid, BackgroundLinesAndLabels) {
    const QImage img = Render(FlatState());
    ASSERT_EQ(img.size(), QSize(kW, kH));
    // clang-format off
    const struct { const char* what; int x, y; QRgb rgb; } cases[] = {
        {"background above the plot", 300, 5, kBg}, {"background in the margin", 10, 70, kBg},
        {"100 Hz line", kMargin + 139, 50, kFreqLine}, {"1 kHz line", kMargin + 339, 250, kFreqLine},
        {"no line right of 1 kHz", kMargin + 340, 250, kBg},
        {"+10 dB row", 100, 40, kGainLine}, {"-20 dB row", 100, 340, kGainLine},
        {"gain row wins over a frequency line", kMargin + 139, 60, kGainLine},
        {"+12 dB edge", 100, 20, kEdge}, {"-24 dB edge, upper", 100, 379, kEdge}, {"-24 dB edge, lower", 100, 380, kEdge},
        {"frequency lines from the first row", kMargin + 339, 20, kEdge},
        {"frequency lines to the last row", kMargin + 339, 379, kEdge},
        {"frequency lines stop at 20 kHz", kMargin + 339, 381, kBg},
        {"gain rows from the plot's edge", kMargin, 100, kGainLine}, {"not into the margin", kMargin - 1, 100, kBg}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(Pixel(img, c.x, c.y), c.rgb) << c.what;
    // Gain labels left of the plot but not in its last 5 px; frequency labels along the bottom.
    QImage bg(img.size(), QImage::Format_RGB32);
    bg.fill(QColor(0x14, 0x14, 0x14));
    const QImage text = Diff(img, bg);
    EXPECT_GT(CountNonBlack(text, QRect(0, 130, kMargin - 5, 20)), 0);
    EXPECT_EQ(CountNonBlack(text, QRect(kMargin - 5, 130, 5, 20)), 0);
    EXPECT_GT(CountNonBlack(text, QRect(kMargin + 339, kH - 11, 30, 11)), 0);
}

TEST(GraphGrid, GainLabelsOnTheirRowsInAMarginWideEnough) {
    for (int height : {300, 333, 400, 517, 600}) {
        const GraphAxes axes(640, height, 40);
        for (int k = 1; k <= 19; ++k) {
            const QRect r = GainLabelRect(axes, k, 30, 11);
            EXPECT_LE(std::abs(r.center().y() - GridRowY(axes, k - 1)), 1) << height << " label " << k;
            EXPECT_EQ(r.right() + 1, 40 - 5) << height;  // right-aligned 5 px left of the plot
        }
    }
    EXPECT_EQ(GainLabelValue(1), 12);
    EXPECT_EQ(GainLabelValue(19), -24);
    App();
    const QFontMetrics fm(GraphFont(kSmallFontPx));
    const int margin = MeasureLeftMargin();
    for (const char* label : {"-24dB", "-12dB", "12dB", "-2dB"})
        EXPECT_GE(margin, fm.horizontalAdvance(label) + 5);
}

// Low graphs draw every other label, so none runs into the next; from the height where all
// 19 keep a blank row between them, all are drawn.
TEST(GraphGrid, GainLabelsNeverTouch) {
    App();
    const int ink = GainLabelInkHeight(GraphFont(kSmallFontPx));
    ASSERT_GT(ink, 4);
    const int allFit = 20 * (ink + 1);  // the first height whose row pitch is ink + 1
    for (int height : {100, 120, 160, allFit - 20, allFit, 300}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        const GraphAxes axes(kW, height, kMargin);
        const int stride = GainLabelStride(axes, ink);
        EXPECT_EQ(stride == 1, height >= allFit);
        EXPECT_EQ(18 % stride, 0) << "the -24 dB label must stay";
        const auto runs = controls_test::InkRuns(Render(FlatState(), QSize(kW, height)), kMargin - 5, kBg);
        EXPECT_EQ(runs.size(), static_cast<std::size_t>(18 / stride + 1)) << "labels run together";
        if (runs.empty()) continue;
        // The top label stands on the +12 dB row, the bottom one on the -24 dB row.
        EXPECT_LE(runs.front().first, GridRowY(axes, 0));
        EXPECT_GE(runs.front().second, GridRowY(axes, 0));
        EXPECT_LE(runs.back().first, GridRowY(axes, 18));
        EXPECT_GE(runs.back().second, GridRowY(axes, 18));
    }
}

TEST(GraphCurve, FlatCurveXorsTheRowAndAPeakCrestsWhereTheAxesPutIt) {
    const QImage flat = Render(FlatState());
    for (int x : {kMargin + 10, kMargin + 250, kMargin + 500}) {
        EXPECT_EQ(Pixel(flat, x, 140), kGreen ^ kGainLine) << x;
        // The 2-pixel pen's edges half cover the rows beside it.
        EXPECT_NEAR(qGreen(Pixel(flat, x, 139) ^ kBg), 0x80, 2) << x;
        EXPECT_NEAR(qGreen(Pixel(flat, x, 141) ^ kBg), 0x80, 2) << x;
        EXPECT_EQ(Pixel(flat, x, 138), kBg) << x;
        EXPECT_EQ(Pixel(flat, x, 142), kBg) << x;
    }
    // Where the curve crosses a frequency line, the line is XOR-ed too.
    EXPECT_EQ(Pixel(flat, kMargin + 339, 139), Pixel(flat, kMargin + 339 + 1, 139) ^ kBg ^ kFreqLine);

    GraphState s = FlatState();
    s.type[3] = 1, s.gain[3] = 6.0f;
    const QImage img = Render(s);
    const int crestX = kMargin + 339, crestY = 140 - 6 * 10;
    // The topmost strongly green pixel in the crest's columns is on the +6 dB row.
    int top = kH;
    for (int x = crestX - 2; x <= crestX + 2; ++x)
        for (int y = 0; y < top; ++y)
            if (qGreen(Pixel(img, x, y)) > 0xC0 && qRed(Pixel(img, x, y)) < 0x40) top = y;
    EXPECT_NEAR(top, crestY, 1);
    EXPECT_EQ(Pixel(img, kMargin + 20, 140), kGreen ^ kGainLine);  // far from the band: back at 0 dB

    // "EQ PASS": large text across the middle only when bypassed, the curve still drawn under it.
    GraphState bypassed = s;
    bypassed.bypass = true;
    const QImage pass = Render(bypassed), text = Diff(pass, img);
    EXPECT_GT(CountNonBlack(text, QRect(0, kH / 2 - 30, kW, 60)), 500);
    EXPECT_EQ(CountNonBlack(text, QRect(0, 0, kW, 100)), 0);
    EXPECT_EQ(Pixel(pass, kMargin + 20, 140), kGreen ^ kGainLine);
}

// One marker for band 2 at 1 kHz: what it adds over the same state without it (type 0: flat curve).
struct MarkerCase {
    GraphState with = FlatState(), without;
    QRect square;
    MarkerCase(float gain, int selected, int blinkStep = 0) {
        with.bandCount = 2;
        with.shown[1] = 0;  // band 1 has no marker
        with.gain[2] = gain, with.selected = selected, with.blinkStep = blinkStep;
        without = with;
        without.shown[2] = 0;
        square = MarkerSquare(with, kAxes, 2);
    }
    QImage Layer() const { return Diff(Render(with), Render(without)); }
};

TEST(GraphMarkers, RingTicksNumberThirdEllipseAndBlink) {
    const MarkerCase unsel(0.0f, -1), sel(0.0f, 2), grown(0.0f, 2, 3);
    const QRect sq = unsel.square;
    ASSERT_EQ(sq, QRect(kMargin + 339 - 12, 140 - 12, 24, 24));
    const QImage a = unsel.Layer(), b = sel.Layer(), g = grown.Layer();
    const int midY = sq.top() + 12;
    // clang-format off
    const struct { const char* what; const QImage& img; int x; QRgb rgb; } cases[] = {
        // Ring: ellipse shrunk by 2, 2 px wide; a third one shrunk by 5 on unselected markers only.
        {"ring left", a, sq.left() + 3, kRing}, {"ring right", a, sq.right() - 3, kRing},
        {"selected ring", b, sq.left() + 3, kRing}, {"third ellipse left", a, sq.left() + 5, kRing},
        {"third ellipse right", a, sq.right() - 5, kRing}, {"none when selected", b, sq.left() + 5, 0},
        {"none when selected, right", b, sq.right() - 5, 0},
        // Blink step 3 grows the square by 3 before the ring shrinks it by 2.
        {"grown ring", g, sq.left(), kRing}, {"grown ring inner", g, sq.left() + 3, 0}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(Pixel(c.img, c.x, midY), c.rgb) << c.what;
    // Ticks: 6 px at the inner ellipse's top row and 4 px above the square's bottom.
    for (const QImage* img : {&a, &b})
        for (int dx = 8; dx <= 15; ++dx)
            for (int dy : {2, 20}) {
                const bool onTick = dx > 8 && dx < 15;
                EXPECT_EQ(Pixel(*img, sq.left() + dx, sq.top() + dy) == kTick, onTick)
                    << "dx " << dx << " dy " << dy;
            }
    EXPECT_EQ(CountNonBlack(a, a.rect()), CountNonBlack(a, sq));  // nothing outside the square
    int numberPixels = 0;  // the band number, in the marker's colour inside the inner ellipse
    for (int y = sq.top() + 7; y < sq.top() + 17; ++y)
        for (int x = sq.left() + 7; x < sq.left() + 17; ++x) numberPixels += qGreen(Pixel(a, x, y)) > 0x40;
    EXPECT_GT(numberPixels, 5);
}

TEST(GraphMarkers, ValuesBelowForBoostAboveForCut) {
    for (float gain : {3.0f, 0.0f, -6.0f}) {
        const MarkerCase selected(gain, 2), plain(gain, -1);
        const QImage values = Diff(Render(selected.with), Render(plain.with));
        const QRect sq = selected.square;
        const int below = CountNonBlack(values, QRect(sq.left(), sq.bottom() + 1, 100, 70));
        const int above = CountNonBlack(values, QRect(sq.left(), sq.top() - 70, 100, 70));
        EXPECT_GT(gain >= 0 ? below : above, 50) << gain;
        EXPECT_EQ(gain >= 0 ? above : below, 0) << gain;
    }
}

TEST(GraphMarkers, OnlyShownBandsUpToBandCountNeverPast16) {
    GraphState s = FlatState();
    for (int b = 1; b <= 16; ++b) s.freq[b] = 30 * b * b;  // spread over the plot
    // clang-format off
    const struct { int bandCount, hiddenBand; std::vector<int> drawn, absent; } cases[] = {
        {3, 0, {1, 2, 3}, {4, 16}}, {3, 2, {1, 3}, {2, 4}}, {17, 0, {1, 16}, {}}, {99, 0, {1, 16}, {}}};
    // clang-format on
    for (const auto& c : cases) {
        GraphState t = s;
        t.bandCount = c.bandCount;
        t.shown[c.hiddenBand] = c.hiddenBand == 0;
        GraphState none = t;
        none.bandCount = 0;
        const QImage layer = Diff(Render(t), Render(none));
        // The bottom tick: a ring's sides can lie under two-digit numbers, the tick is below them.
        for (int b : c.drawn) {
            const QRect sq = MarkerSquare(t, kAxes, b);
            EXPECT_EQ(Pixel(layer, sq.left() + 11, sq.top() + 20), kTick) << c.bandCount << " band " << b;
        }
        for (int b : c.absent)
            EXPECT_EQ(CountNonBlack(layer, MarkerSquare(t, kAxes, b)), 0) << c.bandCount << " band " << b;
    }
}

TEST(GraphRender, GridAndCurvesAreReusedBetweenRenders) {
    App();
    GraphRenderer r;
    GraphState s = FlatState();
    s.type[5] = 1, s.gain[5] = 4.0f;
    const QImage first = r.Render(s, QSize(kW, kH)).copy();
    s.gain[5] = -4.0f;  // a drag step: one band recomputed
    r.Render(s, QSize(kW, kH));
    EXPECT_EQ(r.GridBuilds(), 1ul);
    EXPECT_EQ(r.Curves().BandComputations(), 18ul);
    s.gain[5] = 4.0f;
    EXPECT_EQ(r.Render(s, QSize(kW, kH)), first);
    s.gain[2] = NAN;  // recomputed once, not on every repaint
    r.Render(s, QSize(kW, kH)), r.Render(s, QSize(kW, kH));
    EXPECT_EQ(r.Curves().BandComputations(), 20u);
    r.Render(s, QSize(kW + 1, kH));
    EXPECT_EQ(r.GridBuilds(), 2ul);
    EXPECT_EQ(r.Curves().BandComputations(), 37ul);
}

GraphState SeventeenBands() {
    GraphState s;
    s.leftMargin = 40, s.bandCount = 15, s.selected = 5, s.blinkStep = 2;
    for (int k = 0; k < kGraphBands; ++k)
        s.freq[k] = 25 * (k + 1) * (k + 1), s.gain[k] = static_cast<float>((k * 7) % 13) - 6.0f,
        s.q[k] = 1.4f, s.type[k] = k % 6, s.shown[k] = 1;
    return s;
}

// Updated in place, the picture must equal a fresh renderer's after every edit.
TEST(GraphIncremental, SameAsAFreshRenderAfterEveryEdit) {
    App();
    GraphState s = SeventeenBands();
    QSize size(800, 300);
    // clang-format off
    std::vector<std::pair<const char*, std::function<void()>>> edits{
        {"other band selected", [&] { s.selected = 9, s.blinkStep = 0; }},
        {"its gain turns to a cut (values above)", [&] { s.gain[9] = -7.5f; }},
        {"bypassed", [&] { s.bypass = true; }},
        {"band under the text moves", [&] { s.gain[3] = 11.5f, s.freq[3] = 40; }},
        {"bypass off", [&] { s.bypass = false; }},
        {"two markers overlap", [&] { s.freq[3] = 1000, s.gain[3] = 2, s.freq[4] = 1100, s.gain[4] = 3; }},
        {"one selected under the other", [&] { s.selected = 3, s.blinkStep = 2; }},
        {"two bands hidden", [&] { s.shown[4] = 0, s.shown[6] = 0; }},
        {"band 16 selected, count 99", [&] { s.bandCount = 99, s.selected = 16; }},
        {"NaN gain", [&] { s.gain[2] = NAN; }},
        {"0 Hz and Q 0", [&] { s.gain[2] = 0, s.freq[7] = 0, s.q[8] = 0; }},
        {"resized", [&] { size = QSize(640, 400); }},
        {"marker in the corner", [&] { s.selected = 1, s.freq[1] = 20, s.gain[1] = 12, s.blinkStep = 4; }},
        {"all bands flat", [&] { for (int& t : s.type) t = 0; }},
        {"too narrow for a plot", [&] { size = QSize(30, 200); }},
        {"wide again", [&] { size = QSize(300, 200), s.type[4] = 1, s.gain[4] = 9; }},
    };
    // clang-format on
    GraphRenderer kept;
    for (const auto& [what, apply] : edits) {
        apply();
        const QImage updated = kept.Render(s, size).copy();
        GraphRenderer fresh;
        EXPECT_EQ(DifferentPixels(updated, fresh.Render(s, size)), 0) << what;
    }
}

// The incremental update relies on text staying inside the rectangle it reports.
TEST(GraphText, DrawingStaysInsideTheRectangleItReports) {
    App();
    const char* texts[] = {"20000Hz", "-24.0dB", "Q:128.0", "16", "1", "EQ PASS", "nandB", "-infdB", "Wj|@_"};
    for (int px : {kSmallFontPx, kNumberFontPx, kPassFontPx})
        for (const char* t : texts)
            for (int flags : {int(Qt::AlignLeft | Qt::AlignTop), int(Qt::AlignCenter)})
                // A box the text fits in, and one as small as a marker's number box (clipped).
                for (const QRect box : {QRect(100, 40, 320, 120), QRect(100, 50, 24, 16)}) {
                    QImage img(600, 220, QImage::Format_RGB32);
                    img.fill(Qt::black);
                    QPainter p(&img);
                    p.setPen(Qt::white);
                    const QRect said = GraphText::At(px).Draw(p, box, flags, QString::fromLatin1(t));
                    p.end();
                    const int all = CountNonBlack(img, img.rect()), inside = CountNonBlack(img, said);
                    EXPECT_EQ(all, inside) << t << " at " << px << " px";
                    EXPECT_TRUE(box.width() <= 24 || inside > 0) << t << " at " << px << " px";
                }
}

TEST(GraphRobustness, HostileValuesAtManySizes) {
    App();
    const QSize sizes[] = {{640, 400}, {30, 200}, {3000, 300}, {41, 100}, {3, 3}, {800, 1}, {1, 800}, {0, 0}};
    for (const Hostile& h : kHostile) {
        GraphState s = SeventeenBands();
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
    App();
    GraphState s = SeventeenBands();
    s.bypass = true, s.selected = 3;
    GraphState empty = s;
    empty.bandCount = 0, empty.bypass = false, empty.selected = -1;
    for (int w : {30, 40, 41}) {
        GraphRenderer a, b;
        EXPECT_EQ(a.Render(s, QSize(w, 300)), b.Render(empty, QSize(w, 300))) << w;
        EXPECT_EQ(a.Curves().BandComputations(), 0u) << w;
    }
}

}  // namespace
