// The graph without a widget: axes, curve sum, spline, and the stroke against a plain per-pixel form.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>

#include "controls/graph_axes.h"
#include "controls/graph_curves.h"
#include "controls/graph_spline.h"
#include "controls/graph_stroke.h"
#include "controls/response.h"
#include "graph_support.h"

using namespace controls;

namespace {

// 640 x 400 with a 40-pixel margin: plot 600 wide (200 px per decade), 10 px per dB, 0 dB at 140.
const GraphAxes kAxes(640, 400, 40);

TEST(GraphAxes, ReferenceSizeMappings) {
    EXPECT_EQ(kAxes.PlotWidth(), 600);
    EXPECT_EQ(kAxes.Y0(), 140);
    EXPECT_EQ(kAxes.RowInt(), 20);
    // Held to 20..20000 Hz (no log of 0); slack 1 where log10 rounding decides the column.
    const struct {
        int freq, x, slack;
    } freqs[] = {{20, 0, 0}, {100, 139, 0}, {1000, 339, 0}, {20000, 599, 1},
                 {0, 0, 0},  {-5, 0, 0},    {10, 0, 0},     {INT_MAX, 599, 1}};
    for (const auto& c : freqs) {
        EXPECT_GE(kAxes.FreqToX(c.freq), c.x) << c.freq;
        EXPECT_LE(kAxes.FreqToX(c.freq), c.x + c.slack) << c.freq;
    }
    // Far outside saturates instead of overflowing.
    struct XCase {
        int x, freq, slack;
    } xs[] = {{0, 20, 0},         {339, 990, 0},        {600, 20000, 1},
              {-1000, 0, 0},      {100000, INT_MAX, 0}, {INT_MAX / 2, INT_MAX, 0},
              {INT_MIN / 2, 0, 0}};
    for (const auto& c : xs) EXPECT_NEAR(kAxes.XToFreq(c.x), c.freq, c.slack) << c.x;
    // Non-finite gains count as 0 dB; huge ones are held at 1000 dB.
    const std::pair<float, int> gains[] = {{0.0f, 0},      {6.0f, 60},     {-3.0f, -30},    {12.0f, 120},
                                           {-24.0f, -240}, {0.25f, 2},     {NAN, 0},        {INFINITY, 0},
                                           {-INFINITY, 0}, {1e30f, 10000}, {-1e30f, -10000}};
    for (const auto& [gain, dy] : gains) EXPECT_EQ(kAxes.GainToY(gain), dy) << gain;
    const std::pair<int, float> rows[] = {{140, 0.0f}, {80, 6.0f}, {170, -3.0f}, {0, 14.0f}, {400, -26.0f}};
    for (const auto& [y, gain] : rows) EXPECT_FLOAT_EQ(kAxes.YToGain(y), gain) << y;
}

TEST(GraphAxes, DegenerateSizes) {
    const GraphAxes none(10, 0, 40);  // margin wider than the control, no height
    EXPECT_TRUE(none.PlotTooNarrow());
    EXPECT_EQ(none.FreqToX(1000), 0);
    EXPECT_EQ(none.XToFreq(50), 20);
    EXPECT_EQ(none.YToGain(10), 0.0f);
    EXPECT_EQ(none.GainToY(12.0f), 0);
    EXPECT_FALSE(GraphAxes(42, 100, 40).PlotTooNarrow());
}

GraphCurve FlatCurve() {
    GraphCurve c{};
    for (int k = 0; k < kGraphBands; ++k) c.freq[k] = 1000, c.q[k] = 1.0f, c.type[k] = 1, c.shown[k] = 1;
    return c;
}

std::vector<float> Response(float freq, float gain, float q, int n) {
    BandResponse r;
    r.freq = freq, r.gain = gain, r.q = q, r.type = 1, r.sampleRate = 48000;
    std::vector<float> db(n);
    CalcBiquadResponse(r, db.data(), n);
    return db;
}

TEST(GraphCurves, SumIsPointwiseAndWidePlotsAreInterpolated) {
    GraphCurve c = FlatCurve();
    c.gain[3] = 6.0f, c.gain[7] = -4.0f, c.freq[7] = 5000, c.q[7] = 2.0f;
    GraphCurves curves;
    ASSERT_TRUE(curves.Update(c, 300));
    const auto a = Response(1000, 6, 1, 300), b = Response(5000, -4, 2, 300);
    ASSERT_EQ(curves.Sum().size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_NEAR(curves.Sum()[i], a[i] + b[i], 1e-4) << i;

    c = FlatCurve();
    c.gain[1] = 8.0f;
    curves.Update(c, 4000);
    const auto& sum = curves.Sum();
    ASSERT_EQ(sum.size(), 4000u);
    const auto ref = Response(1000, 8, 1, 2000);
    // Column 2x+1 of 4000 is point x+1 of 2000; columns in between lie between their neighbours.
    for (int x = 0; x < 2000; x += 97) EXPECT_NEAR(sum[2 * x + 1], ref[x], 1e-4) << x;
    for (int x = 2; x < 3998; x += 101) {
        EXPECT_GE(sum[x], std::min(sum[x - 1], sum[x + 1]) - 1e-4) << x;
        EXPECT_LE(sum[x], std::max(sum[x - 1], sum[x + 1]) + 1e-4) << x;
    }
    curves.Update(FlatCurve(), 0);
    EXPECT_TRUE(curves.Sum().empty());
}

TEST(GraphCurves, HiddenAndEmptyBandsAddNothingDisabledOnesDo) {
    // clang-format off
    const struct { const char* name; int shown, freq, enabled; bool adds; } cases[] = {
        {"shown", 1, 1000, 1, true}, {"hidden", 0, 1000, 1, false}, {"0 Hz slot", 1, 0, 1, false},
        {"disabled", 1, 1000, 0, true}};
    // clang-format on
    for (const auto& cs : cases) {
        GraphCurve c = FlatCurve();
        c.gain[5] = 9.0f, c.shown[5] = cs.shown, c.freq[5] = cs.freq, c.enabled[5] = cs.enabled;
        GraphCurves curves;
        curves.Update(c, 200);
        EXPECT_EQ(*std::max_element(curves.Sum().begin(), curves.Sum().end()) > 8.0f, cs.adds) << cs.name;
    }
}

void ReferenceStroke(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                     QRgb colour) {
    const QRect area = clip & dst.rect();
    if (line.size() < 2 || area.isEmpty() || !(width > 0)) return;
    const int w = area.width(), h = area.height();
    const double reach = width / 2.0 + 0.5;
    std::vector<float> cov(static_cast<std::size_t>(w) * h, 0.0f);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i] - QPointF(area.topLeft()), b = line[i + 1] - QPointF(area.topLeft());
        if (!std::isfinite(a.x() + a.y() + b.x() + b.y())) continue;
        const int x0 = std::max(0, int(std::floor(std::min(a.x(), b.x()) - reach)));
        const int x1 = std::min(w - 1, int(std::ceil(std::max(a.x(), b.x()) + reach)));
        const int y0 = std::max(0, int(std::floor(std::min(a.y(), b.y()) - reach)));
        const int y1 = std::min(h - 1, int(std::ceil(std::max(a.y(), b.y()) + reach)));
        const double dx = b.x() - a.x(), dy = b.y() - a.y(), len2 = dx * dx + dy * dy;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double t =
                    len2 > 0 ? std::clamp(((x - a.x()) * dx + (y - a.y()) * dy) / len2, 0.0, 1.0) : 0.0;
                const double c = reach - std::hypot(a.x() + t * dx - x, a.y() + t * dy - y);
                float& to = cov[std::size_t(y) * w + x];
                if (c > to) to = float(std::min(c, 1.0));
            }
    }
    const double startX = line.front().x() - area.left(), endX = line.back().x() - area.left();
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(dst.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < w; ++x) {
            const float cv = cov[std::size_t(y) * w + x];
            if (cv <= 0) continue;
            const double c =
                cv * std::clamp(x - startX + 0.5, 0.0, 1.0) * std::clamp(endX - x + 0.5, 0.0, 1.0);
            const auto ch = [c](int v) { return static_cast<QRgb>(v * c + 0.5); };
            out[x] ^= (ch(qRed(colour)) << 16) | (ch(qGreen(colour)) << 8) | ch(qBlue(colour));
        }
    }
}

