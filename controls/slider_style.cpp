#include "controls/slider_style.h"

#include <QApplication>
#include <QPointer>
#include <QStyleOptionSlider>

#include "controls/slider.h"
#include "controls/slider_geometry.h"

namespace controls {

SliderFrame FrameOf(const QStyleOptionSlider& o) {
    SliderFrame f;
    f.rect = o.rect;
    f.vertical = o.orientation == Qt::Vertical;
    f.minimum = o.minimum;
    f.maximum = o.maximum;
    f.position = o.sliderPosition;
    f.upsideDown = o.upsideDown;
    return f;
}

namespace {

bool Vertical(const QStyleOption* option) {
    const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(option);
    return s && s->orientation == Qt::Vertical;
}

// A Slider knows its scale, which the thumb keeps clear of.
SliderFrame FrameFor(const QStyleOptionSlider& option, const QWidget* widget) {
    if (const auto* s = qobject_cast<const Slider*>(widget)) return s->FrameFor(option);
    return FrameOf(option);
}

}  // namespace

SliderStyle::SliderStyle() = default;

SliderStyle* SliderStyle::Shared() {
    static QPointer<SliderStyle> shared;
    if (!shared) {
        shared = new SliderStyle();
        shared->setParent(qApp);
    }
    return shared;
}

int SliderStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const QSize thumb = ThumbSize(Vertical(option));
    switch (metric) {
        case PM_SliderLength:
            return Vertical(option) ? thumb.height() : thumb.width();
        case PM_SliderThickness:
        case PM_SliderControlThickness:
            return Vertical(option) ? thumb.width() : thumb.height();
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect SliderStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                  const QWidget* widget) const {
    const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_Slider || !slider) return QProxyStyle::subControlRect(control, option, sub, widget);
    const SliderLayout layout = LayoutSlider(FrameFor(*slider, widget));
    switch (sub) {
        case SC_SliderGroove:
            return layout.groove;
        case SC_SliderHandle:
            return layout.thumb;
        default:
            return QRect();
    }
}

QStyle::SubControl SliderStyle::hitTestComplexControl(ComplexControl control,
                                                      const QStyleOptionComplex* option, const QPoint& pos,
                                                      const QWidget* widget) const {
    const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_Slider || !slider)
        return QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    const SliderLayout layout = LayoutSlider(FrameFor(*slider, widget));
    if (layout.thumb.contains(pos)) return SC_SliderHandle;
    if (layout.groove.contains(pos)) return SC_SliderGroove;
    return SC_None;
}

int SliderStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    switch (hint) {
        case SH_Slider_AbsoluteSetButtons:
            return Qt::NoButton;  // a track bar never jumps to the click
        case SH_Slider_PageSetButtons:
            return Qt::LeftButton;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

}  // namespace controls
