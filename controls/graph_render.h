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
    // Something drawn over the grid and curve: a text or a marker. Equal drawings over equal pixels
    // give equal pixels, which is what lets a render keep most of the last picture.
    struct Overlay {
        enum Kind { Values, Marker, Number, Pass } kind;
        int slot = 0;    // which one of its kind: the band, or the line of the values
        QRect box;       // text: its layout box; marker: where its sprite goes
        int flags = 0;   // text alignment
        int sprite = 0;  // marker look (MarkerSprite's key)
        QString text;
        QRect reach;       // every pixel the drawing may change
        bool draw = true;  // drawn by this render
        // The same one drawn the same way. Matching by slot keeps the order of overlapping markers.
        bool Same(const Overlay& o) const {
            return kind == o.kind && slot == o.slot && box == o.box && flags == o.flags &&
                   sprite == o.sprite && text == o.text;
        }
    };

    // The part of the picture a render puts back to the grid and draws again: rectangles, and up
    // to two spans per row for the curves (the old and the new one).
    class Damage {
      public:
        void Reset(int height);
        void AddRows(const std::vector<QRect>& rows);  // one-row rectangles
        void Add(const QRect& r) {
            if (!r.isEmpty()) rects_.push_back(r);
        }
        bool Touches(const QRect& r) const;
        void Restore(QImage& frame, const QImage& grid) const;
        // The rectangles (not the rows) as a region.
        QRegion Rects() const;

      private:
        std::vector<QRect> rows_;  // two per row
        std::vector<QRect> rects_;
    };

    void BuildGrid(const GraphAxes& axes);
    // The flattened curve and its stroke, from the summed responses.
    void BuildCurve(const GraphAxes& axes);
    void ListOverlays(const GraphState& state, const GraphAxes& axes);
    const QImage& MarkerSprite(int key);
    void DrawOverlays();
    void DrawMarkers();

    GraphCurves curves_;
    QImage grid_;  // background, grid lines and labels
    QSize gridSize_;
    int gridMargin_ = -1;
    std::uint64_t gridBuilds_ = 0;

    QImage frame_;                  // the picture: grid, curve, then the overlays
    std::uint64_t frameGrid_ = 0;   // grid build the picture stands on; 0: none
    std::uint64_t frameCurve_ = 0;  // curve version drawn in it
    std::vector<QPointF> points_;   // the summed curve, one point per column
    std::vector<QPointF> line_;     // the curve flattened, client coordinates
    CurveStroke stroke_;
    std::vector<Overlay> overlays_, drawn_;  // this render's and the picture's
    Damage damage_;

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
