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
    static const QImage* device = new QImage(1, 1, QImage::Format_RGB32);
    return device;
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
    // Never destroyed: the application object (and Qt's font cache with it) may go first at exit.
    static auto* texts = new std::map<int, std::unique_ptr<GraphText>>;
    std::unique_ptr<GraphText>& text = (*texts)[pixelSize];
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

namespace controls {

QRect GraphText::DrawKept(QPainter& p, const QRect& rect, int flags, const QString& text) const {
    const Key key(flags, rect.width(), rect.height(), text);
    auto it = kept_.find(key);
    if (it == kept_.end()) {
        if (kept_.size() > 200) kept_.clear();
        Kept k;
        k.text.setText(text);
        k.text.setTextFormat(Qt::PlainText);
        k.text.setPerformanceHint(QStaticText::AggressiveCaching);
        k.text.prepare(QTransform(), font_);
        const QSizeF size = k.text.size();
        const double w = rect.width(), h = rect.height();
        k.at.setX(flags & Qt::AlignHCenter ? (w - size.width()) / 2
                  : flags & Qt::AlignRight ? w - size.width()
                                           : 0);
        k.at.setY(flags & Qt::AlignVCenter  ? (h - size.height()) / 2
                  : flags & Qt::AlignBottom ? h - size.height()
                                            : 0);
        // Compare both ways once, white on black (the glyph coverage), in a box placed with room
        // around it; a box the text does not fit is clipped by drawText, so it is never kept.
        if (size.width() <= w && size.height() <= h) {
            const QRect probe(QPoint(16, 16), rect.size());
            QImage a(rect.size() + QSize(32, 32), QImage::Format_RGB32), b(a.size(), QImage::Format_RGB32);
            a.fill(Qt::black);
            b.fill(Qt::black);
            QPainter pa(&a), pb(&b);
            for (QPainter* q : {&pa, &pb}) {
                q->setFont(font_);
                q->setPen(Qt::white);
            }
            pa.drawText(probe, flags, text);
            pb.drawStaticText(QPointF(probe.topLeft()) + k.at, k.text);
            pa.end();
            pb.end();
            k.same = a == b;
        }
        it = kept_.emplace(key, std::move(k)).first;
    }
    p.setFont(font_);
    if (it->second.same)
        p.drawStaticText(QPointF(rect.topLeft()) + it->second.at, it->second.text);
    else
        p.drawText(rect, flags, text);
    return Bounds(rect, flags, text);
}

}  // namespace controls
