#include "pages/band_images.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

#include "controls/band_types.h"

QColor TypeImageFace(bool selected) {
    return selected ? QColor(40, 170, 60) : QColor(170, 170, 170);
}

QPixmap TypeButtonImage(int type, bool selected) {
    static const char* const kLetters[] = {"P", "LS", "HS"};
    QImage img(kTypeImageSize, kTypeImageSize, QImage::Format_RGB32);
    img.fill(TypeImageFace(selected));
    QPainter p(&img);
    p.setPen(QColor(80, 80, 80));
    p.drawRect(0, 0, kTypeImageSize - 1, kTypeImageSize - 1);
    if (type >= controls::kTypePeaking && type <= controls::kTypeHighShelf) {
        QFont f;
        f.setPixelSize(type == controls::kTypePeaking ? 10 : 7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(selected ? Qt::white : QColor(60, 60, 60));
        p.drawText(QRect(1, 1, kTypeImageSize - 2, kTypeImageSize - 2), Qt::AlignCenter, kLetters[type - 1]);
    }
    p.end();
    return QPixmap::fromImage(img);
}

QPixmap QArrowImage(bool plus) {
    QImage img(kArrowWidth, kArrowHeight, QImage::Format_RGB32);
    img.fill(QColor(225, 225, 225));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    const int mid = kArrowHeight / 2;
    const QPolygon arrow = plus ? QPolygon({QPoint(2, mid - 5), QPoint(8, mid), QPoint(2, mid + 5)})
                                : QPolygon({QPoint(8, mid - 5), QPoint(2, mid), QPoint(8, mid + 5)});
    p.drawPolygon(arrow);
    p.end();
    return QPixmap::fromImage(img);
}
