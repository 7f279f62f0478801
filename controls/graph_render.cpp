#include "controls/graph_render.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <climits>
#include <cstring>

#include "controls/graph_layout.h"
#include "controls/graph_spline.h"
#include "controls/graph_stroke.h"
#include "controls/graph_text.h"
#include "controls/vector_state.h"
#include "platform/numbers.h"
#include "platform/ui/color.h"

namespace controls {

namespace {

constexpr std::uint32_t kBackground = 0x141414;
constexpr std::uint32_t kLabelText = 0xA0A0A0;
constexpr std::uint32_t kFreqLine = 0x404040;
constexpr std::uint32_t kGainLine = 0x323232;
constexpr std::uint32_t kEdgeLine = 0x808080;
constexpr std::uint32_t kCurveArgb = 0xFF10FF10;
constexpr std::uint32_t kRing = 0x0F3A2B;
constexpr std::uint32_t kTick = 0x10FF10;
constexpr std::uint32_t kValuesText = 0x14FFFF;
constexpr std::uint32_t kNumberText = 0x10FF10;
constexpr std::uint32_t kPassText = 0xFFFFFF;
// Largest distance in pixels between the drawn polyline and the true spline.
constexpr double kFlatness = 0.1;
constexpr double kCurveWidth = 2.0;

// An ellipse whose stroke stays inside the box, as the GDI one does.
void EllipseInBox(QPainter& p, const QRect& box, int penWidth, const QColor& color) {
    if (box.width() <= 0 || box.height() <= 0) return;
    const double half = penWidth / 2.0;
    QPen pen(color, penWidth);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(box).adjusted(half, half, -half, -half));
}

}  // namespace

void GraphRenderer::Damage::Reset(int height) {
    rows_.assign(static_cast<std::size_t>(std::max(height, 0)) * 2, QRect());
    rects_.clear();
}

void GraphRenderer::Damage::AddRows(const std::vector<QRect>& rows) {
    for (const QRect& r : rows) {
        if (r.y() < 0 || 2 * r.y() >= static_cast<int>(rows_.size())) continue;
        QRect& slot = rows_[2 * r.y()].isEmpty() ? rows_[2 * r.y()] : rows_[2 * r.y() + 1];
        slot = slot | r;
    }
}

bool GraphRenderer::Damage::Touches(const QRect& r) const {
    if (r.isEmpty()) return false;
    for (const QRect& d : rects_)
        if (d.intersects(r)) return true;
    const int last = std::min(r.bottom(), static_cast<int>(rows_.size()) / 2 - 1);
    for (int y = std::max(r.top(), 0); y <= last; ++y)
        if (rows_[2 * y].intersects(r) || rows_[2 * y + 1].intersects(r)) return true;
    return false;
}

void GraphRenderer::Damage::Restore(QImage& frame, const QImage& grid) const {
    // Copying a pixel twice does no harm, so overlaps need not be sorted out.
    const auto copy = [&](const QRect& r) {
        const QRect area = r & frame.rect();
        const std::size_t bytes = static_cast<std::size_t>(area.width()) * 4;
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memcpy(frame.scanLine(y) + area.left() * 4, grid.constScanLine(y) + area.left() * 4, bytes);
    };
    for (const QRect& r : rows_)
        if (!r.isEmpty()) copy(r);
    for (const QRect& r : rects_) copy(r);
}

QRegion GraphRenderer::Damage::Rects() const {
    QRegion region;
    for (const QRect& r : rects_) region += r;
    return region;
}

void CopyPixels(QImage& dst, const QImage& src) {
    if (dst.size() != src.size() || dst.format() != src.format() || dst.isNull()) {
        dst = src.copy();
        return;
    }
    // Same size: reuse dst's buffer instead of allocating a new picture on every repaint.
    std::memcpy(dst.bits(), src.constBits(), static_cast<std::size_t>(src.sizeInBytes()));
}

void XorArea(QImage& dst, const QImage& layer, const QRect& area) {
    const QRect r = area & dst.rect() & layer.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(dst.scanLine(y)) + r.left();
        const auto* s = reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y)) + r.left();
        for (int x = 0; x < r.width(); ++x) d[x] ^= s[x] & 0xFFFFFFu;
    }
}

void XorInto(QImage& dst, const QImage& layer, QPoint at) {
    const QRect area = QRect(at, layer.size()) & dst.rect();
    if (area.isEmpty()) return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(dst.scanLine(y)) + area.left();
        const auto* s =
            reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y - at.y())) + (area.left() - at.x());
        for (int x = 0; x < area.width(); ++x) d[x] ^= s[x] & 0xFFFFFFu;
    }
}

