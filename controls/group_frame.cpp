#include "controls/group_frame.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>

namespace controls {

namespace {

// The first row (or column) from the given edge whose middle pixel the frame paints.
int FirstPainted(const QImage& image, bool rows) {
    const int length = rows ? image.height() : image.width();
    for (int i = 0; i < length; ++i) {
        const QRgb pixel = rows ? image.pixel(image.width() / 2, i) : image.pixel(i, image.height() / 2);
        if (qAlpha(pixel) != 0) return i;
    }
    return 0;
}

}  // namespace

GroupFrame::GroupFrame(QWidget* parent) : QGroupBox(parent) {}

int GroupFrame::TitleRoom() const {
    if (titleRoom_ >= 0) return titleRoom_;
    // Measured once on a small transparent surface, so any style's margins are taken as they are.
    QImage probe(48, 48, QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    {
        QPainter p(&probe);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        option.rect = probe.rect();
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
    }
    titleRoom_ = std::max(0, FirstPainted(probe, true) - FirstPainted(probe, false));
    return titleRoom_;
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.rect.setTop(option.rect.top() - TitleRoom());
    p.drawComplexControl(QStyle::CC_GroupBox, option);
}

void GroupFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) titleRoom_ = -1;
    QGroupBox::changeEvent(event);
}

}  // namespace controls
