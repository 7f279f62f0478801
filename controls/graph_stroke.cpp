#include "controls/graph_stroke.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace controls {

namespace {

// Rows handled at once: the distances of one strip stay in the cache and the buffer stays small.
constexpr int kStripRows = 16;
// Columns per block of the segment index, which finds the few segments near a small part quickly.
constexpr int kBlockColumns = 32;
constexpr double kFar = std::numeric_limits<double>::infinity();

// ceil(v) and floor(v) held to lo..hi, without the slow library rounding.
int CeilWithin(double v, int lo, int hi) {
    v = std::clamp(v, static_cast<double>(lo), static_cast<double>(hi));
    const int i = static_cast<int>(v);
    return i < v ? i + 1 : i;
}
int FloorWithin(double v, int lo, int hi) {
    v = std::clamp(v, static_cast<double>(lo), static_cast<double>(hi));
    const int i = static_cast<int>(v);
    return i > v ? i - 1 : i;
}

bool Finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Lowers the least squared distances of pixels x0..x1 of rows y0..y1 (row y at nearest[(y - y0) *
// stride], column x at [x - left]) by their distances from the segment a-b. Pixels go in pairs, so
// one more column than asked may be taken: the rows need room for it.
void NearestToSegment(double ax, double ay, double bx, double by, int x0, int x1, int y0, int y1, int left,
                      double* nearest, std::size_t stride) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
#if defined(__SSE2__)
    if (len2 > 0) {
        const __m128d vax = _mm_set1_pd(ax), vay = _mm_set1_pd(ay), vdx = _mm_set1_pd(dx),
                      vdy = _mm_set1_pd(dy), vlen2 = _mm_set1_pd(len2), zero = _mm_setzero_pd(),
                      one = _mm_set1_pd(1.0), two = _mm_set1_pd(2.0), firstPair = _mm_set_pd(x0 + 1, x0);
        for (int y = y0; y <= y1; ++y, nearest += stride) {
            const __m128d py = _mm_set1_pd(y);
            const __m128d across = _mm_mul_pd(_mm_sub_pd(py, vay), vdy);
            __m128d px = firstPair;
            for (int x = x0; x <= x1; x += 2, px = _mm_add_pd(px, two)) {
                // The distance the stroke is defined by, in exactly the scalar form's operations.
                const __m128d along = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(px, vax), vdx), across);
                const __m128d t = _mm_min_pd(_mm_max_pd(_mm_div_pd(along, vlen2), zero), one);
                const __m128d ex = _mm_sub_pd(_mm_add_pd(vax, _mm_mul_pd(t, vdx)), px);
                const __m128d ey = _mm_sub_pd(_mm_add_pd(vay, _mm_mul_pd(t, vdy)), py);
                const __m128d d2 = _mm_add_pd(_mm_mul_pd(ex, ex), _mm_mul_pd(ey, ey));
                double* to = nearest + (x - left);
                _mm_storeu_pd(to, _mm_min_pd(_mm_loadu_pd(to), d2));
            }
        }
        return;
    }
#endif
    for (int y = y0; y <= y1; ++y, nearest += stride) {
        for (int x = x0; x <= x1; ++x) {
            double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = ax + t * dx - x, ey = ay + t * dy - y;
            double& to = nearest[x - left];
            to = std::min(to, ex * ex + ey * ey);
        }
    }
}

}  // namespace

