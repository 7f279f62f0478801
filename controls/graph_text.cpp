#include "controls/graph_text.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <map>
#include <memory>

#include "controls/graph_layout.h"

namespace controls {

namespace {
// Texts are measured as a picture draws them, with its metrics rather than the screen's.
const QPaintDevice* Picture() {
    static const QImage device(1, 1, QImage::Format_RGB32);
    return &device;
}
}  // namespace

GraphText::GraphText(int pixelSize) : font_(GraphFont(pixelSize)) {
    height_ = QFontMetrics(font_).height();  // the line height the layout uses
    const QFontMetrics fm(font_, Picture());
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

QRect GraphText::Bounds(const QRect& rect, int flags, const QString& text) const {
    const Key key(flags, rect.width(), rect.height(), text);
    auto it = bounds_.find(key);
    if (it == bounds_.end()) {
        if (bounds_.size() > 1000) bounds_.clear();  // values typed during a long drag
        const QFontMetrics fm(font_, Picture());
        const QRect box = fm.boundingRect(QRect(QPoint(0, 0), rect.size()), flags, text);
        it = bounds_.emplace(key, box.marginsAdded(overhang_)).first;
    }
    return it->second.translated(rect.topLeft());
}

QRect GraphText::Draw(QPainter& p, const QRect& rect, int flags, const QString& text) const {
    p.setFont(font_);
    p.drawText(rect, flags, text);
    return Bounds(rect, flags, text);
}

}  // namespace controls
