#pragma once
// The bitmaps of the owner-drawn controls, drawn once in code and shared by every instance.

#include <QImage>

namespace controls {

// 15x13 thumb of a horizontal slider; the disabled one is greyed.
const QImage& HorizontalThumbImage(bool enabled);
// 15x19 thumb of a vertical slider, either state; its middle row marks the value.
const QImage& VerticalThumbImage();
// Background of a tab item: 96x24 when selected, 98x26 otherwise.
const QImage& TabBackgroundImage(bool selected);

}  // namespace controls
