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
