// Pixels of the rendered graph at 640 x 400 with a 40-pixel margin: plot 600 wide, 20-pixel rows,
// 0 dB at row 140. Text is checked only through layer differences, never by glyph shapes.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <cmath>

#include "controls/graph_axes.h"
#include "controls/graph_layout.h"
#include "controls/graph_render.h"
#include "controls/graph_spline.h"
#include "qt_app.h"

using namespace controls;

namespace {

constexpr int kW = 640, kH = 400, kMargin = 40;
const GraphAxes kAxes(kW, kH, kMargin);

// Colours as 0xRRGGBB (QImage order) of the GDI values the graph uses.
constexpr QRgb kBg = 0x141414, kFreqLine = 0x404040, kGainLine = 0x323232, kEdge = 0x808080;
constexpr QRgb kGreen = 0x10FF10, kRing = 0x2B3A0F, kTick = 0x10FF10;

QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

GraphState FlatState() {
    GraphState s;
    s.leftMargin = kMargin;
    s.bandCount = 0;
    for (int k = 0; k < kGraphBands; ++k) {
        s.freq[k] = 1000;
        s.q[k] = 1.0f;
        s.type[k] = 0;
        s.shown[k] = 1;
        s.enabled[k] = 1;
    }
    return s;
}

QImage Render(const GraphState& s, QSize size = QSize(kW, kH)) {
    EnsureQtApp();
    GraphRenderer r;
    return r.Render(s, size).copy();
}

// Pixelwise XOR of two renders: what one layer adds over the other.
QImage Diff(const QImage& a, const QImage& b) {
    QImage d = a.copy();
    XorInto(d, b, QPoint(0, 0));
    return d;
}

int CountNonBlack(const QImage& img, const QRect& area) {
    int n = 0;
    const QRect r = area & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += At(img, x, y) != 0;
    return n;
}

TEST(GraphGrid, BackgroundAndLineColoursAtTheirPlaces) {
    const QImage img = Render(FlatState());
    ASSERT_EQ(img.size(), QSize(kW, kH));
    struct Case {
        const char* what;
        int x, y;
        QRgb rgb;
    } cases[] = {
        {"background above the plot", 300, 5, kBg},
        {"background in the margin", 10, 70, kBg},
        {"100 Hz line", kMargin + 139, 50, kFreqLine},
        {"1 kHz line", kMargin + 339, 250, kFreqLine},
        {"no line one column right of 1 kHz", kMargin + 340, 250, kBg},
        {"+10 dB row", 100, 40, kGainLine},
        {"-20 dB row", 100, 340, kGainLine},
        {"gain row wins over a frequency line", kMargin + 139, 60, kGainLine},
        {"+12 dB edge", 100, 20, kEdge},
        {"-24 dB edge, upper pixel", 100, 379, kEdge},
        {"-24 dB edge, lower pixel", 100, 380, kEdge},
        {"frequency lines start at the first row", kMargin + 339, 20, kEdge},
        {"frequency lines end above the last row", kMargin + 339, 379, kEdge},
        {"frequency lines stop at 20 kHz", kMargin + 339, 381, kBg},
        {"gain rows start at the plot's left edge", kMargin, 100, kGainLine},
        {"gain rows do not reach into the margin", kMargin - 1, 100, kBg},
    };
    for (const auto& c : cases) EXPECT_EQ(At(img, c.x, c.y), c.rgb) << c.what;
}

TEST(GraphGrid, GainLabelsStandOnTheirRows) {
    const int th = 11;
    for (int height : {300, 333, 400, 517, 600}) {
        const GraphAxes axes(640, height, 40);
        for (int k = 1; k <= 19; ++k) {
            const QRect r = GainLabelRect(axes, k, 30, th);
            const int row = GridRowY(axes, k - 1);
            EXPECT_LE(std::abs(r.center().y() - row), 1) << height << " label " << k;
            EXPECT_EQ(r.right() + 1, 40 - 5) << height;  // right-aligned 5 px left of the plot
        }
    }
    EXPECT_EQ(GainLabelValue(1), 12);
    EXPECT_EQ(GainLabelValue(19), -24);
}

TEST(GraphGrid, MarginFitsTheWidestGainLabel) {
    EnsureQtApp();
    const QFontMetrics fm(GraphFont(kSmallFontPx));
    const int margin = MeasureLeftMargin();
    EXPECT_GE(margin, fm.horizontalAdvance("-24dB "));
    for (const char* label : {"-24dB", "-12dB", "12dB", "-2dB"})
        EXPECT_GE(margin, fm.horizontalAdvance(label) + 5);
}

TEST(GraphGrid, LabelsStayOutOfThePlotAndAreDrawn) {
    const QImage img = Render(FlatState());
    // Gain labels: some text in the margin around the 0 dB row, none between the plot's rows.
    QImage bg(img.size(), QImage::Format_RGB32);
    bg.fill(QColor(0x14, 0x14, 0x14));
    EXPECT_GT(CountNonBlack(Diff(img, bg), QRect(0, 130, kMargin - 5, 20)), 0);
    EXPECT_EQ(CountNonBlack(Diff(img, bg), QRect(kMargin - 5, 130, 5, 20)), 0);
    // Frequency labels along the bottom edge.
    EXPECT_GT(CountNonBlack(Diff(img, bg), QRect(kMargin + 339, kH - 11, 30, 11)), 0);
}

TEST(GraphCurve, FlatCurveXorsTheZeroDbRow) {
    GraphState s = FlatState();
    const QImage img = Render(s);
    for (int x : {kMargin + 10, kMargin + 250, kMargin + 500}) {
        EXPECT_EQ(At(img, x, 140), kGreen ^ kGainLine) << x;
        // The 2-pixel pen's edges half cover the rows beside it.
        const QRgb above = At(img, x, 139) ^ kBg, below = At(img, x, 141) ^ kBg;
        EXPECT_NEAR(qGreen(above), 0x80, 2) << x;
        EXPECT_NEAR(qGreen(below), 0x80, 2) << x;
        EXPECT_EQ(At(img, x, 138), kBg) << x;
        EXPECT_EQ(At(img, x, 142), kBg) << x;
    }
    // Where the curve crosses a frequency line, the line is XOR-ed too.
    EXPECT_EQ(At(img, kMargin + 339, 139), At(img, kMargin + 339 + 1, 139) ^ kBg ^ kFreqLine);
}

TEST(GraphCurve, PeakingBandCrestWhereTheAxesPutIt) {
    GraphState s = FlatState();
    s.type[3] = 1;
    s.gain[3] = 6.0f;
    const QImage img = Render(s);
    const int crestX = kMargin + kAxes.FreqToX(1000);
    const int crestY = kAxes.Y0() - kAxes.GainToY(6.0f);  // 80
    ASSERT_EQ(crestY, 80);
    // The topmost strongly green pixel in the crest's columns is on the +6 dB row.
    int top = kH;
    for (int x = crestX - 2; x <= crestX + 2; ++x)
        for (int y = 0; y < kH; ++y)
            if (qGreen(At(img, x, y)) > 0xC0 && qRed(At(img, x, y)) < 0x40) {
                top = std::min(top, y);
                break;
            }
    EXPECT_GE(top, crestY - 1);
    EXPECT_LE(top, crestY + 1);
    // Far from the band the curve is back on the 0 dB row.
    EXPECT_EQ(At(img, kMargin + 20, 140), kGreen ^ kGainLine);
}

TEST(GraphCurve, SplineThroughPointsWithOneSidedEnds) {
    const std::vector<QPointF> pts{{0, 0}, {1, 3}, {2, 3}, {3, 0}};
    const QPainterPath path = CardinalSpline(pts, 1.0);
    ASSERT_EQ(path.elementCount(), 1 + 3 * 3);
    // First segment: control points P0 + (P1 - P0)/3 and P1 - (P2 - P0)/3.
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(1.0 / 3, 1));
    EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(1 - 2.0 / 3, 2));
    EXPECT_EQ(QPointF(path.elementAt(3)), pts[1]);
    // Last segment ends one-sided: P3 - (P3 - P2)/3.
    EXPECT_EQ(QPointF(path.elementAt(8)), QPointF(3 - 1.0 / 3, 1));
    EXPECT_EQ(QPointF(path.elementAt(9)), pts[3]);
    EXPECT_TRUE(CardinalSpline({{1, 1}}, 1.0).isEmpty());
}