void CurveStroke::Prepare(const std::vector<QPointF>& line, const QRect& area, double width) {
    area_ = area;
    segments_.clear();
    reachRows_.clear();
    if (line.size() < 2 || area.isEmpty() || !(width > 0)) {
        area_ = QRect();
        return;
    }
    reach_ = width / 2.0 + 0.5;  // beyond this a pixel is not touched
    // Flat ends: the first and last pixel columns are cut at the end points.
    startX_ = line.front().x() - area.left();
    endX_ = line.back().x() - area.left();

    // Everything from here on is relative to the area's top-left pixel. Segments keep the pixels
    // they can reach: beyond `reach` of a segment's box no pixel gets coverage from it.
    const int w = area.width(), h = area.height();
    segments_.resize(line.size());
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i] - QPointF(area.topLeft()), b = line[i + 1] - QPointF(area.topLeft());
        if (!Finite(a) || !Finite(b)) continue;
        const double top = std::min(a.y(), b.y()) - reach_, bottom = std::max(a.y(), b.y()) + reach_;
        const double left = std::min(a.x(), b.x()) - reach_, right = std::max(a.x(), b.x()) + reach_;
        if (bottom < 0 || top > h - 1 || right < 0 || left > w - 1) continue;
        Segment& s = segments_[n];
        s = {a.x(),
             a.y(),
             b.x(),
             b.y(),
             CeilWithin(left, 0, w),
             FloorWithin(right, -1, w - 1),
             CeilWithin(top, 0, h),
             FloorWithin(bottom, -1, h - 1)};
        if (s.x0 <= s.x1 && s.y0 <= s.y1) ++n;
    }
    segments_.resize(n);

    // Columns reached per row (picture coordinates).
    spanLeft_.assign(h, INT_MAX);
    spanRight_.assign(h, INT_MIN);
    for (const Segment& s : segments_) {
        for (int y = s.y0; y <= s.y1; ++y) {
            spanLeft_[y] = std::min(spanLeft_[y], s.x0);
            spanRight_[y] = std::max(spanRight_[y], s.x1);
        }
    }
    for (int y = 0; y < h; ++y) {
        if (spanLeft_[y] <= spanRight_[y])
            reachRows_.emplace_back(area.left() + spanLeft_[y], area.top() + y,
                                    spanRight_[y] - spanLeft_[y] + 1, 1);
    }

    blockFirst_.clear();  // made when a part is first asked for
    call_ = 0;
}

// Segments by the blocks of columns they reach (a counting sort).
void CurveStroke::IndexBlocks() {
    const int blocks = (area_.width() + kBlockColumns - 1) / kBlockColumns;
    blockFirst_.assign(blocks + 1, 0);
    for (const Segment& s : segments_)
        for (int k = s.x0 / kBlockColumns; k <= s.x1 / kBlockColumns; ++k) ++blockFirst_[k + 1];
    for (int k = 0; k < blocks; ++k) blockFirst_[k + 1] += blockFirst_[k];
    blockSegments_.resize(blockFirst_[blocks]);
    fill_.assign(blockFirst_.begin(), blockFirst_.end() - 1);
    for (std::size_t i = 0; i < segments_.size(); ++i)
        for (int k = segments_[i].x0 / kBlockColumns; k <= segments_[i].x1 / kBlockColumns; ++k)
            blockSegments_[fill_[k]++] = static_cast<int>(i);
    seen_.assign(segments_.size(), 0);
    call_ = 0;
}

// The segments reaching `only`, each once, listed per strip of rows.
void CurveStroke::Gather(const QRect& only) {
    picked_.clear();
    const bool whole = only == QRect(QPoint(0, 0), area_.size());
    if (whole) {  // every segment, each once
        picked_.resize(segments_.size());
        for (std::size_t i = 0; i < segments_.size(); ++i) picked_[i] = static_cast<int>(i);
    } else {
        if (blockFirst_.empty()) IndexBlocks();
        if (++call_ == 0) {  // the counter went round: forget all marks
            std::fill(seen_.begin(), seen_.end(), 0u);
            call_ = 1;
        }
    }
    for (int k = only.left() / kBlockColumns; !whole && k <= only.right() / kBlockColumns; ++k) {
        for (int j = blockFirst_[k]; j < blockFirst_[k + 1]; ++j) {
            const int i = blockSegments_[j];
            const Segment& s = segments_[i];
            if (seen_[i] == call_ || s.x1 < only.left() || s.x0 > only.right() || s.y1 < only.top() ||
                s.y0 > only.bottom())
                continue;
            seen_[i] = call_;
            picked_.push_back(i);
        }
    }

    const int strips = (only.height() + kStripRows - 1) / kStripRows;
    const auto stripOf = [&](int y) {
        return (std::clamp(y, only.top(), only.bottom()) - only.top()) / kStripRows;
    };
    stripFirst_.assign(strips + 1, 0);
    for (int i : picked_)
        for (int k = stripOf(segments_[i].y0); k <= stripOf(segments_[i].y1); ++k) ++stripFirst_[k + 1];
    for (int k = 0; k < strips; ++k) stripFirst_[k + 1] += stripFirst_[k];
    stripSegments_.resize(stripFirst_[strips]);
    fill_.assign(stripFirst_.begin(), stripFirst_.end() - 1);
    for (int i : picked_)
        for (int k = stripOf(segments_[i].y0); k <= stripOf(segments_[i].y1); ++k)
            stripSegments_[fill_[k]++] = i;
}

