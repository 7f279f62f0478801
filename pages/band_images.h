#pragma once
// Our own images for the band controls: 13 x 13 type buttons (P, LS, HS; green when selected,
// grey when not) and 10 x 20 Q arrows.

#include <QColor>
#include <QPixmap>

constexpr int kTypeImageSize = 13;
constexpr int kArrowWidth = 10;
constexpr int kArrowHeight = 20;

// Face colours of a type button.
QColor TypeImageFace(bool selected);

// type 1 peaking, 2 low shelf, 3 high shelf.
QPixmap TypeButtonImage(int type, bool selected);
// The Q minus (left) or plus (right) arrow.
QPixmap QArrowImage(bool plus);
