#include "controls/text_height.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace controls {

int TextLineHeight(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const int height = line.isValid() ? static_cast<int>(std::ceil(line.height())) : 0;
    return std::max(height, QFontMetrics(font).height());
}

}  // namespace controls
