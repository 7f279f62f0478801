#include "controls/graph_stroke.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

double DistanceToSegment(double px, double py, const QPointF& a, const QPointF& b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.x()) * dx + (py - a.y()) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x() + t * dx - px, ey = a.y() + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

bool Finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

}  // namespace

void XorStrokePolyline(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                       QRgb colour, std::vector<float>& scratch) {
    const QRect area = clip & dst.rect();
    if (line.size() < 2 || area.isEmpty() || !(width > 0)) return;
    const int w = area.width(), h = area.height();
    const double reach = width / 2.0 + 0.5;  // beyond this a pixel is not touched
    scratch.assign(static_cast<std::size_t>(w) * h, 0.0f);

    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i] - QPointF(area.topLeft()), b = line[i + 1] - QPointF(area.topLeft());
        if (!Finite(a) || !Finite(b)) continue;
        const double top = std::min(a.y(), b.y()) - reach, bottom = std::max(a.y(), b.y()) + reach;
        const double left = std::min(a.x(), b.x()) - reach, right = std::max(a.x(), b.x()) + reach;
        if (bottom < 0 || top > h || right < 0 || left > w) continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(left)));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(right)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top)));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(bottom)));
        for (int y = y0; y <= y1; ++y) {
            float* row = &scratch[static_cast<std::size_t>(y) * w];
            for (int x = x0; x <= x1; ++x) {
                const double c = reach - DistanceToSegment(x, y, a, b);
                if (c > row[x]) row[x] = static_cast<float>(std::min(c, 1.0));
            }
        }
    }

    // Flat ends: the first and last pixel columns are cut at the end points.
    const double startX = line.front().x() - area.left(), endX = line.back().x() - area.left();
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    for (int y = 0; y < h; ++y) {
        const float* row = &scratch[static_cast<std::size_t>(y) * w];
        auto* out = reinterpret_cast<QRgb*>(dst.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < w; ++x) {
            if (row[x] <= 0) continue;
            const double c =
                row[x] * std::clamp(x - startX + 0.5, 0.0, 1.0) * std::clamp(endX - x + 0.5, 0.0, 1.0);
            const auto ch = [c](int v) { return static_cast<QRgb>(v * c + 0.5); };
            out[x] ^= (ch(r) << 16) | (ch(g) << 8) | ch(b);
        }
    }
}

}  // namespace controls
