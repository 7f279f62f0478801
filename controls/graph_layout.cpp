#include "controls/graph_layout.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

#include "platform/numbers.h"

namespace controls {

QFont GraphFont(int pixelSize) {
    // Where the named face is missing, one with its metrics: a generic monospace face has taller
    // digits and crowds the gain labels.
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Consolas"), QStringLiteral("Liberation Mono")});
    font.setPixelSize(pixelSize);
    return font;
}

int GridRowY(const GraphAxes& axes, int i) {
    return static_cast<int>(axes.RowInt() + i * axes.RowHeight());
}

std::vector<int> GridLineFreqs() {
    std::vector<int> freqs;
    for (int decade = 10; decade <= 10000; decade *= 10) {
        for (int m = 1; m <= 9; ++m) {
            if (m * decade > kMaxFreq) return freqs;
            freqs.push_back(m * decade);
        }
    }
    return freqs;
}

const std::vector<int>& LabelFreqs() {
    static const std::vector<int> freqs{20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
    return freqs;
}

QString FreqLabel(int freq) {
    return QString::fromStdString(freq < 1000 ? num::Format("%dHz", freq)
                                              : num::Format("%dkHz", freq / 1000));
}

int GainLabelValue(int k) {
    return 14 - 2 * k;
}

QRect GainLabelRect(const GraphAxes& axes, int k, int labelWidth, int textHeight) {
    const int right = axes.LeftMargin() - 5;
    const int rowY = GridRowY(axes, k - 1);
    return QRect(right - labelWidth, rowY - textHeight / 2, labelWidth, textHeight);
}

int GainLabelStride(const GraphAxes& axes, int inkHeight) {
    // Divisors of the 18 rows from +12 to -24 dB, so both ends always keep their label.
    for (int stride : {1, 2, 3, 6, 9}) {
        int closest = axes.Height();
        for (int k = 1; k + stride <= 19; k += stride)
            closest = std::min(closest, GridRowY(axes, k - 1 + stride) - GridRowY(axes, k - 1));
        if (closest >= inkHeight + 1) return stride;
    }
    return 18;
}

int GainLabelInkHeight(const QFont& font) {
    const QFontMetrics fm(font);
    QRect ink;
    for (int k = 1; k <= 19; ++k)
        ink |= fm.tightBoundingRect(QString::fromStdString(num::Format("%ddB", GainLabelValue(k))));
    return ink.height();
}

int MeasureLeftMargin() {
    const QFontMetrics fm(GraphFont(kSmallFontPx));
    int margin = fm.horizontalAdvance(QStringLiteral("-24dB "));
    for (int k = 1; k <= 19; ++k) {
        const int w = fm.horizontalAdvance(QString::fromStdString(num::Format("%ddB", GainLabelValue(k))));
        margin = std::max(margin, w + 5 + 1);
    }
    return margin;
}

QRect PlotRect(const GraphAxes& axes) {
    const int left = axes.LeftMargin() + axes.FreqToX(kMinFreq);
    const int right = axes.LeftMargin() + axes.FreqToX(kMaxFreq);
    return QRect(QPoint(left, GridRowY(axes, 0)), QPoint(right, GridRowY(axes, 18)));
}

int FreqLinesEnd(const GraphAxes& axes) {
    // Where a row is nearly a whole pixel more than its integer part, the lines' plain end falls a
    // row below the -24 dB line.
    return std::min(axes.Height() - axes.RowInt() - 1, GridRowY(axes, 18));
}

namespace {

constexpr int kValuesEdgeGap = 3;

// Where the text drawn from `at` may leave pixels: across its advance and any glyph reaching past
// it, down the rows of its glyphs.
QRect TextRect(const QFontMetrics& fm, QPoint at, const QString& text) {
    const QRect bounds = fm.boundingRect(text), ink = fm.tightBoundingRect(text);
    const int left = std::min(0, bounds.left()),
              right = std::max(fm.horizontalAdvance(text), bounds.right() + 1);
    return QRect(QPoint(left, ink.top()), QPoint(right - 1, ink.bottom()))
        .translated(at + QPoint(0, fm.ascent()));
}

}  // namespace

FreqLabelRow PlaceFreqLabels(const GraphAxes& axes, const QFont& font) {
    const QFontMetrics fm(font);
    FreqLabelRow row;
    QRect ink;  // of all labels, relative to the baseline
    for (int f : LabelFreqs()) ink |= fm.tightBoundingRect(FreqLabel(f));
    const int inkTop = fm.ascent() + ink.top(), inkBottom = fm.ascent() + ink.bottom();

    const int h = axes.Height();
    const int lineBottom = GridRowY(axes, 18);  // the -24 dB line's lower row
    int top = h - fm.height();
    // A blank row under the line where the height allows; the glyphs' last row on the control's.
    if (top + inkTop <= lineBottom) top = std::min(lineBottom + 2 - inkTop, h - 1 - inkBottom);
    row.inkTop = top + inkTop;
    row.inkBottom = top + inkBottom;
    row.clipTop = std::max(row.inkTop, lineBottom + 1);

    for (int f : LabelFreqs()) {
        const QString text = FreqLabel(f);
        const int width = TextRect(fm, QPoint(0, 0), text).right() + 1;
        const int column = axes.LeftMargin() + axes.FreqToX(f);
        const QPoint at(std::min(column, axes.Width() - width), top);
        const QRect rect = TextRect(fm, at, text);
        // Moved left to stay inside, a label could run into the one before it on a narrow graph:
        // it is left out there.
        if (at.x() < column && !row.labels.empty() && rect.left() <= row.labels.back().rect.right() + 1)
            continue;
        row.labels.push_back({text, at, rect});
    }
    return row;
}

std::array<PlacedText, 3> PlaceBandValues(const GraphState& state, const GraphAxes& axes, int band,
                                          const QFont& font) {
    const QFontMetrics fm(font);
    std::array<PlacedText, 3> values{{
        {QString::fromStdString(num::Format("%dHz", state.freq[band])), {}, {}},
        {QString::fromStdString(num::Format("%.1fdB", static_cast<double>(state.gain[band]))), {}, {}},
        {QString::fromStdString(num::Format("Q:%1.1f", static_cast<double>(state.q[band]))), {}, {}},
    }};
    const QRect plot = PlotRect(axes);
    const QRect square = MarkerSquare(state, axes, band);
    // The three lines stand kValueLinePx apart, from the marker outwards: Q nearest, frequency
    // furthest; `side` +1 puts them below the marker, -1 above it.
    const auto layOut = [&](int side, int dx, int dy) {
        const int base = square.top() + (27 * side) / 2;
        QRect block;
        for (int k = 0; k < 3; ++k) {
            const QPoint at(square.left() + dx, base + (3 - k) * kValueLinePx * side + dy);
            values[k].at = at;
            values[k].rect = TextRect(fm, at, values[k].text);
            block |= values[k].rect;
        }
        return block;
    };
    const auto fits = [&](const QRect& block) {
        return block.top() >= plot.top() && block.bottom() <= plot.bottom();
    };

    // Across, they keep clear of the curve's stroke down the plot's first and last columns, where a
    // band at 20 Hz or 20 kHz rises or falls.
    const QRect across = plot.adjusted(kValuesEdgeGap, 0, -kValuesEdgeGap, 0);
    int side = state.gain[band] >= 0 ? 1 : -1;
    if (!fits(layOut(side, 0, 0)) && fits(layOut(-side, 0, 0))) side = -side;
    const QRect block = layOut(side, 0, 0);
    // Moved across only as far as the plot's edges ask; up or down only in a plot too low for both sides.
    const int dx =
        std::max(across.left(), std::min(block.left(), across.right() + 1 - block.width())) - block.left();
    int dy = 0;
    if (!fits(block)) {
        dy = block.bottom() > plot.bottom() ? plot.bottom() - block.bottom() : 0;
        if (block.top() + dy < plot.top()) dy = plot.top() - block.top();
    }
    layOut(side, dx, dy);
    return values;
}

QRect MarkerSquare(const GraphState& state, const GraphAxes& axes, int b) {
    const int left = axes.LeftMargin() + axes.FreqToX(state.freq[b]) - kMarkerSize / 2;
    const int top = axes.Y0() - axes.GainToY(state.gain[b]) - kMarkerSize / 2;
    return QRect(left, top, kMarkerSize, kMarkerSize);
}

}  // namespace controls
