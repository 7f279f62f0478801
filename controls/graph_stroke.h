#pragma once
// Anti-aliased wide stroke of a polyline combined by XOR, much faster than QPainter's stroker for the
// long, finely divided response curve. Coordinates put pixel centres on integers (as GDI+ does).

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

namespace controls {

// What painting the polyline (flat ends) on black and XOR-ing that layer into `dst` gives, limited
// to `clip`: each touched pixel is XOR-ed with colour * coverage, the coverage taken from the
// distance to the nearest segment. `scratch` is reused between calls to avoid allocations.
void XorStrokePolyline(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                       QRgb colour, std::vector<float>& scratch);

}  // namespace controls
