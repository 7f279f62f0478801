#include "controls/graph_text.h"

#include <QFontMetrics>
#include <algorithm>
#include <map>
#include <memory>

#include "controls/graph_layout.h"

namespace controls {

GraphText::GraphText(int pixelSize) : font_(GraphFont(pixelSize)) {
    const QFontMetrics fm(font_);
    height_ = fm.height();
    // Every printable character's ink against its cell (advance by ascent + descent); the texts
    // are numbers, units and "EQ PASS", and "nan" or "inf" at worst.
    int left = 0, top = 0, right = 0, bottom = 0;
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        const QRect ink = fm.boundingRect(QChar(c));
        if (ink.isEmpty()) continue;
        left = std::max(left, -ink.left());
        right = std::max(right, ink.right() + 1 - fm.horizontalAdvance(QChar(c)));
        top = std::max(top, -fm.ascent() - ink.top());
        bottom = std::max(bottom, ink.bottom() + 1 - fm.descent());
    }
    overhang_ = QMargins(left + 1, top + 1, right + 1, bottom + 1);
}

const GraphText& GraphText::At(int pixelSize) {
    static std::map<int, std::unique_ptr<GraphText>> texts;
    std::unique_ptr<GraphText>& text = texts[pixelSize];
    if (!text) text.reset(new GraphText(pixelSize));
    return *text;
}

QRect GraphText::Draw(QPainter& p, const QRect& rect, int flags, const QString& text) const {
    QRect box;
    p.setFont(font_);
    p.drawText(rect, flags, text, &box);
    return box.marginsAdded(overhang_);
}

}  // namespace controls
