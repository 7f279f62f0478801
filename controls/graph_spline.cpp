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

std::vector<QPointF> FlattenCardinalSpline(const std::vector<QPointF>& points, double tension,
                                           double tolerance) {
    std::vector<QPointF> out;
    const std::size_t n = points.size();
    if (n < 2) return out;
    const double t = tension / 3.0;
    out.reserve(n * 2);
    out.push_back(points[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF& prev = points[i == 0 ? 0 : i - 1];
        const QPointF& p0 = points[i];
        const QPointF& p1 = points[i + 1];
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

}  // namespace controls