GraphRenderer::GraphRenderer(ResponseFn response) : curves_(response) {}

const QImage& GraphRenderer::Render(const GraphState& state, QSize size) {
    ClearUpperVectorState();
    if (size.width() <= 0 || size.height() <= 0) {
        frame_ = QImage();
        frameGrid_ = 0;
        return frame_;
    }
    const GraphAxes axes(size.width(), size.height(), state.leftMargin);
    if (size != gridSize_ || state.leftMargin != gridMargin_) BuildGrid(axes);
    if (axes.PlotTooNarrow()) {
        frame_ = grid_;
        frameGrid_ = 0;
        return frame_;
    }
    curves_.Update(state.Curve(), axes.PlotWidth());

    // The picture is the grid, the curve XOR-ed over it, and the overlays drawn in order. Only
    // what changed is put back to the grid and drawn again.
    const bool fresh = frameGrid_ != gridBuilds_ || frame_.size() != size;
    const bool newCurve = fresh || frameCurve_ != curves_.Version();
    ListOverlays(state, axes);
    if (fresh) {
        CopyPixels(frame_, grid_);
        BuildCurve(axes);
        stroke_.XorInto(frame_, stroke_.Area(), kCurveArgb & 0xFFFFFF);
    } else {
        // What is put back: the old and the new curve's reach when the curve changed, overlays
        // gone or changed, then every overlay touching that, until none is left.
        damage_.Reset(frame_.height());
        if (newCurve) {
            damage_.AddRows(stroke_.Reach());
            BuildCurve(axes);
            damage_.AddRows(stroke_.Reach());
        }
        std::vector<bool> kept(drawn_.size(), false);
        for (Overlay& o : overlays_) {
            o.draw = true;
            for (std::size_t i = 0; i < drawn_.size() && o.draw; ++i) {
                if (!kept[i] && drawn_[i].Same(o)) kept[i] = true, o.draw = false;
            }
            if (o.draw) damage_.Add(o.reach);
        }
        for (std::size_t i = 0; i < drawn_.size(); ++i)
            if (!kept[i]) damage_.Add(drawn_[i].reach);
        for (bool grew = true; grew;) {
            grew = false;
            for (Overlay& o : overlays_) {
                if (o.draw || !damage_.Touches(o.reach)) continue;
                o.draw = grew = true;
                damage_.Add(o.reach);
            }
        }
        damage_.Restore(frame_, grid_);
        if (newCurve) {
            stroke_.XorInto(frame_, stroke_.Area(), kCurveArgb & 0xFFFFFF);
        } else {
            // Only overlays were put back. The region's rectangles do not overlap, so no pixel is
            // XOR-ed twice.
            for (const QRect& r : damage_.Rects() & stroke_.Area())
                stroke_.XorInto(frame_, r, kCurveArgb & 0xFFFFFF);
        }
    }
    frameGrid_ = gridBuilds_;
    frameCurve_ = curves_.Version();
    DrawOverlays();
    std::swap(drawn_, overlays_);
    return frame_;
}

void GraphRenderer::ListOverlays(const GraphState& state, const GraphAxes& axes) {
    overlays_.clear();
    const QRect all(QPoint(0, 0), QSize(axes.Width(), axes.Height()));
    const auto text = [&](Overlay::Kind kind, int slot, int px, const QRect& box, int flags, QString t) {
        const QRect reach = GraphText::At(px).Bounds(box, flags, t) & all;
        overlays_.push_back({kind, slot, box, flags, 0, std::move(t), reach});
    };

    // The selected band's values first: they are painted before the markers are combined.
    if (state.HasMarker(state.selected)) {
        const auto values = PlaceBandValues(state, axes, state.selected, GraphText::At(kSmallFontPx).Font());
        for (int k = 0; k < 3; ++k) {
            text(Overlay::Values, k, kSmallFontPx, QRect(values[k].at, QSize(400, 100)),
                 Qt::AlignLeft | Qt::AlignTop, values[k].text);
        }
    }
    for (int b = 1; b <= state.LastMarkerBand(); ++b) {
        if (!state.HasMarker(b)) continue;
        const bool selected = b == state.selected;
        const int key = selected ? state.blinkStep : INT_MIN;
        const int grow = selected ? state.blinkStep : 0;
        const int size = std::max(kMarkerSize + 2 * grow, 0);
        const QRect box(MarkerSquare(state, axes, b).topLeft() - QPoint(grow, grow), QSize(size, size));
        overlays_.push_back({Overlay::Marker, b, box, 0, key, QString(), box & all});
    }
    const int th = GraphText::At(kNumberFontPx).Height();
    for (int b = 1; b <= state.LastMarkerBand(); ++b) {
        if (!state.HasMarker(b)) continue;
        const QRect sq = MarkerSquare(state, axes, b);
        text(Overlay::Number, b, kNumberFontPx,
             QRect(sq.left(), sq.top() + (kMarkerSize - th) / 2, kMarkerSize, th),
             Qt::AlignHCenter | Qt::AlignTop, QString::number(b));
    }
    if (state.bypass) text(Overlay::Pass, 0, kPassFontPx, all, Qt::AlignCenter, QStringLiteral("EQ PASS"));
}

