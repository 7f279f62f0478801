#pragma once
// Slider: a QSlider painted like the console's track bars: a rounded channel, a thumb image and,
// on vertical sliders with ticks, a scale of tick lines with value labels on the left.
//
// Everything else is plain QSlider: range, value, steps, keys, wheel and signals are unchanged.
//  - A vertical Slider keeps its minimum at the top and Up/PageUp move towards the minimum, as a
//    track bar does (so on a band gain slider, position -10 x gain, Up raises the gain). Use this
//    class's setOrientation, not QSlider's, to switch orientation.
//  - The scale appears when tickPosition() != NoTicks, Divisor() > 0 and the ticks (every
//    tickInterval() positions; 0 means every position) give at least two rows a pixel or more apart.
//    Labels read -(position / Divisor()) from the top: range -120..240, ticks every 40, divisor 10
//    gives 12, 8, ... -24.
//  - Notices: actionTriggered / sliderMoved come only from the user. valueChanged and rangeChanged
//    also fire for changes made in code; set values from code with SetPosSilently /
//    SetRangeSilently (or a QSignalBlocker).
//  - With the keyboard focus the thumb's outer ring of pixels is drawn in the highlight colour.

#include <QSlider>
#include <vector>

class QStyleOptionSlider;

#include "controls/slider_geometry.h"

namespace controls {

class Slider : public QSlider {
    Q_OBJECT
  public:
    explicit Slider(QWidget* parent = nullptr);
    explicit Slider(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setOrientation(Qt::Orientation orientation);

    // Positions per label unit of the scale; 0 (the default) draws no scale.
    int Divisor() const { return divisor_; }
    void SetDivisor(int divisor);

    // Set from code: clamped to the range, repainted, nobody notified.
    void SetPosSilently(int position);
    void SetRangeSilently(int minimum, int maximum);

    // Where the channel and thumb are painted now (the mouse uses the same geometry).
    SliderLayout Layout() const;

    // The scale as it is painted now: each label's text and the rectangle it is drawn in (empty
    // when the slider shows no scale).
    struct ScaleLabel {
        QString text;
        QRect rect;
    };
    std::vector<ScaleLabel> ScaleLabels() const;
    // The scale's font: the face the console was drawn for, else one with its narrow digits.
    static QFont ScaleFont();
    // Width of the scale's widest label; 0 without a scale. The thumb keeps right of it.
    int ScaleWidth() const;
    // The painted geometry's input, for this slider's style option.
    SliderFrame FrameFor(const QStyleOptionSlider& option) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SliderFrame Frame() const;
    ScaleFrame ScaleInput(const SliderLayout& layout) const;
    SliderScale Scale(const SliderLayout& layout) const;
    static std::vector<ScaleLabel> LabelsOf(const SliderScale& scale);

    int divisor_ = 0;
};

// COLOR_INACTIVECAPTION of the classic scheme: the channel of a disabled slider.
QColor DisabledChannelColor();

}  // namespace controls
