#include "controls/slider.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSignalBlocker>
#include <QStringList>
#include <QStyleOptionSlider>
#include <algorithm>

#include "controls/control_images.h"
#include "controls/focus_ring.h"
#include "controls/slider_style.h"
#include "platform/ui/color.h"

namespace controls {

namespace {

QString ScaleText(const ScaleRow& row) {
    return QString::number(row.label);
}

int WidestLabel(const SliderScale& scale) {
    const QFontMetrics fm(Slider::ScaleFont());
    int widest = 0;
    for (const ScaleRow& row : scale.rows) widest = std::max(widest, fm.horizontalAdvance(ScaleText(row)));
    return widest;
}

}  // namespace

QFont Slider::ScaleFont() {
    // 6.4 points (9 px at 96 DPI). Where the named face is missing, a face whose Latin digits are
    // half-width like its own: a generic monospace face is wider and cuts the minus signs off.
    static const QFont font = [] {
        QFont f;
        f.setFamilies(QStringList{QStringLiteral("宋体"), QStringLiteral("Noto Sans Mono CJK SC")});
        f.setPixelSize(9);
        return f;
    }();
    return font;
}

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
    return FrameFor(o);
}

SliderFrame Slider::FrameFor(const QStyleOptionSlider& option) const {
    SliderFrame f = FrameOf(option);
    f.scaleWidth = ScaleWidth();
    return f;
}

int Slider::ScaleWidth() const {
    if (orientation() != Qt::Vertical || tickPosition() == NoTicks) return 0;
    // The labels do not depend on where the channel stands across the widget: measure them on a
    // centred one.
    QStyleOptionSlider o;
    initStyleOption(&o);
    o.rect = rect();
    return WidestLabel(ComputeScale(ScaleInput(LayoutSlider(FrameOf(o)))));
}

SliderLayout Slider::Layout() const {
    return LayoutSlider(Frame());
}

ScaleFrame Slider::ScaleInput(const SliderLayout& layout) const {
    ScaleFrame sf;
    sf.rect = rect();
    sf.channel = layout.channel;
    sf.thumb = ThumbSize(true);
    sf.minimum = minimum();
    sf.maximum = maximum();
    sf.divisor = divisor_;
    sf.ticks = TrackBarTickCount(minimum(), maximum(), tickInterval());
    return sf;
}

SliderScale Slider::Scale(const SliderLayout& layout) const {
    if (orientation() != Qt::Vertical || tickPosition() == NoTicks) return {};
    SliderScale scale = ComputeScale(ScaleInput(layout));
    KeepLabelsInside(scale, rect().left(), WidestLabel(scale), layout.thumb.left());
    return scale;
}

std::vector<Slider::ScaleLabel> Slider::ScaleLabels() const {
    return LabelsOf(Scale(Layout()));
}

std::vector<Slider::ScaleLabel> Slider::LabelsOf(const SliderScale& scale) {
    const QFontMetrics fm(ScaleFont());
    const int h = fm.height();
    std::vector<ScaleLabel> labels;
    for (const ScaleRow& row : scale.rows) {
        const QString text = ScaleText(row);
        const int w = fm.horizontalAdvance(text);
        const int top = static_cast<int>(row.y - static_cast<float>(h / 2));
        labels.push_back({text, QRect(scale.labelRight - w, top, w, h)});
    }
    return labels;
}

void Slider::paintEvent(QPaintEvent*) {
    const SliderFrame frame = Frame();
    const SliderLayout layout = LayoutSlider(frame);
    const bool enabled = isEnabled();
    const QImage& thumb = frame.vertical ? VerticalThumbImage() : HorizontalThumbImage(enabled);

    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (frame.vertical) {
        const SliderScale scale = Scale(layout);
        p.setFont(ScaleFont());
        p.setPen(Qt::black);
        for (const ScaleLabel& label : LabelsOf(scale))
            p.drawText(label.rect, Qt::AlignRight | Qt::AlignTop, label.text);
        for (const ScaleRow& row : scale.rows) {
            const int y = static_cast<int>(row.y);
            if (row.tickRight > row.tickLeft) p.drawLine(row.tickLeft, y, row.tickRight - 1, y);
        }
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
    if (hasFocus()) DrawFocusRing(p, layout.thumb, palette());
}

}  // namespace controls
