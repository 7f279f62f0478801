#pragma once
// Cardinal spline through a run of points, the way a GDI+ curve with a tension is drawn.

#include <QPainterPath>
#include <QPointF>
#include <vector>

namespace controls {

// Bezier segments with control points P[i] + t/3 (P[i+1] - P[i-1]) and P[i+1] - t/3 (P[i+2] - P[i]),
// one-sided at both ends. Fewer than two points give an empty path.
QPainterPath CardinalSpline(const std::vector<QPointF>& points, double tension);

}  // namespace controls

namespace controls {

// The same spline flattened into a polyline whose chords stay within `tolerance` pixels of the
// curve (Wang's bound per segment); stroking it is much cheaper than stroking the curve path.
std::vector<QPointF> FlattenCardinalSpline(const std::vector<QPointF>& points, double tension,
                                           double tolerance);
// The same into `out`, reusing its buffer.
void FlattenCardinalSpline(const std::vector<QPointF>& points, double tension, double tolerance,
                           std::vector<QPointF>& out);

}  // namespace controls
