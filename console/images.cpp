#include "console/images.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "platform/lang.h"

namespace console {
namespace {

QImage Blank(QSize size, QColor fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

}  // namespace

QImage AppIconImage(int size) {
    QImage image = Blank(QSize(size, size), Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x3A, 0x5F));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    // Five equaliser bars.
    const int heights[] = {10, 18, 24, 14, 20};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i == 2 ? QColor(0xFF, 0xC8, 0x3C) : QColor(0x6C, 0xD0, 0xFF));
        p.drawRoundedRect(QRectF(5 + i * 4.6, 27 - heights[i], 3.2, heights[i]), 1, 1);
    }
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}

int StatusLampBitmapId(int language, bool connected) {
    static const int kIds[5][2] = {{194, 195}, {204, 205}, {206, 207}, {210, 209}, {212, 211}};
    return kIds[lang::Clamp(language)][connected ? 1 : 0];
}

const char* StatusLampWord(int language, bool connected) {
    static const char* const kOn[5] = {"已连接", "Online", "ออนไลน์", "Đã nối", "Terhubung"};
    static const char* const kOff[5] = {"未连接", "Offline", "ออฟไลน์", "Chưa nối", "Terputus"};
    return lang::Pick(connected ? kOn : kOff, language);
}

QImage StatusLamp(int language, bool connected) {
    QImage image = Blank(kStatusLampSize, QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kStatusLampSize.width() - 1, kStatusLampSize.height() - 1), 4, 4);

    const QColor light = QColor::fromRgb(connected ? kLampOnRgb : kLampOffRgb);
    QRadialGradient glow(QPointF(kLampLightX - 2, kLampLightY - 2), 9);
    glow.setColorAt(0, light.lighter(160));
    glow.setColorAt(0.35, light);
    glow.setColorAt(1, light.darker(140));
    p.setPen(QPen(light.darker(170), 1));
    p.setBrush(glow);
    p.drawEllipse(QPointF(kLampLightX, kLampLightY), 8, 8);

    // The word, in the largest font up to 12 px that fits beside the light.
    const QString word = QString::fromUtf8(StatusLampWord(language, connected));
    const QRect textRect(kLampLightX + 12, 2, kStatusLampSize.width() - kLampLightX - 15,
                         kStatusLampSize.height() - 4);
    QFont font;
    for (int px = 12; px >= 7; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(word) <= textRect.width()) break;
    }
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignHCenter, word);
    return image;
}

}  // namespace console
