#pragma once
// The widgets a page uses for its sliders and value labels, kept behind one seam so the owner-drawn
// controls can replace the stock ones without touching the page logic.

#include <QColor>
#include <QString>
#include <QStringList>
#include <Qt>

class QAbstractSlider;
class QLineEdit;
class QRect;
class QWidget;

namespace pageview {

QAbstractSlider* NewSlider(QWidget* parent, Qt::Orientation orientation);
// Positions per unit of the slider's painted scale (0: no scale).
void SetScaleDivisor(QAbstractSlider* slider, int divisor);
// A two-part label: caption on the left, value on the right (or the caption on a line above the
// value where the two do not fit side by side). `samples` are the widest values it may show.
QWidget* NewValueLabel(QWidget* parent);
void ShowValueLabel(QWidget* label, const QString& caption, const QString& value, const QStringList& samples);
// How tall the label must be for `caption` beside its widest value (its height when it is no label
// of ours).
int ValueLabelHeightFor(const QWidget* label, const QString& caption);
// Grows (or shrinks) the label upwards from its bottom edge to what its texts need now.
void FitValueLabel(QWidget* label);
void SetValueLabelColor(QWidget* label, QColor text);

// A band edit's value, shown from its first character (the caret at the start, so nothing scrolls it).
void ShowEditText(QLineEdit* edit, const QString& text);
// The whole text selected with the caret at its start, so it stays in view from its first character.
void SelectWholeText(QLineEdit* edit);
// A group box without text framing `inner` (a slider and its label) with kFrameMargin to spare on
// every side. It lies under the controls it frames and takes neither clicks nor the focus.
inline constexpr int kFrameMargin = 3;
// How far a framed value label stands in from its slider's ends, clear of the frame's sides.
inline constexpr int kFramedLabelInset = 4;
QWidget* NewGroupFrame(QWidget* parent, const QRect& inner);
void SetGroupFrameAround(QWidget* frame, const QRect& inner);

}  // namespace pageview
