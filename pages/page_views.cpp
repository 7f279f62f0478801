#include "pages/page_views.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

namespace pageview {
namespace {

class ValueLabel : public QWidget {
  public:
    explicit ValueLabel(QWidget* parent)
        : QWidget(parent), caption_(new QLabel(this)), value_(new QLabel(this)) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(caption_);
        row->addStretch(1);
        row->addWidget(value_);
        value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    void Show(const QString& caption, const QString& value) {
        caption_->setText(caption);
        value_->setText(value);
    }
    void SetColor(QColor c) {
        for (QLabel* l : {caption_, value_}) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, c);
            l->setPalette(p);
        }
    }

  private:
    QLabel* caption_;
    QLabel* value_;
};

}  // namespace

QAbstractSlider* NewSlider(QWidget* parent, Qt::Orientation orientation) {
    return new QSlider(orientation, parent);
}

QWidget* NewValueLabel(QWidget* parent) {
    return new ValueLabel(parent);
}

void ShowValueLabel(QWidget* label, const QString& caption, const QString& value) {
    if (auto* v = dynamic_cast<ValueLabel*>(label)) v->Show(caption, value);
}

void SetValueLabelColor(QWidget* label, QColor text) {
    if (auto* v = dynamic_cast<ValueLabel*>(label)) v->SetColor(text);
}

}  // namespace pageview
