#include "console/status_lamp_button.h"

#include <QPainter>

namespace console {

StatusLampButton::StatusLampButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void StatusLampButton::SetImage(const QImage& image, int bitmapId) {
    image_ = image;
    bitmapId_ = bitmapId;
    if (!image_.isNull()) resize(image_.size());
    update();
}

void StatusLampButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

}  // namespace console
