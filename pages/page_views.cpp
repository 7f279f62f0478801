#include "pages/page_views.h"

#include <QLineEdit>

#include "controls/double_label.h"
#include "controls/slider.h"

namespace pageview {

QAbstractSlider* NewSlider(QWidget* parent, Qt::Orientation orientation) {
    return new controls::Slider(orientation, parent);
}

void SetScaleDivisor(QAbstractSlider* slider, int divisor) {
    if (auto* s = qobject_cast<controls::Slider*>(slider)) s->SetDivisor(divisor);
}

QWidget* NewValueLabel(QWidget* parent) {
    return new controls::DoubleLabel(parent);
}

void ShowValueLabel(QWidget* label, const QString& caption, const QString& value) {
    if (auto* l = qobject_cast<controls::DoubleLabel*>(label)) {
        const bool recaptioned = l->Caption() != caption;
        l->SetCaption(caption);
        l->SetValue(value);
        if (recaptioned) l->FitHeight();  // a caption in another script may stand taller
    }
}

void SetValueLabelColor(QWidget* label, QColor text) {
    if (!label) return;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
}

void ShowEditText(QLineEdit* edit, const QString& text) {
    if (!edit) return;
    edit->setText(text);
    edit->setCursorPosition(0);
}

void SelectWholeText(QLineEdit* edit) {
    if (!edit) return;
    const int length = static_cast<int>(edit->text().size());
    edit->setSelection(length, -length);
}

}  // namespace pageview
