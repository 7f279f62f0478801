// The curve's geometry: the spline and its flattening, and the strip-wise stroke against the plain
// form it replaced (every segment against every pixel of its box). Partial redraws are covered by
// the renderer's incremental test.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>

#include "controls/graph_spline.h"
#include "controls/graph_stroke.h"
#include "graph_support.h"

using namespace controls;

namespace {

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
    // clang-format on
    for (const auto& c : cases) {
        for (int run = 0; run < 12; ++run) {
            std::vector<QPointF> line = Wavy(rng, c.size);
            if (run % 4 == 3) line.insert(line.begin() + line.size() / 2, QPointF(NAN, 3));  // skipped
            if (run % 4 == 2)
                for (QPointF& p : line) p += QPointF(0.25, 0.5);  // centres between pixels
            QImage want = Grey(c.size), got = Grey(c.size);
            ReferenceStroke(want, c.clip, line, c.width, 0x10FF10);
            XorStrokePolyline(got, c.clip, line, c.width, 0x10FF10);
            EXPECT_EQ(DifferentPixels(got, want), 0) << c.what << " run " << run;
            EXPECT_GT(DifferentPixels(got, Grey(c.size)), 0) << c.what << " run " << run;
        }
    }
    // clang-format off
    const std::vector<std::vector<QPointF>> steep{
        {{10, 2}, {10.2, 70}, {11, 3}, {40, 3}},         // near-vertical spikes
        {{5, 5}, {5, 5}, {30, 30}, {30, 30}, {31, 60}},  // repeated points
        {{60.3, 10.7}, {2.2, 60.1}}, {{-20, 40}, {30, 41}, {200, 39}}};  // long diagonal; ends outside
    // clang-format on
    for (const auto& line : steep) {
        QImage want = Grey({64, 72}), got = Grey({64, 72});
        ReferenceStroke(want, QRect(0, 0, 64, 72), line, 2.0, 0x10FF10);
        XorStrokePolyline(got, QRect(0, 0, 64, 72), line, 2.0, 0x10FF10);
        EXPECT_EQ(DifferentPixels(got, want), 0) << line.front().x();
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

// The step count as it was defined: from hypot, with no shortcut.
std::vector<QPointF> FlattenWithHypot(const std::vector<QPointF>& points, double tension, double tolerance) {
    std::vector<QPointF> out{points[0]};
    const std::size_t n = points.size();
    const double t = tension / 3.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF &prev = points[i == 0 ? 0 : i - 1], &p0 = points[i], &p1 = points[i + 1];
        const QPointF& next = points[i + 2 < n ? i + 2 : n - 1];
        const QPointF c1 = p0 + t * (p1 - prev), c2 = p1 - t * (next - p0);
        const QPointF d1 = p0 - 2 * c1 + c2, d2 = c1 - 2 * c2 + p1;
        const double l = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
        const int steps = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * l / tolerance))), 1, 64);
        for (int k = 1; k < steps; ++k) {
            const double u = static_cast<double>(k) / steps, v = 1 - u;
            out.push_back(v * v * v * p0 + 3 * v * v * u * c1 + 3 * v * u * u * c2 + u * u * u * p1);
        }
        out.push_back(p1);
    }
    return out;
}

TEST(GraphSpline, FlattenedAsWithHypot) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> jump(-40, 40);
    for (double scale : {0.001, 0.1, 1.0, 30.0, 5000.0}) {
        std::vector<QPointF> pts;
        double y = 100;
        for (int i = 0; i < 400; ++i) pts.emplace_back(i, y += jump(rng) * scale / 40);
        EXPECT_EQ(FlattenCardinalSpline(pts, 1.0, 0.1), FlattenWithHypot(pts, 1.0, 0.1)) << scale;
    }
    // Second differences that put sqrt(0.75 l / 0.1) right on whole numbers (l = k^2 * 0.1 / 0.75).
    for (int k = 1; k <= 70; ++k) {
        const double l = k * k * 0.1 / 0.75;
        const std::vector<QPointF> pts{{0, 0}, {1, 0}, {2, l * 3 / 2}, {3, 0}, {4, 0}};
        EXPECT_EQ(FlattenCardinalSpline(pts, 1.0, 0.1), FlattenWithHypot(pts, 1.0, 0.1)) << k;
    }
}

}  // namespace
