#include "controls/text_height.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>

namespace controls {

namespace {

struct Line {
    qreal ascent = 0, descent = 0;
};

Line MeasureLine(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? Line{line.ascent(), line.descent()} : Line{};
}

}  // namespace

int TextLineHeight(const QFont& font, const QString& text) {
    const Line line = MeasureLine(font, text);
    // Ascent and descent without the line's leading, so a Latin text keeps the font's own height.
    return std::max(qRound(line.ascent + line.descent), QFontMetrics(font).height());
}

int TextLineAscent(const QFont& font, const QString& text) {
    return std::max(qRound(MeasureLine(font, text).ascent), QFontMetrics(font).ascent());
}

}  // namespace controls
