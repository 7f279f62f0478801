#include "controls/control_images.h"

#include <QLinearGradient>
#include <QPainter>

#include "platform/ui/color.h"

namespace controls {

namespace {

using win::ColorRef;
using win::Rgb;

// A raised button face: a vertical gradient inside a one-pixel frame with a lighter inner top edge.
QImage Face(QSize size, std::uint32_t top, std::uint32_t bottom, std::uint32_t frame, std::uint32_t light) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, ColorRef(top));
    g.setColorAt(1, ColorRef(bottom));
    p.fillRect(img.rect(), g);
    p.setPen(ColorRef(light));
    p.drawLine(1, 1, size.width() - 2, 1);
    p.setPen(ColorRef(frame));
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return img;
}

QImage HorizontalThumb(bool enabled) {
    QImage img =
        enabled
            ? Face({15, 13}, Rgb(120, 170, 230), Rgb(40, 90, 170), Rgb(20, 45, 90), Rgb(190, 220, 250))
            : Face({15, 13}, Rgb(225, 225, 225), Rgb(175, 175, 175), Rgb(130, 130, 130), Rgb(240, 240, 240));
    // A grip line down the middle.
    QPainter p(&img);
    p.setPen(ColorRef(enabled ? Rgb(230, 240, 255) : Rgb(250, 250, 250)));
    p.drawLine(7, 3, 7, 9);
    return img;
}

QImage VerticalThumb() {
    QImage img = Face({15, 19}, Rgb(110, 110, 118), Rgb(40, 40, 46), Rgb(10, 10, 12), Rgb(170, 170, 180));
    QPainter p(&img);
    p.setPen(ColorRef(Rgb(255, 255, 255)));
    p.drawLine(2, 9, 12, 9);
    return img;
}

QImage TabBackground(bool selected) {
    if (selected)
        return Face({96, 24}, Rgb(255, 255, 255), Rgb(200, 222, 245), Rgb(60, 120, 200), Rgb(255, 255, 255));
    return Face({98, 26}, Rgb(236, 236, 236), Rgb(196, 196, 200), Rgb(140, 140, 146), Rgb(250, 250, 250));
}

}  // namespace

const QImage& HorizontalThumbImage(bool enabled) {
    static const QImage on = HorizontalThumb(true);
    static const QImage off = HorizontalThumb(false);
    return enabled ? on : off;
}

const QImage& VerticalThumbImage() {
    static const QImage img = VerticalThumb();
    return img;
}

const QImage& TabBackgroundImage(bool selected) {
    static const QImage sel = TabBackground(true);
    static const QImage plain = TabBackground(false);
    return selected ? sel : plain;
}

}  // namespace controls
