#include "controls/double_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/text_height.h"
#include "platform/ui/color.h"

namespace controls {

namespace {

constexpr int kTextGap = 4;  // between a shortened caption and its value

}  // namespace

QColor DoubleLabelStripColor() {
    return win::ColorRef(0xDCDCDC);
}

DoubleLabelLayout LayOutDoubleLabel(const QFont& font, const QRect& rect, const QString& caption,
                                    const QString& value) {
    const QFontMetrics fm(font);
    DoubleLabelLayout out;
    const int valueWidth = value.isEmpty() ? 0 : fm.horizontalAdvance(value);
    out.valueRect = QRect(rect.right() + 1 - valueWidth, rect.top(), valueWidth, rect.height());
    const int room = value.isEmpty() ? rect.width() : std::max(0, rect.width() - valueWidth - kTextGap);
    out.caption = caption;
    if (fm.horizontalAdvance(caption) > room) {
        out.caption = fm.elidedText(caption, Qt::ElideRight, room);
        out.shortened = true;
    }
    out.captionRect = QRect(rect.left(), rect.top(), fm.horizontalAdvance(out.caption), rect.height());
    return out;
}

void PaintDoubleLabel(QPainter& p, const QRect& rect, const QString& caption, const QString& value) {
    p.fillRect(rect, DoubleLabelStripColor());
    p.setPen(Qt::black);
    const DoubleLabelLayout layout = LayOutDoubleLabel(p.font(), rect, caption, value);
    // Both texts on one baseline, under the taller script's ascent.
    const int baseline =
        rect.top() + std::max(TextLineAscent(p.font(), layout.caption), TextLineAscent(p.font(), value));
    p.drawText(QPoint(layout.captionRect.left(), baseline), layout.caption);
    p.drawText(QPoint(layout.valueRect.left(), baseline), value);
}

DoubleLabel::DoubleLabel(QWidget* parent) : QLabel(parent) {}

void DoubleLabel::SetCaption(const QString& caption) {
    caption_ = caption;
    UpdateToolTip();
    update();
}

void DoubleLabel::SetValue(const QString& value) {
    value_ = value;
    UpdateToolTip();
    update();
}

DoubleLabelLayout DoubleLabel::Layout() const {
    return LayOutDoubleLabel(font(), rect(), caption_, value_);
}

void DoubleLabel::FitHeight() {
    if (baseHeight_ == 0) baseHeight_ = height();
    const int needed =
        std::max({baseHeight_, TextLineHeight(font(), caption_), TextLineHeight(font(), value_)});
    if (needed == height()) return;
    QRect r = geometry();
    r.setTop(r.bottom() + 1 - needed);
    setGeometry(r);
}

void DoubleLabel::UpdateToolTip() {
    const bool cut = !caption_.isEmpty() && Layout().shortened;
    setToolTip(cut ? caption_ : QString());
}

void DoubleLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateToolTip();
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
