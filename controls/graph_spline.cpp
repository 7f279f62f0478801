#include "controls/graph_spline.h"

namespace controls {

QPainterPath CardinalSpline(const std::vector<QPointF>& points, double tension) {
    QPainterPath path;
    const std::size_t n = points.size();
    if (n < 2) return path;
    const double t = tension / 3.0;
    path.reserve(static_cast<int>(n) * 3 + 1);
    path.moveTo(points[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF& prev = points[i == 0 ? 0 : i - 1];
        const QPointF& p0 = points[i];
        const QPointF& p1 = points[i + 1];
        const QPointF& next = points[i + 2 < n ? i + 2 : n - 1];
        path.cubicTo(p0 + t * (p1 - prev), p1 - t * (next - p0), p1);
    }
    return path;
}

}  // namespace controls

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

// Pieces of a Bezier segment with second differences d1, d2 so that its chords stay within
// `tolerance`: ceil(sqrt(0.75 * l / tolerance)) held to 1..64, l the larger of |d1| and |d2|. The
// length comes from a plain square root unless the result lies so close to a whole number that
// hypot's last bit could matter; then it is taken as hypot gives it.
int FlattenSteps(const QPointF& d1, const QPointF& d2, double tolerance) {
    const double l2 = std::max(d1.x() * d1.x() + d1.y() * d1.y(), d2.x() * d2.x() + d2.y() * d2.y());
    const double approx = std::sqrt(0.75 * std::sqrt(l2) / tolerance);
    constexpr double kMargin = 1e-7;
    if (approx < 1 - kMargin) return 1;
    if (approx > 64 + kMargin && std::isfinite(approx)) return 64;
    const double whole = std::floor(approx);
    if (approx - whole > kMargin && approx - whole < 1 - kMargin) return static_cast<int>(whole) + 1;
    const double l = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
    return std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * l / tolerance))), 1, 64);
}

}  // namespace

void FlattenCardinalSpline(const std::vector<QPointF>& points, double tension, double tolerance,
                           std::vector<QPointF>& out) {
    out.clear();
    const std::size_t n = points.size();
    if (n < 2) return;
    const double t = tension / 3.0;
    out.push_back(points[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF& prev = points[i == 0 ? 0 : i - 1];
        const QPointF& p0 = points[i];
        const QPointF& p1 = points[i + 1];
        const QPointF& next = points[i + 2 < n ? i + 2 : n - 1];
        const QPointF c1 = p0 + t * (p1 - prev), c2 = p1 - t * (next - p0);
        const int steps = FlattenSteps(p0 - 2 * c1 + c2, c1 - 2 * c2 + p1, tolerance);
        for (int k = 1; k < steps; ++k) {
            const double u = static_cast<double>(k) / steps, v = 1 - u;
            out.push_back(v * v * v * p0 + 3 * v * v * u * c1 + 3 * v * u * u * c2 + u * u * u * p1);
        }
        out.push_back(p1);
    }
}

std::vector<QPointF> FlattenCardinalSpline(const std::vector<QPointF>& points, double tension,
                                           double tolerance) {
    std::vector<QPointF> out;
    out.reserve(points.size() * 2);
    FlattenCardinalSpline(points, tension, tolerance, out);
    return out;
}

}  // namespace controls
