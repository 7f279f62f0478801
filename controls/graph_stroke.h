#pragma once
// Anti-aliased wide stroke of a polyline combined by XOR, much faster than QPainter's stroker for the
// long, finely divided response curve. Coordinates put pixel centres on integers (as GDI+ does).
//
// The stroke is what painting the polyline (flat ends) on black and XOR-ing that layer into the
// picture gives, limited to an area: each touched pixel is XOR-ed with colour * coverage, the
// coverage taken from the distance to the nearest segment.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

namespace controls {

class CurveStroke {
  public:
    // Takes the polyline and the area (in picture coordinates) its stroke is limited to.
    void Prepare(const std::vector<QPointF>& line, const QRect& area, double width);
    // XORs the stroke into `dst` where `only` meets the area. Any part gives exactly the pixels the
    // whole stroke gives there.
    void XorInto(QImage& dst, const QRect& only, QRgb colour);

    const QRect& Area() const { return area_; }
    // One rectangle per row the stroke reaches, together holding every pixel it can change.
    const std::vector<QRect>& Reach() const { return reachRows_; }

  private:
    struct Segment {
        double ax, ay, bx, by;  // end points relative to the area
        int x0, x1, y0, y1;     // pixels the segment can reach, inclusive, relative to the area
    };
    void IndexBlocks();
    void Gather(const QRect& only);
    void StrokeStrip(QImage& dst, const QRect& only, int stripTop, int stripBottom, int first, int last,
                     QRgb colour);

    QRect area_;
    double reach_ = 0, startX_ = 0, endX_ = 0;
    std::vector<Segment> segments_;
    std::vector<QRect> reachRows_;
    std::vector<int> blockFirst_, blockSegments_;  // segments by block of columns
    std::vector<unsigned> seen_;                   // per segment: the call that gathered it last
    unsigned call_ = 0;
    std::vector<int> picked_;                             // segments of the current call
    std::vector<int> stripFirst_, fill_, stripSegments_;  // ... by strip of rows
    std::vector<double> nearest_;  // least squared distance per pixel of one strip; far between calls
    std::vector<int> spanLeft_, spanRight_;  // columns touched per row of the strip
};

// The whole stroke at once: `clip` (with `dst`) is the area.
void XorStrokePolyline(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                       QRgb colour);

}  // namespace controls
