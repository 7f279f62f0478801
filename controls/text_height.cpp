#include "controls/text_height.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>

namespace controls {

int TextLineHeight(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // Ascent and descent without the line's leading, so a Latin text keeps the font's own height.
    const int height = line.isValid() ? qRound(line.ascent() + line.descent()) : 0;
    return std::max(height, QFontMetrics(font).height());
}

}  // namespace controls
