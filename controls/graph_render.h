#pragma once
// Draws the equaliser graph's state into an image. The output depends only on the state and the
// size; the grid (per size) and the band curves (per band) are kept between calls, and the picture
// is updated in place: only what the last call drew over the grid is put back and drawn again.

#include <QImage>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <map>
#include <vector>

#include "controls/graph_axes.h"
#include "controls/graph_curves.h"
#include "controls/graph_state.h"
#include "controls/graph_stroke.h"

namespace controls {

class GraphRenderer {
  public:
    explicit GraphRenderer(ResponseFn response = nullptr);

    // The whole control at `size`. The reference stays valid until the next call.
    const QImage& Render(const GraphState& state, QSize size);

    const GraphCurves& Curves() const { return curves_; }
    std::uint64_t GridBuilds() const { return gridBuilds_; }

  private:
    void BuildGrid(const GraphAxes& axes);
    // The flattened curve and the area its stroke covers, from the summed responses.
    void BuildCurve(const GraphAxes& axes);
    // Grid pixels back into the picture over `region`.
    void Restore(const QRegion& region);
    const QImage& MarkerSprite(bool selected, int blinkStep);
    void DrawMarkers(const GraphState& state, const GraphAxes& axes);
    void DrawValues(const GraphState& state, const QRect& square, int b);
    void DrawNumbers(const GraphState& state, const GraphAxes& axes);
    void DrawPass();

    GraphCurves curves_;
    QImage grid_;  // background, grid lines and labels
    QSize gridSize_;
    int gridMargin_ = -1;
    std::uint64_t gridBuilds_ = 0;

    QImage frame_;                       // the picture: grid, curve, then markers and texts
    std::uint64_t frameGrid_ = 0;        // grid build the picture stands on; 0: none
    std::uint64_t frameCurve_ = 0;       // curve version drawn in it
    std::vector<QPointF> points_;        // the summed curve, one point per column
    std::vector<QPointF> line_;          // the curve flattened, client coordinates
    QRegion drawnOver_, nextDrawnOver_;  // where markers and texts were drawn: last call, this call
    CurveStroke stroke_;

    QImage markerLayer_;
    std::map<int, QImage> sprites_;  // marker looks by blink step (INT_MIN: unselected)
};

// dst = src, reusing dst's buffer when the sizes agree.
void CopyPixels(QImage& dst, const QImage& src);

// dst ^= layer over `area`, both images in the same coordinates.
void XorArea(QImage& dst, const QImage& layer, const QRect& area);

// dst ^= layer (colour bits only), layer placed at `at` in dst; clipped to dst.
void XorInto(QImage& dst, const QImage& layer, QPoint at);

}  // namespace controls