QImage Grey(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(0x32, 0x32, 0x32));
    for (int y = 0; y < size.height(); y += 7)
        std::fill_n(reinterpret_cast<QRgb*>(img.scanLine(y)), size.width(), 0xFF404040u);
    return img;
}

// A polyline through one point per column, finely divided where it bends, like the response curve.
std::vector<QPointF> Wavy(std::mt19937& rng, QSize size) {
    const double a = std::uniform_real_distribution(0.0, size.height() / 2.0)(rng);
    const double f = std::uniform_real_distribution(0.005, 0.3)(rng);
    std::vector<QPointF> line;
    for (double x = 0.5; x < size.width() - 0.5; x += 0.37)
        line.emplace_back(x, size.height() / 2.0 + a * std::sin(f * x));
    return line;
}

TEST(GraphStroke, SameAsReferenceOnCurves) {
    std::mt19937 rng(7);
    // clang-format off
    const struct { const char* what; QSize size; QRect clip; double width; } cases[] = {
        {"plot-like area", {160, 120}, {20, 10, 130, 100}, 2.0},
        {"area past the image", {100, 80}, {-10, -5, 200, 200}, 2.0},
        {"thin pen", {120, 90}, {0, 0, 120, 90}, 1.0},
        {"wide pen, tall area over several strips", {90, 150}, {5, 0, 80, 150}, 3.5}};
    const std::vector<std::vector<QPointF>> steep{
        {{10, 2}, {10.2, 70}, {11, 3}, {40, 3}},         // near-vertical spikes
        {{5, 5}, {5, 5}, {30, 30}, {30, 30}, {31, 60}},  // repeated points
        {{60.3, 10.7}, {2.2, 60.1}}, {{-20, 40}, {30, 41}, {200, 39}}};  // long diagonal; ends outside
    // clang-format on
    for (const auto& c : cases) {
        for (int run = 0; run < 16; ++run) {
            std::vector<QPointF> line = run < 12 ? Wavy(rng, c.size) : steep[run - 12];
            if (run % 4 == 3) line.insert(line.begin() + line.size() / 2, QPointF(NAN, 3));  // skipped
            if (run % 4 == 2)
                for (QPointF& p : line) p += QPointF(0.25, 0.5);  // centres between pixels
            QImage want = Grey(c.size), got = Grey(c.size);
            ReferenceStroke(want, c.clip, line, c.width, 0x10FF10);
            XorStrokePolyline(got, c.clip, line, c.width, 0x10FF10);
            EXPECT_EQ(DifferentPixels(got, want), 0) << c.what << " run " << run;
            EXPECT_TRUE(run >= 12 || DifferentPixels(got, Grey(c.size)) > 0) << c.what << " run " << run;
        }
    }
}

TEST(GraphSpline, ControlPointsWithOneSidedEnds) {
    const std::vector<QPointF> pts{{0, 0}, {1, 3}, {2, 3}, {3, 0}};
    const QPainterPath path = CardinalSpline(pts, 1.0);
    ASSERT_EQ(path.elementCount(), 1 + 3 * 3);
    // First segment: P0 + (P1 - P0)/3 and P1 - (P2 - P0)/3; the last ends one-sided: P3 - (P3 - P2)/3.
    const std::pair<int, QPointF> want[] = {
        {1, {1.0 / 3, 1}}, {2, {1 - 2.0 / 3, 2}}, {3, pts[1]}, {8, {3 - 1.0 / 3, 1}}, {9, pts[3]}};
    for (const auto& [i, p] : want) EXPECT_EQ(QPointF(path.elementAt(i)), p) << i;
    EXPECT_TRUE(CardinalSpline({{1, 1}}, 1.0).isEmpty());
}

}  // namespace
