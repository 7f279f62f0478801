#pragma once
// How an owner-drawn control shows that it has the keyboard focus: its outer ring of pixels (or its
// thumb's) in the palette's highlight colour, inside the rectangle so it never reaches a neighbour.

#include <QPalette>
#include <QRect>

class QPainter;

namespace controls {

QColor FocusRingColor(const QPalette& palette);
// A one-pixel ring along the inner edge of `r`.
void DrawFocusRing(QPainter& p, const QRect& r, const QPalette& palette);

}  // namespace controls
