#pragma once
// Checks on a rendered equaliser graph, shared by the graph's tests and the whole-window tests: the
// frequency labels read whole and clear of every grid line, and the selected band's values stay in
// the plot.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

#include "controls/graph_axes.h"
#include "controls/graph_layout.h"
#include "controls/graph_state.h"
#include "tests/controls/widget_test_support.h"

namespace controls_test {

constexpr QRgb kGraphBackground = 0x141414, kGraphLabelText = 0xA0A0A0;

// A frequency label's text drawn alone on the graph's background, over the label's rectangle.
inline QImage LoneLabel(const controls::PlacedText& label) {
    QImage img(label.rect.size(), QImage::Format_RGB32);
    img.fill(kGraphBackground);
    QPainter p(&img);
    p.setFont(controls::GraphFont(controls::kSmallFontPx));
    p.setPen(QColor(kGraphLabelText));
    p.drawText(QRect(label.at - label.rect.topLeft(), QSize(40, 40)), Qt::AlignLeft | Qt::AlignTop,
               label.text);
    return img;
}

// `img` is a graph whose curve and markers keep away from the bottom rows, wide enough for all
// frequency labels. Every label lies inside the control; each row of its ink shows the text alone (no line
// through it, nothing cut but at most the tip of a glyph above the labels' clip row); and in those rows
// nothing but the labels is drawn right of the gain labels.
inline void ExpectFreqLabelsClear(const QImage& img, const controls::GraphAxes& axes,
                                  const std::string& where) {
    const controls::FreqLabelRow row =
        controls::PlaceFreqLabels(axes, controls::GraphFont(controls::kSmallFontPx));
    ASSERT_EQ(row.labels.size(), controls::LabelFreqs().size()) << where << ": a label is left out";
    std::vector<bool> inkRows(static_cast<std::size_t>(img.height()), false);
    for (const controls::PlacedText& label : row.labels) {
        const std::string what = where + ", label " + label.text.toStdString();
        EXPECT_TRUE(img.rect().contains(label.rect)) << what << " reaches past the control";
        const QImage lone = LoneLabel(label);
        const QRect ink = InkBox(lone, kGraphBackground, lone.rect()).translated(label.rect.topLeft());
        ASSERT_FALSE(ink.isEmpty()) << what;
        EXPECT_LE(row.clipTop - ink.top(), 1) << what << ": more than a glyph's tip is cut off";
        int differ = 0;
        for (int y = std::max(ink.top(), row.clipTop); y <= ink.bottom() && y < img.height(); ++y) {
            inkRows[static_cast<std::size_t>(y)] = true;
            for (int x = label.rect.left(); x <= label.rect.right(); ++x) {
                if (x < 0 || x >= img.width()) continue;
                differ += Pixel(img, x, y) != Pixel(lone, x - label.rect.left(), y - label.rect.top());
            }
        }
        EXPECT_EQ(differ, 0) << what << ": pixels that differ from the text alone (a line through it?)";
    }
    for (int y = 0; y < img.height(); ++y) {
        if (!inkRows[static_cast<std::size_t>(y)]) continue;
        int stray = 0;
        for (int x = axes.LeftMargin(); x < img.width(); ++x) {
            const bool inLabel =
                std::any_of(row.labels.begin(), row.labels.end(),
                            [&](const controls::PlacedText& l) { return l.rect.contains(x, y); });
            stray += !inLabel && Pixel(img, x, y) != kGraphBackground;
        }
        EXPECT_EQ(stray, 0) << where << ": a grid line runs along row " << y << " of the frequency labels";
    }
}

// `selected` and `plain` are the same graph with band `band` selected and with nothing selected.
// The three value texts lie inside the plot, as computed and as drawn: every pixel the selection
// changes outside the band's marker.
inline void ExpectValuesInPlot(const QImage& selected, const QImage& plain, const controls::GraphState& state,
                               const controls::GraphAxes& axes, int band, const std::string& where) {
    const QRect plot = controls::PlotRect(axes);
    const auto values =
        controls::PlaceBandValues(state, axes, band, controls::GraphFont(controls::kSmallFontPx));
    for (const controls::PlacedText& v : values)
        EXPECT_TRUE(plot.contains(v.rect)) << where << ": \"" << v.text.toStdString() << "\" leaves the plot";
    ASSERT_EQ(selected.size(), plain.size()) << where;
    const int grow = std::abs(state.blinkStep);
    const QRect marker = controls::MarkerSquare(state, axes, band).adjusted(-grow, -grow, grow, grow);
    QRect drawn;
    for (int y = 0; y < selected.height(); ++y)
        for (int x = 0; x < selected.width(); ++x)
            if (!marker.contains(x, y) && Pixel(selected, x, y) != Pixel(plain, x, y))
                drawn |= QRect(x, y, 1, 1);
    EXPECT_FALSE(drawn.isEmpty()) << where << ": no values drawn";
    EXPECT_TRUE(plot.contains(drawn)) << where << ": values drawn at " << drawn.x() << "," << drawn.y() << " "
                                      << drawn.width() << "x" << drawn.height() << ", outside the plot";
}

}  // namespace controls_test
