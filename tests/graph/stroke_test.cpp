// The curve stroke against the plain form it replaced (every segment against every pixel of its
// box, one coverage buffer over the whole area): the strip-wise stroke must give exactly the same pixels,
// also when only a part of the area is redrawn.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>

#include "controls/graph_stroke.h"

using namespace controls;

namespace {

void ReferenceStroke(QImage& dst, const QRect& clip, const std::vector<QPointF>& line, double width,
                     QRgb colour) {
    const QRect area = clip & dst.rect();
    if (line.size() < 2 || area.isEmpty() || !(width > 0)) return;
    const int w = area.width(), h = area.height();
    const double reach = width / 2.0 + 0.5;
    std::vector<float> cov(static_cast<std::size_t>(w) * h, 0.0f);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i] - QPointF(area.topLeft()), b = line[i + 1] - QPointF(area.topLeft());
        if (!std::isfinite(a.x() + a.y() + b.x() + b.y())) continue;
        const double top = std::min(a.y(), b.y()) - reach, bottom = std::max(a.y(), b.y()) + reach;
        const double left = std::min(a.x(), b.x()) - reach, right = std::max(a.x(), b.x()) + reach;
        const int x0 = std::max(0, static_cast<int>(std::floor(left)));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(right)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top)));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(bottom)));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double dx = b.x() - a.x(), dy = b.y() - a.y(), len2 = dx * dx + dy * dy;
                double t = len2 > 0 ? ((x - a.x()) * dx + (y - a.y()) * dy) / len2 : 0.0;
                t = std::clamp(t, 0.0, 1.0);
                const double ex = a.x() + t * dx - x, ey = a.y() + t * dy - y;
                const double c = reach - std::sqrt(ex * ex + ey * ey);
                float& to = cov[static_cast<std::size_t>(y) * w + x];
                if (c > to) to = static_cast<float>(std::min(c, 1.0));
            }
        }
    }
    const double startX = line.front().x() - area.left(), endX = line.back().x() - area.left();
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(dst.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < w; ++x) {
            const float cv = cov[static_cast<std::size_t>(y) * w + x];
            if (cv <= 0) continue;
            const double c =
                cv * std::clamp(x - startX + 0.5, 0.0, 1.0) * std::clamp(endX - x + 0.5, 0.0, 1.0);
            const auto ch = [c](int v) { return static_cast<QRgb>(v * c + 0.5); };
            out[x] ^= (ch(qRed(colour)) << 16) | (ch(qGreen(colour)) << 8) | ch(qBlue(colour));
        }
    }
}

QImage Grey(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(0x32, 0x32, 0x32));
    for (int y = 0; y < size.height(); y += 7)
        std::fill_n(reinterpret_cast<QRgb*>(img.scanLine(y)), size.width(), 0xFF404040u);
    return img;
}

int Differences(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

// A polyline through one point per column, finely divided where it bends, like the response curve.
std::vector<QPointF> Wavy(std::mt19937& rng, int columns, double top, double bottom) {
    std::uniform_real_distribution<double> amp(0.0, (bottom - top) / 2), freq(0.005, 0.3);
    const double a = amp(rng), f = freq(rng), mid = (top + bottom) / 2;
    std::vector<QPointF> line;
    for (double x = 0.5; x < columns - 0.5; x += 0.37) line.emplace_back(x, mid + a * std::sin(f * x));
    return line;
}

TEST(GraphStroke, SameAsReferenceOnCurves) {
    std::mt19937 rng(7);
    struct Case {
        const char* what;
        QSize size;
        QRect clip;
        double width;
    } cases[] = {
        {"plot-like area", {160, 120}, {20, 10, 130, 100}, 2.0},
        {"area past the image", {100, 80}, {-10, -5, 200, 200}, 2.0},
        {"thin pen", {120, 90}, {0, 0, 120, 90}, 1.0},
        {"wide pen, tall area over several strips", {90, 150}, {5, 0, 80, 150}, 3.5},
    };
    for (const Case& c : cases) {
        for (int run = 0; run < 12; ++run) {
            std::vector<QPointF> line = Wavy(rng, c.size.width(), 0, c.size.height());
            if (run % 4 == 3) line.insert(line.begin() + line.size() / 2, QPointF(NAN, 3));  // skipped
            if (run % 4 == 2)
                for (QPointF& p : line) p += QPointF(0.25, 0.5);  // centres between pixels
            QImage want = Grey(c.size), got = Grey(c.size);
            ReferenceStroke(want, c.clip, line, c.width, 0x10FF10);
            XorStrokePolyline(got, c.clip, line, c.width, 0x10FF10);
            EXPECT_EQ(Differences(got, want), 0) << c.what << " run " << run;
            EXPECT_GT(Differences(got, Grey(c.size)), 0) << c.what << " run " << run;
        }
    }
}

TEST(GraphStroke, SteepAndDegenerateSegments) {
    const std::vector<std::vector<QPointF>> lines{
        {{10, 2}, {10.2, 70}, {11, 3}, {40, 3}},         // near-vertical spikes
        {{5, 5}, {5, 5}, {30, 30}, {30, 30}, {31, 60}},  // repeated points
        {{60.3, 10.7}, {2.2, 60.1}},                     // one long diagonal
        {{-20, 40}, {30, 41}, {200, 39}},                // ends outside the image
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QImage want = Grey({64, 72}), got = Grey({64, 72});
        ReferenceStroke(want, QRect(0, 0, 64, 72), lines[i], 2.0, 0x10FF10);
        XorStrokePolyline(got, QRect(0, 0, 64, 72), lines[i], 2.0, 0x10FF10);
        EXPECT_EQ(Differences(got, want), 0) << "line " << i;
    }
}

TEST(GraphStroke, PartialRedrawMatchesTheWholeStroke) {
    std::mt19937 rng(11);
    const QSize size(150, 110);
    const QRect area(10, 5, 130, 100);
    const std::vector<QPointF> line = Wavy(rng, size.width(), 10, 100);
    QImage whole = Grey(size);
    CurveStroke stroke;
    stroke.Prepare(line, area, 2.0);
    stroke.XorInto(whole, area, 0x10FF10);
    for (const QRect part :
         {QRect(30, 40, 24, 24), QRect(0, 0, 15, 110), QRect(100, 50, 80, 80), QRect(60, 0, 1, 1)}) {
        // Put back the grid inside the part and redraw only there.
        QImage img = whole.copy();
        const QImage grey = Grey(size);
        const QRect r = part & img.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::copy_n(reinterpret_cast<const QRgb*>(grey.constScanLine(y)) + r.left(), r.width(),
                        reinterpret_cast<QRgb*>(img.scanLine(y)) + r.left());
        stroke.XorInto(img, part, 0x10FF10);
        EXPECT_EQ(Differences(img, whole), 0) << part.x() << "," << part.y();
    }
}

}  // namespace
