#include "pages/page_views.h"

#include <QLineEdit>

#include "controls/double_label.h"
#include "controls/group_frame.h"
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

void ShowValueLabel(QWidget* label, const QString& caption, const QString& value,
                    const QStringList& samples) {
    if (auto* l = qobject_cast<controls::DoubleLabel*>(label)) {
        const bool refit = l->Caption() != caption || l->ValueSamples() != samples;
        l->SetTexts(caption, value, samples);
        // A caption in another script may stand taller, or need a line of its own.
        if (refit) l->FitHeight();
    }
}

int ValueLabelHeightFor(const QWidget* label, const QString& caption) {
    if (const auto* l = qobject_cast<const controls::DoubleLabel*>(label)) return l->HeightFor(caption);
    return label ? label->height() : 0;
}

void FitValueLabel(QWidget* label) {
    if (auto* l = qobject_cast<controls::DoubleLabel*>(label)) l->FitHeight();
}

void SetValueLabelColor(QWidget* label, QColor text) {
    if (!label) return;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
}

void ShowEditText(QLineEdit* edit, const QString& text) {
    if (!edit) return;
    // The text it shows, untouched since it was set: setText would only lay it out again. An edit
    // the user typed in, or can undo, is set anew, which clears both.
    const bool same = edit->text() == text && !edit->isModified() && !edit->isUndoAvailable() &&
                      !edit->isRedoAvailable();
    if (!same) edit->setText(text);
    edit->setCursorPosition(0);  // also clears a selection
}

void SelectWholeText(QLineEdit* edit) {
    if (!edit) return;
    const int length = static_cast<int>(edit->text().size());
    edit->setSelection(length, -length);
}

QWidget* NewGroupFrame(QWidget* parent, const QRect& inner) {
    auto* frame = new controls::GroupFrame(parent);
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetGroupFrameAround(frame, inner);
    frame->lower();
    return frame;
}

void SetGroupFrameAround(QWidget* frame, const QRect& inner) {
    if (frame) frame->setGeometry(inner.adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin));
}

}  // namespace pageview