// One marker for band 2 at 1 kHz / 0 dB, rendered with and without it.
struct MarkerCase {
    GraphState with = FlatState(), without = FlatState();
    QRect square;
    MarkerCase(float gain, int selected, int blinkStep = 0) {
        with.bandCount = 2;
        with.shown[1] = 0;  // band 1 has no marker
        with.gain[2] = gain;
        with.freq[2] = 1000;
        with.selected = selected;
        with.blinkStep = blinkStep;
        without = with;
        without.shown[2] = 0;  // type 0: the curve does not change
        square = MarkerSquare(with, kAxes, 2);
    }
    QImage Layer() const { return Diff(Render(with), Render(without)); }
};

TEST(GraphMarkers, RingTicksAndThirdEllipse) {
    const MarkerCase unsel(0.0f, -1), sel(0.0f, 2);
    const QRect sq = unsel.square;
    ASSERT_EQ(sq, QRect(kMargin + 339 - 12, 140 - 12, 24, 24));
    const QImage a = unsel.Layer(), b = sel.Layer();
    const int midY = sq.top() + 12;
    // Ring: ellipse shrunk by 2, 2 px wide.
    EXPECT_EQ(At(a, sq.left() + 3, midY), kRing);
    EXPECT_EQ(At(b, sq.left() + 3, midY), kRing);
    EXPECT_EQ(At(a, sq.right() - 3, midY), kRing);
    // Third ellipse (shrunk by 5) on unselected markers only.
    EXPECT_EQ(At(a, sq.left() + 5, midY), kRing);
    EXPECT_EQ(At(a, sq.right() - 5, midY), kRing);
    EXPECT_EQ(At(b, sq.left() + 5, midY), 0u);
    EXPECT_EQ(At(b, sq.right() - 5, midY), 0u);
    // Ticks: 6 px at the inner ellipse's top row and 4 px above the square's bottom.
    for (const QImage* img : {&a, &b}) {
        for (int dx = 9; dx < 15; ++dx) {
            EXPECT_EQ(At(*img, sq.left() + dx, sq.top() + 2), kTick) << dx;
            EXPECT_EQ(At(*img, sq.left() + dx, sq.top() + 20), kTick) << dx;
        }
        EXPECT_NE(At(*img, sq.left() + 8, sq.top() + 20), kTick);
        EXPECT_NE(At(*img, sq.left() + 15, sq.top() + 20), kTick);
    }
    // Nothing outside the square but the selected band's values.
    EXPECT_EQ(CountNonBlack(a, a.rect()), CountNonBlack(a, sq));
}

