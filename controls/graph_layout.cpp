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

QRect MarkerSquare(const GraphState& state, const GraphAxes& axes, int b) {
    const int left = axes.LeftMargin() + axes.FreqToX(state.freq[b]) - kMarkerSize / 2;
    const int top = axes.Y0() - axes.GainToY(state.gain[b]) - kMarkerSize / 2;
    return QRect(left, top, kMarkerSize, kMarkerSize);
}

}  // namespace controls
