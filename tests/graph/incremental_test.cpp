// The picture is updated in place between renders; after any sequence of edits it must be the
// very picture a new renderer draws for the same state. Also the pieces that keeps exact: where a
// text can leave pixels, and the flattened spline's step count.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <random>

#include "controls/graph_layout.h"
#include "controls/graph_render.h"
#include "controls/graph_spline.h"
#include "controls/graph_text.h"
#include "qt_app.h"

using namespace controls;

namespace {

GraphState SeventeenBands() {
    GraphState s;
    s.leftMargin = 40;
    s.bandCount = 15;
    for (int k = 0; k < kGraphBands; ++k) {
        s.freq[k] = 25 * (k + 1) * (k + 1);
        s.gain[k] = static_cast<float>((k * 7) % 13) - 6.0f;
        s.q[k] = 1.4f;
        s.type[k] = 1;
        s.shown[k] = 1;
    }
    s.type[0] = 4;
    s.type[16] = 5;
    s.selected = 5;
    s.blinkStep = 2;
    return s;
}

int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

TEST(GraphIncremental, SameAsAFreshRenderAfterEveryEdit) {
    EnsureQtApp();
    GraphState s = SeventeenBands();
    QSize size(800, 300);
    struct Edit {
        const char* what;
        std::function<void()> apply;
    };
    std::vector<Edit> edits;
    for (int i = 0; i < 12; ++i) {
        edits.push_back({"drag band 5", [&s, i] {
                             s.freq[5] = 300 + i * 97;
                             s.gain[5] = static_cast<float>(i % 7) * 3.5f - 12.0f;
                         }});
    }
    for (int i = 0; i < 6; ++i) edits.push_back({"blink step", [&s, i] { s.blinkStep = i; }});
    const std::vector<Edit> more{
        {"nothing changed", [] {}},
        {"other band selected", [&] { s.selected = 9, s.blinkStep = 0; }},
        {"its gain turns to a cut (values above)", [&] { s.gain[9] = -7.5f; }},
        {"bypassed", [&] { s.bypass = true; }},
        {"blink while bypassed", [&] { s.blinkStep = 3; }},
        {"band under the text moves", [&] { s.gain[3] = 11.5f, s.freq[3] = 40; }},
        {"bypass off", [&] { s.bypass = false; }},
        {"two markers overlap", [&] { s.freq[3] = 1000, s.gain[3] = 2, s.freq[4] = 1100, s.gain[4] = 3; }},
        {"and swap places", [&] { s.freq[3] = 1100, s.gain[3] = 3, s.freq[4] = 1000, s.gain[4] = 2; }},
        {"one selected under the other", [&] { s.selected = 3, s.blinkStep = 2; }},
        {"two bands hidden", [&] { s.shown[4] = 0, s.shown[6] = 0; }},
        {"fewer markers", [&] { s.bandCount = 8; }},
        {"band 16 selected, count 99", [&] { s.bandCount = 99, s.selected = 16; }},
        {"NaN gain", [&] { s.gain[2] = NAN; }},
        {"huge gain", [&] { s.gain[2] = 1e30f; }},
        {"0 Hz and Q 0", [&] { s.gain[2] = 0, s.freq[7] = 0, s.q[8] = 0; }},
        {"resized", [&] { size = QSize(640, 400); }},
        {"other margin", [&] { s.leftMargin = 33; }},
        {"marker in the corner", [&] { s.selected = 1, s.freq[1] = 20, s.gain[1] = 12, s.blinkStep = 4; }},
        {"all bands flat",
         [&] {
             for (int& t : s.type) t = 0;
         }},
        {"nothing selected", [&] { s.selected = -1; }},
        {"too narrow for a plot", [&] { size = QSize(30, 200); }},
        {"wide again", [&] { size = QSize(300, 200), s.type[4] = 1, s.gain[4] = 9; }},
    };
    edits.insert(edits.end(), more.begin(), more.end());

    GraphRenderer kept;
    for (const Edit& e : edits) {
        e.apply();
        const QImage updated = kept.Render(s, size).copy();
        GraphRenderer fresh;
        EXPECT_EQ(DifferentPixels(updated, fresh.Render(s, size)), 0) << e.what;
    }
}

TEST(GraphIncremental, RandomDragsAndBlinks) {
    EnsureQtApp();
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> band(1, 16), freq(20, 20000), step(0, 5);
    std::uniform_real_distribution<float> gain(-24.0f, 12.0f);
    GraphState s = SeventeenBands();
    GraphRenderer kept;
    for (int i = 0; i < 30; ++i) {
        const int b = band(rng);
        switch (i % 3) {
            case 0:
                s.freq[b] = freq(rng), s.gain[b] = std::round(gain(rng) * 10) / 10;
                break;
            case 1:
                s.selected = b;
                break;
            default:
                s.blinkStep = step(rng);
        }
        const QImage updated = kept.Render(s, QSize(700, 330)).copy();
        GraphRenderer fresh;
        ASSERT_EQ(DifferentPixels(updated, fresh.Render(s, QSize(700, 330))), 0) << "edit " << i;
    }
}

TEST(GraphText, DrawingStaysInsideTheRectangleItReports) {
    EnsureQtApp();
    const char* texts[] = {"20000Hz", "-24.0dB", "Q:128.0", "16", "1", "EQ PASS", "nandB", "-infdB", "Wj|@_"};
    for (int px : {kSmallFontPx, kNumberFontPx, kPassFontPx}) {
        for (const char* t : texts) {
            for (int flags : {int(Qt::AlignLeft | Qt::AlignTop), int(Qt::AlignCenter)}) {
                // A box the text fits in, and one as small as a marker's number box (clipped).
                for (const QRect box : {QRect(100, 40, 320, 120), QRect(100, 50, 24, 16)}) {
                    QImage img(600, 220, QImage::Format_RGB32);
                    img.fill(Qt::black);
                    QPainter p(&img);
                    p.setPen(Qt::white);
                    const QRect said = GraphText::At(px).Draw(p, box, flags, QString::fromLatin1(t));
                    p.end();
                    int outside = 0, inside = 0;
                    for (int y = 0; y < img.height(); ++y)
                        for (int x = 0; x < img.width(); ++x)
                            if ((img.pixel(x, y) & 0xFFFFFF) != 0) (said.contains(x, y) ? inside : outside)++;
                    EXPECT_EQ(outside, 0) << t << " at " << px << " px";
                    if (box.width() > 24) {
                        EXPECT_GT(inside, 0) << t << " at " << px << " px";
                    }
                }
            }
        }
    }
}

// The step count as it was defined: from hypot, with no shortcut.
std::vector<QPointF> FlattenWithHypot(const std::vector<QPointF>& points, double tension, double tolerance) {
    std::vector<QPointF> out{points[0]};
    const std::size_t n = points.size();
    const double t = tension / 3.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF &prev = points[i == 0 ? 0 : i - 1], &p0 = points[i], &p1 = points[i + 1];
        const QPointF& next = points[i + 2 < n ? i + 2 : n - 1];
        const QPointF c1 = p0 + t * (p1 - prev), c2 = p1 - t * (next - p0);
        const QPointF d1 = p0 - 2 * c1 + c2, d2 = c1 - 2 * c2 + p1;
        const double l = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
        const int steps = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * l / tolerance))), 1, 64);
        for (int k = 1; k < steps; ++k) {
            const double u = static_cast<double>(k) / steps, v = 1 - u;
            out.push_back(v * v * v * p0 + 3 * v * v * u * c1 + 3 * v * u * u * c2 + u * u * u * p1);
        }
        out.push_back(p1);
    }
    return out;
}

TEST(GraphSpline, FlattenedAsWithHypot) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> jump(-40, 40);
    for (double scale : {0.001, 0.1, 1.0, 30.0, 5000.0}) {
        std::vector<QPointF> pts;
        double y = 100;
        for (int i = 0; i < 400; ++i) pts.emplace_back(i, y += jump(rng) * scale / 40);
        EXPECT_EQ(FlattenCardinalSpline(pts, 1.0, 0.1), FlattenWithHypot(pts, 1.0, 0.1)) << scale;
    }
    // Second differences that put sqrt(0.75 l / 0.1) right on whole numbers (l = k^2 * 0.1 / 0.75).
    for (int k = 1; k <= 70; ++k) {
        const double l = k * k * 0.1 / 0.75;
        const std::vector<QPointF> pts{{0, 0}, {1, 0}, {2, l * 3 / 2}, {3, 0}, {4, 0}};
        EXPECT_EQ(FlattenCardinalSpline(pts, 1.0, 0.1), FlattenWithHypot(pts, 1.0, 0.1)) << k;
    }
}

}  // namespace