TEST(GraphMarkers, BlinkStepGrowsTheSelectedMarker) {
    const MarkerCase grown(0.0f, 2, 3);
    const QImage img = grown.Layer();
    const int midY = grown.square.top() + 12;
    // Ring of the square grown by 3 then shrunk by 2: one pixel outside the ungrown square.
    EXPECT_EQ(At(img, grown.square.left() - 1 + 1, midY), kRing);
    EXPECT_EQ(At(img, grown.square.left(), midY), kRing);
    EXPECT_EQ(At(img, grown.square.left() + 3, midY), 0u);
}

TEST(GraphMarkers, ValuesBelowForBoostAboveForCut) {
    for (float gain : {3.0f, 0.0f, -6.0f}) {
        const MarkerCase selected(gain, 2), plain(gain, -1);
        // Selecting the band adds its values; compare with the unselected marker so only they remain.
        const QImage values = Diff(Render(selected.with), Render(plain.with));
        const QRect sq = selected.square;
        const QRect below(sq.left(), sq.bottom() + 1, 100, 70), above(sq.left(), sq.top() - 70, 100, 70);
        const int nBelow = CountNonBlack(values, below), nAbove = CountNonBlack(values, above);
        if (gain >= 0) {
            EXPECT_GT(nBelow, 50) << gain;
            EXPECT_EQ(nAbove, 0) << gain;
        } else {
            EXPECT_GT(nAbove, 50) << gain;
            EXPECT_EQ(nBelow, 0) << gain;
        }
    }
}

