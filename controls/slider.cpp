#include "controls/slider.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

#include "controls/control_images.h"
#include "controls/slider_style.h"
#include "platform/ui/color.h"

namespace controls {

namespace {

// The scale's labels: 6.4 points (9 px at 96 DPI).
const QFont& ScaleFont() {
    static const QFont font = [] {
        QFont f(QStringLiteral("宋体"));
        f.setStyleHint(QFont::Monospace);
        f.setPixelSize(9);
        return f;
    }();
    return font;
}

void PaintScale(QPainter& p, const SliderScale& scale) {
    p.setFont(ScaleFont());
    p.setPen(Qt::black);
    const QFontMetrics fm(ScaleFont());
    for (const ScaleRow& row : scale.rows) {
        const QString text = QString::number(row.label);
        const int w = fm.horizontalAdvance(text);
        const int h = fm.height();
        const int top = static_cast<int>(row.y - static_cast<float>(h / 2));
        p.drawText(QRect(scale.labelRight - w, top, w, h), Qt::AlignRight | Qt::AlignTop, text);
        const int y = static_cast<int>(row.y);
        if (row.tickRight > row.tickLeft) p.drawLine(row.tickLeft, y, row.tickRight - 1, y);
    }
}

}  // namespace

QColor DisabledChannelColor() {
    return win::ColorRef(0xDBCDBF);
}

Slider::Slider(QWidget* parent) : Slider(Qt::Horizontal, parent) {}

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {
    setStyle(SliderStyle::Shared());
    setOrientation(orientation);
}

void Slider::setOrientation(Qt::Orientation orientation) {
    QSlider::setOrientation(orientation);
    const bool vertical = orientation == Qt::Vertical;
    setInvertedAppearance(vertical);
    setInvertedControls(vertical);
}

void Slider::SetDivisor(int divisor) {
    divisor_ = divisor;
    update();
}

void Slider::SetPosSilently(int position) {
    const QSignalBlocker block(this);
    setValue(position);
    update();
}

void Slider::SetRangeSilently(int minimum, int maximum) {
    const QSignalBlocker block(this);
    setRange(minimum, maximum);
    update();
}

SliderFrame Slider::Frame() const {
    QStyleOptionSlider o;
    initStyleOption(&o);
    o.rect = rect();
    return FrameOf(o);
}

SliderLayout Slider::Layout() const {
    return LayoutSlider(Frame());
}

void Slider::paintEvent(QPaintEvent*) {
    const SliderFrame frame = Frame();
    const SliderLayout layout = LayoutSlider(frame);
    const bool enabled = isEnabled();
    const QImage& thumb = frame.vertical ? VerticalThumbImage() : HorizontalThumbImage(enabled);

    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (frame.vertical && tickPosition() != NoTicks) {
        ScaleFrame sf;
        sf.rect = rect();
        sf.channel = layout.channel;
        sf.thumb = thumb.size();
        sf.minimum = minimum();
        sf.maximum = maximum();
        sf.divisor = divisor_;
        sf.ticks = TrackBarTickCount(minimum(), maximum(), tickInterval());
        PaintScale(p, ComputeScale(sf));
    }
    const QColor channel = enabled ? QColor(Qt::black) : DisabledChannelColor();
    // The channel's pixels less its four corner pixels: a round rectangle with a 4x4 corner
    // ellipse at this size, drawn exactly.
    const QRect& c = layout.channel;
    if (c.width() > 2 && c.height() > 2) {
        p.fillRect(c.adjusted(1, 0, -1, 0), channel);
        p.fillRect(c.adjusted(0, 1, 0, -1), channel);
    }
    p.drawImage(layout.thumb.topLeft(), thumb);
}

}  // namespace controls