void GraphRenderer::DrawOverlays() {
    // In the order the picture is defined by: values, markers combined by XOR, numbers, "EQ PASS".
    const auto texts = [&](Overlay::Kind kind, int px, std::uint32_t colour) {
        QPainter p;
        for (const Overlay& o : overlays_) {
            if (o.kind != kind || !o.draw) continue;
            if (!p.isActive()) {
                p.begin(&frame_);
                p.setPen(win::ColorRef(colour));
            }
            if (kind == Overlay::Number)
                GraphText::At(px).DrawKept(p, o.box, o.flags, o.text);
            else
                GraphText::At(px).Draw(p, o.box, o.flags, o.text);
        }
    };
    texts(Overlay::Values, kSmallFontPx, kValuesText);
    DrawMarkers();
    texts(Overlay::Number, kNumberFontPx, kNumberText);
    texts(Overlay::Pass, kPassFontPx, kPassText);
}

void GraphRenderer::BuildGrid(const GraphAxes& axes) {
    ++gridBuilds_;
    gridSize_ = QSize(axes.Width(), axes.Height());
    gridMargin_ = axes.LeftMargin();
    grid_ = QImage(gridSize_, QImage::Format_RGB32);
    grid_.fill(win::ColorRef(kBackground));

    const int lm = axes.LeftMargin();
    const int h = axes.Height();
    const int yTop = axes.RowInt();
    const int xL = axes.FreqToX(kMinFreq) + lm;
    const int xR = axes.FreqToX(kMaxFreq) + lm;

    const GraphText& labels = GraphText::At(kSmallFontPx);
    const QFont& font = labels.Font();
    const FreqLabelRow freqLabels = PlaceFreqLabels(axes, font);

    QPainter p(&grid_);
    // Lines exclude their far end pixel.
    const int freqLinesBottom = FreqLinesEnd(axes) + 1;
    for (int f : GridLineFreqs())
        p.fillRect(QRect(axes.FreqToX(f) + lm, yTop, 1, freqLinesBottom - yTop), win::ColorRef(kFreqLine));
    for (int i = 0; i < 20; ++i) {
        // The -26 dB row lies on or past the control's last row: it gives way to labels standing there.
        const int y = GridRowY(axes, i);
        if (i > 18 && y >= freqLabels.inkTop && y <= freqLabels.inkBottom) continue;
        p.fillRect(QRect(xL, y, xR - xL, 1), win::ColorRef(kGainLine));
    }

    const QFontMetrics fm(font);
    const int th = fm.height();
    p.setFont(font);
    p.setPen(win::ColorRef(kLabelText));
    p.setClipRect(QRect(0, freqLabels.clipTop, axes.Width(), h - freqLabels.clipTop));
    for (const PlacedText& label : freqLabels.labels)
        labels.DrawKept(p, QRect(label.at, QSize(40, 40)), Qt::AlignLeft | Qt::AlignTop, label.text);
    p.setClipping(false);

    // +12 dB edge 1 px, -24 dB edge 2 px.
    p.fillRect(QRect(xL, yTop, xR - xL, 1), win::ColorRef(kEdgeLine));
    p.fillRect(QRect(xL, GridRowY(axes, 18) - 1, xR - xL, 2), win::ColorRef(kEdgeLine));

    int labelWidth = 0;
    for (int k = 1; k <= 19; ++k) {
        labelWidth =
            std::max(labelWidth, fm.horizontalAdvance(num::Format("%ddB", GainLabelValue(k)).c_str()));
    }
    static const int inkHeight = GainLabelInkHeight(font);
    const int stride = GainLabelStride(axes, inkHeight);
    for (int k = 1; k <= 19; k += stride) {
        labels.DrawKept(p, GainLabelRect(axes, k, labelWidth, th), Qt::AlignRight | Qt::AlignVCenter,
                        QString::fromStdString(num::Format("%ddB", GainLabelValue(k))));
    }
}

