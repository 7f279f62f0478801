#include "pages/image_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include "controls/focus_ring.h"

ImageButton::ImageButton(const QPixmap& image, QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setFocusPolicy(Qt::ClickFocus);
    SetImage(image);
}

void ImageButton::SetImage(const QPixmap& image) {
    setIcon(QIcon(image));
    setIconSize(image.size());
}

void ImageButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    p.drawControl(QStyle::CE_PushButton, option);
    if (hasFocus()) controls::DrawFocusRing(p, rect(), palette());
}
