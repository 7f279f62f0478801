#include "controls/double_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/text_height.h"
#include "platform/ui/color.h"

namespace controls {

namespace {

constexpr int kTextGap = 4;  // between a caption and the value on its line

}  // namespace

QColor DoubleLabelStripColor() {
    return win::ColorRef(0xDCDCDC);
}

int WidestText(const QFont& font, const QStringList& values) {
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& v : values) widest = std::max(widest, fm.horizontalAdvance(v));
    return widest;
}

namespace {

// Where the texts go across the strip: on one line or two, and the room the caption has.
struct Widths {
    int value = 0;
    int caption = 0;
    bool oneLine = true;
    int captionRoom = 0;
};

// `captionWidth` is the caption's width when known already (-1: measure it).
Widths MeasureWidths(const QFontMetrics& fm, const QRect& rect, const QString& caption, const QString& value,
                     int valueRoom, int captionWidth = -1) {
    Widths w;
    w.value = value.isEmpty() ? 0 : fm.horizontalAdvance(value);
    w.caption = captionWidth >= 0 ? captionWidth : fm.horizontalAdvance(caption);
    const int room = std::max(w.value, valueRoom);
    w.oneLine = caption.isEmpty() || value.isEmpty() || w.caption + kTextGap + room <= rect.width();
    w.captionRoom =
        w.oneLine && !value.isEmpty() ? std::max(0, rect.width() - w.value - kTextGap) : rect.width();
    return w;
}

}  // namespace

DoubleLabelLayout LayOutDoubleLabel(const QFont& font, const QRect& rect, const QString& caption,
                                    const QString& value, int valueRoom) {
    const QFontMetrics fm(font);
    DoubleLabelLayout out;
    const Widths w = MeasureWidths(fm, rect, caption, value, valueRoom);
    const int valueWidth = w.value;
    const bool oneLine = w.oneLine;
    out.lines = oneLine ? 1 : 2;
    out.caption = caption;
    if (w.caption > w.captionRoom) {
        out.caption = fm.elidedText(caption, Qt::ElideRight, w.captionRoom);
        out.shortened = true;
    }
    const int captionHeight = TextLineHeight(font, caption);
    const int valueHeight = TextLineHeight(font, value);
    const int drawnWidth = fm.horizontalAdvance(out.caption);
    if (oneLine) {
        out.height = std::max(captionHeight, valueHeight);
        out.valueRect = QRect(rect.right() + 1 - valueWidth, rect.top(), valueWidth, rect.height());
        out.captionRect = QRect(rect.left(), rect.top(), drawnWidth, rect.height());
    } else {
        // The value keeps the bottom line, next to the slider below the strip.
        out.height = captionHeight + valueHeight;
        out.valueRect =
            QRect(rect.right() + 1 - valueWidth, rect.bottom() + 1 - valueHeight, valueWidth, valueHeight);
        out.captionRect =
            QRect(rect.left(), rect.top(), drawnWidth, std::max(0, rect.height() - valueHeight));
    }
    return out;
}

void PaintDoubleLabel(QPainter& p, const QRect& rect, const QString& caption, const QString& value,
                      int valueRoom) {
    p.fillRect(rect, DoubleLabelStripColor());
    p.setPen(Qt::black);
    const DoubleLabelLayout layout = LayOutDoubleLabel(p.font(), rect, caption, value, valueRoom);
    const int captionAscent = TextLineAscent(p.font(), layout.caption);
    const int valueAscent = TextLineAscent(p.font(), value);
    if (layout.lines == 1) {
        // Both texts on one baseline, under the taller script's ascent.
        const int baseline = rect.top() + std::max(captionAscent, valueAscent);
        p.drawText(QPoint(layout.captionRect.left(), baseline), layout.caption);
        p.drawText(QPoint(layout.valueRect.left(), baseline), value);
        return;
    }
    p.drawText(QPoint(layout.captionRect.left(), rect.top() + captionAscent), layout.caption);
    p.drawText(QPoint(layout.valueRect.left(), layout.valueRect.top() + valueAscent), value);
}

DoubleLabel::DoubleLabel(QWidget* parent) : QLabel(parent) {}

void DoubleLabel::SetCaption(const QString& caption) {
    SetTexts(caption, value_, samples_);
}

void DoubleLabel::SetValue(const QString& value) {
    SetTexts(caption_, value, samples_);
}

void DoubleLabel::SetValueSamples(const QStringList& values) {
    SetTexts(caption_, value_, values);
}

void DoubleLabel::SetTexts(const QString& caption, const QString& value, const QStringList& samples) {
    if (caption == caption_ && value == value_ && samples == samples_) return;
    if (samples != samples_) valueRoom_ = -1;
    if (caption != caption_) captionWidth_ = -1;
    caption_ = caption;
    value_ = value;
    samples_ = samples;
    TextsChanged();
}

void DoubleLabel::TextsChanged() {
    UpdateToolTip();
    update();
}

int DoubleLabel::ValueRoom() const {
    if (valueRoom_ < 0) valueRoom_ = WidestText(font(), samples_);
    return valueRoom_;
}

DoubleLabelLayout DoubleLabel::Layout() const {
    return LayOutDoubleLabel(font(), rect(), caption_, value_, ValueRoom());
}

int DoubleLabel::HeightFor(const QString& caption) const {
    const QString value = value_.isEmpty() && !samples_.isEmpty() ? samples_.front() : value_;
    return LayOutDoubleLabel(font(), rect(), caption, value, ValueRoom()).height;
}

void DoubleLabel::FitHeight() {
    if (baseHeight_ == 0) baseHeight_ = height();
    const int needed = std::max(baseHeight_, Layout().height);
    if (needed == height()) return;
    QRect r = geometry();
    r.setTop(r.bottom() + 1 - needed);
    setGeometry(r);
}

void DoubleLabel::UpdateToolTip() {
    // Whether the caption is cut needs its widths only, not the whole layout's line heights.
    bool cut = false;
    if (!caption_.isEmpty()) {
        const QFontMetrics fm(font());
        // Mostly the value alone changes: the caption is measured once per text and font.
        if (captionWidth_ < 0) captionWidth_ = fm.horizontalAdvance(caption_);
        const Widths w = MeasureWidths(fm, rect(), caption_, value_, ValueRoom(), captionWidth_);
        cut = w.caption > w.captionRoom;
    }
    setToolTip(cut ? caption_ : QString());
}

void DoubleLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateToolTip();
}

void DoubleLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // Another font measures every text anew.
    if (event->type() == QEvent::FontChange) {
        valueRoom_ = -1;
        captionWidth_ = -1;
        TextsChanged();
    }
}

void DoubleLabel::paintEvent(QPaintEvent* event) {
    if (caption_.isEmpty() && value_.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setFont(font());
    PaintDoubleLabel(p, rect(), caption_, value_, ValueRoom());
}

}  // namespace controls
