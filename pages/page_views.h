#pragma once
// The widgets a page uses for its sliders and value labels, kept behind one seam so the owner-drawn
// controls can replace the stock ones without touching the page logic.

#include <QColor>
#include <QString>
#include <Qt>

class QAbstractSlider;
class QLineEdit;
class QWidget;

namespace pageview {

QAbstractSlider* NewSlider(QWidget* parent, Qt::Orientation orientation);
// Positions per unit of the slider's painted scale (0: no scale).
void SetScaleDivisor(QAbstractSlider* slider, int divisor);
// A two-part label: caption on the left, value on the right.
QWidget* NewValueLabel(QWidget* parent);
void ShowValueLabel(QWidget* label, const QString& caption, const QString& value);
void SetValueLabelColor(QWidget* label, QColor text);

// A band edit's value, shown from its first character (the caret at the start, so nothing scrolls it).
void ShowEditText(QLineEdit* edit, const QString& text);
// The whole text selected with the caret at its start, so it stays in view from its first character.
void SelectWholeText(QLineEdit* edit);

}  // namespace pageview
