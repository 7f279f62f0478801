#include "controls/focus_ring.h"

#include <QPainter>

namespace controls {

QColor FocusRingColor(const QPalette& palette) {
    return palette.color(QPalette::Active, QPalette::Highlight);
}

void DrawFocusRing(QPainter& p, const QRect& r, const QPalette& palette) {
    if (r.width() < 2 || r.height() < 2) return;
    const QColor c = FocusRingColor(palette);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
    p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
}

}  // namespace controls