TEST(GraphMarkers, OnlyShownPeakingBandsUpToBandCount) {
    GraphState s = FlatState();
    for (int b = 1; b <= 16; ++b) s.freq[b] = 30 * b * b;  // spread over the plot
    GraphState none = s;
    none.bandCount = 0;
    const QImage base = Render(none);
    struct Case {
        int bandCount;
        int hiddenBand;
        std::vector<int> drawn, absent;
    } cases[] = {
        {3, 0, {1, 2, 3}, {4, 16}},
        {3, 2, {1, 3}, {2, 4}},
        {17, 0, {1, 16}, {}},  // never past band 16
        {99, 0, {1, 16}, {}},
    };
    for (const auto& c : cases) {
        GraphState t = s;
        t.bandCount = c.bandCount;
        if (c.hiddenBand) t.shown[c.hiddenBand] = 0;
        if (c.hiddenBand) none.shown[c.hiddenBand] = 0;
        const QImage layer = Diff(Render(t), c.hiddenBand ? Render(none) : base);
        none.shown[c.hiddenBand] = 1;
        for (int b : c.drawn) {
            // The bottom tick: the ring's sides can lie under two-digit numbers in a wide
            // monospace font (bands 15 and 16 also overlap), the tick is below the digits.
            const QRect sq = MarkerSquare(t, kAxes, b);
            EXPECT_EQ(At(layer, sq.left() + 11, sq.top() + 20), kTick) << c.bandCount << " band " << b;
        }
        for (int b : c.absent) {
            const QRect sq = MarkerSquare(t, kAxes, b);
            EXPECT_EQ(CountNonBlack(layer, sq), 0) << c.bandCount << " band " << b;
        }
    }
}

TEST(GraphMarkers, BandNumberInsideTheSquare) {
    const MarkerCase m(0.0f, -1);
    const QImage layer = m.Layer();
    // The number is drawn in the marker's colour within the inner ellipse.
    int numberPixels = 0;
    for (int y = m.square.top() + 7; y < m.square.top() + 17; ++y)
        for (int x = m.square.left() + 7; x < m.square.left() + 17; ++x)
            numberPixels += qGreen(At(layer, x, y)) > 0x40;
    EXPECT_GT(numberPixels, 5);
}

TEST(GraphPass, EqPassOnlyWhenBypassedAndOverTheCurve) {
    GraphState s = FlatState();
    s.type[3] = 1;
    s.gain[3] = 6.0f;
    GraphState bypassed = s;
    bypassed.bypass = true;
    const QImage plain = Render(s), pass = Render(bypassed);
    const QImage text = Diff(pass, plain);
    // Large white text across the middle of the control.
    EXPECT_GT(CountNonBlack(text, QRect(0, kH / 2 - 30, kW, 60)), 500);
    EXPECT_EQ(CountNonBlack(text, QRect(0, 0, kW, 100)), 0);
    // The curve is still drawn under it.
    EXPECT_EQ(At(pass, kMargin + 20, 140), kGreen ^ kGainLine);
}

TEST(GraphRender, RepeatedRendersReuseGridAndCurves) {
    EnsureQtApp();
    GraphRenderer r;
    GraphState s = FlatState();
    s.type[5] = 1;
    s.gain[5] = 4.0f;
    const QImage first = r.Render(s, QSize(kW, kH)).copy();
    EXPECT_EQ(r.GridBuilds(), 1u);
    EXPECT_EQ(r.Curves().BandComputations(), 17u);
    s.gain[5] = -4.0f;  // a drag step
    r.Render(s, QSize(kW, kH));
    EXPECT_EQ(r.GridBuilds(), 1u);
    EXPECT_EQ(r.Curves().BandComputations(), 18u);
    s.gain[5] = 4.0f;
    EXPECT_EQ(r.Render(s, QSize(kW, kH)), first);  // the same state gives the same picture
    r.Render(s, QSize(kW + 1, kH));
    EXPECT_EQ(r.GridBuilds(), 2u);
}

}  // namespace