void CurveStroke::XorInto(QImage& dst, const QRect& onlyClip, QRgb colour) {
    if (segments_.empty() || (area_ & dst.rect()) != area_) return;
    const QRect only = (onlyClip & area_).translated(-area_.topLeft());
    if (only.isEmpty()) return;
    Gather(only);

    // A pixel's coverage comes from its nearest segment, so each pixel keeps the least squared
    // distance found and takes one square root at the end. Rows have one spare column on the right
    // for the pixel pairs.
    const std::size_t stride = static_cast<std::size_t>(only.width()) + 1;
    if (nearest_.size() < stride * kStripRows) nearest_.assign(stride * kStripRows, kFar);
    spanLeft_.assign(kStripRows, INT_MAX);
    spanRight_.assign(kStripRows, INT_MIN);
    for (std::size_t k = 0; k + 1 < stripFirst_.size(); ++k) {
        const int stripTop = only.top() + static_cast<int>(k) * kStripRows;
        StrokeStrip(dst, only, stripTop, std::min(stripTop + kStripRows - 1, only.bottom()), stripFirst_[k],
                    stripFirst_[k + 1], colour);
    }
}

void CurveStroke::StrokeStrip(QImage& dst, const QRect& only, int stripTop, int stripBottom, int first,
                              int last, QRgb colour) {
    const int w = only.width();
    const std::size_t stride = static_cast<std::size_t>(w) + 1;
    for (int k = first; k < last; ++k) {
        const Segment& s = segments_[stripSegments_[k]];
        const int x0 = std::max(s.x0, only.left()), x1 = std::min(s.x1, only.right());
        const int y0 = std::max(s.y0, stripTop), y1 = std::min(s.y1, stripBottom);
        NearestToSegment(s.ax, s.ay, s.bx, s.by, x0, x1, y0, y1, only.left(),
                         &nearest_[(y0 - stripTop) * stride], stride);
        // The spare pixel of an odd run is within the span too, so it is cleaned afterwards.
        const int spanEnd = std::min(x1 + 1, only.right());
        for (int row = y0 - stripTop; row <= y1 - stripTop; ++row) {
            spanLeft_[row] = std::min(spanLeft_[row], x0);
            spanRight_[row] = std::max(spanRight_[row], spanEnd);
        }
    }

    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    uchar* const bits = dst.bits();
    const qsizetype bytesPerLine = dst.bytesPerLine();
    const double reach2 = reach_ * reach_;  // from here on no coverage (give or take a rounding)
    for (int row = 0; row <= stripBottom - stripTop; ++row) {
        const int x0 = spanLeft_[row], x1 = spanRight_[row];
        if (x0 > x1) continue;
        double* nearest = &nearest_[row * stride];
        nearest[w] = kFar;  // the spare column
        auto* out =
            reinterpret_cast<QRgb*>(bits + (area_.top() + stripTop + row) * bytesPerLine) + area_.left();
        for (int x = x0; x <= x1; ++x) {
            double& slot = nearest[x - only.left()];
            const double d2 = slot;
            slot = kFar;                 // the strip is clean again for the next one
            if (d2 >= reach2) continue;  // out of reach, or not near any segment
            const double reached = reach_ - std::sqrt(d2);
            if (!(reached > 0)) continue;
            const float cover = static_cast<float>(std::min(reached, 1.0));
            const double c =
                cover * std::clamp(x - startX_ + 0.5, 0.0, 1.0) * std::clamp(endX_ - x + 0.5, 0.0, 1.0);
            const auto ch = [c](int v) { return static_cast<QRgb>(v * c + 0.5); };
            out[x] ^= (ch(r) << 16) | (ch(g) << 8) | ch(b);
        }
        spanLeft_[row] = INT_MAX;
        spanRight_[row] = INT_MIN;
    }
}

void XorStrokePolyline(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                       QRgb colour) {
    CurveStroke stroke;
    stroke.Prepare(line, clip & dst.rect(), width);
    stroke.XorInto(dst, stroke.Area(), colour);
}

}  // namespace controls