void GraphRenderer::BuildCurve(const GraphAxes& axes) {
    line_.clear();
    stroke_.Prepare(line_, QRect(), kCurveWidth);
    const std::vector<float>& sum = curves_.Sum();
    const int n = static_cast<int>(sum.size());
    // Like the frequency lines, the curve stops on the -24 dB line, clear of the labels under it.
    const int layerHeight = std::min(axes.Height() - axes.RowInt(), FreqLinesEnd(axes) + 1);
    if (n < 2 || layerHeight <= 0) return;

    points_.resize(n);
    for (int i = 0; i < n; ++i) points_[i] = QPointF(i, axes.Y0() - axes.GainToY(sum[i]));
    FlattenCardinalSpline(points_, 1.0, kFlatness, line_);
    double top = line_[0].y(), bottom = top;
    for (const QPointF& pt : line_) {
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }

    // Only the curve's own rows are touched; elsewhere its layer is black and XOR leaves the grid.
    const QRect plot(axes.LeftMargin(), 0, n, layerHeight);
    const QRect area = QRectF(QPointF(0, top), QPointF(n, bottom)).toAlignedRect().adjusted(-2, -2, 3, 3);
    for (QPointF& pt : line_) pt += QPointF(axes.LeftMargin(), 0);
    stroke_.Prepare(line_, area.translated(axes.LeftMargin(), 0) & plot & frame_.rect(), kCurveWidth);
}

const QImage& GraphRenderer::MarkerSprite(int key) {
    if (auto it = sprites_.find(key); it != sprites_.end()) return it->second;
    if (sprites_.size() > 32) sprites_.clear();  // only odd blink steps get here more than once

    const bool selected = key != INT_MIN;
    const int blinkStep = selected ? key : 0;
    const int size = std::max(kMarkerSize + 2 * blinkStep, 0);
    QImage sprite(size, size, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    if (size > 0) {
        QPainter p(&sprite);
        const QRect sq(0, 0, size, size);
        const QColor black(Qt::black), ring = win::ColorRef(kRing), tick = win::ColorRef(kTick);
        EllipseInBox(p, sq, selected && blinkStep > 0 ? blinkStep : 2, black);
        const QRect inner = sq.adjusted(2, 2, -2, -2);
        EllipseInBox(p, inner, 2, ring);
        const int tickLeft = inner.left() + inner.width() / 2 - 3;
        p.fillRect(QRect(tickLeft, inner.top(), 6, 1), tick);
        p.fillRect(QRect(tickLeft, sq.top() + sq.height() - 4, 6, 1), tick);
        if (!selected) EllipseInBox(p, sq.adjusted(5, 5, -5, -5), 2, ring);
    }
    return sprites_.emplace(key, std::move(sprite)).first->second;
}

void GraphRenderer::DrawMarkers() {
    // Markers are aliased shapes, so one painted sprite per look, placed at whole pixels, gives the
    // same layer as painting each marker. Later markers cover earlier ones in the layer.
    QRegion area;
    for (const Overlay& o : overlays_)
        if (o.kind == Overlay::Marker && o.draw) area += o.reach;
    if (area.isEmpty()) return;

    if (markerLayer_.size() != frame_.size()) markerLayer_ = QImage(frame_.size(), QImage::Format_RGB32);
    // Only the markers' area of the layer is cleared, painted and combined.
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memset(markerLayer_.scanLine(y) + r.left() * 4, 0, static_cast<std::size_t>(r.width()) * 4);
    }
    for (const Overlay& o : overlays_) {
        if (o.kind != Overlay::Marker || !o.draw) continue;
        const QImage& sprite = MarkerSprite(o.sprite);
        const QRect& r = o.reach;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* d = reinterpret_cast<QRgb*>(markerLayer_.scanLine(y)) + r.left();
            const auto* src =
                reinterpret_cast<const QRgb*>(sprite.constScanLine(y - o.box.y())) + (r.left() - o.box.x());
            for (int x = 0; x < r.width(); ++x)
                if (qAlpha(src[x]) != 0) d[x] = src[x] | 0xFF000000u;
        }
    }
    for (const QRect& r : area) XorArea(frame_, markerLayer_, r);
}

}  // namespace controls
