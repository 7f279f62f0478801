#pragma once
// Mouse and keyboard geometry of the owner-drawn Slider: groove, handle and slider length come from
// LayoutSlider, so QSlider's hit tests and drags follow the painted channel and thumb. A press on
// the thumb drags it; a left press elsewhere pages towards the click, as on a track bar.

#include <QProxyStyle>

#include "controls/slider_geometry.h"

class QStyleOptionSlider;

namespace controls {

class SliderStyle : public QProxyStyle {
    Q_OBJECT
  public:
    SliderStyle();

    // One instance for every Slider, owned by the application object.
    static SliderStyle* Shared();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     const QPoint& pos, const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// The painted geometry's input, read from a slider's style option.
SliderFrame FrameOf(const QStyleOptionSlider& option);

}  // namespace controls
