#include "controls/double_label.h"

#include <QPainter>

#include "platform/ui/color.h"

namespace controls {

QColor DoubleLabelStripColor() {
    return win::ColorRef(0xDCDCDC);
}

void PaintDoubleLabel(QPainter& p, const QRect& rect, const QString& caption, const QString& value) {
    p.fillRect(rect, DoubleLabelStripColor());
    p.setPen(Qt::black);
    p.drawText(rect, Qt::AlignLeft | Qt::AlignTop, caption);
    p.drawText(rect, Qt::AlignRight | Qt::AlignTop, value);
}

DoubleLabel::DoubleLabel(QWidget* parent) : QLabel(parent) {}

void DoubleLabel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void DoubleLabel::SetValue(const QString& value) {
    value_ = value;
    update();
}

void DoubleLabel::paintEvent(QPaintEvent* event) {
    if (caption_.isEmpty() && value_.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setFont(font());
    PaintDoubleLabel(p, rect(), caption_, value_);
}

}  // namespace controls
