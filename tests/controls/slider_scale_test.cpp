// A vertical slider's thumb against its scale: at every position and width the thumb meets no
// label, the labels are drawn whole, and the mouse still finds the thumb where it is painted.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "controls/control_images.h"
#include "controls/slider.h"
#include "widget_test_support.h"

namespace {

using namespace controls;
using namespace controls_test;

struct ScaleKind {
    const char* name;
    int minimum, maximum, tick, divisor;
};
// The band gain slider (12 .. -24 dB), a level slider (0 .. -84) and one with three-digit labels.
const ScaleKind kKinds[] = {
    {"gain", -120, 240, 40, 10}, {"level", 0, 840, 120, 10}, {"three digits", -1000, 0, 250, 10}};

std::unique_ptr<Slider> MakeScaled(const ScaleKind& kind, int width) {
    App();
    auto s = std::make_unique<Slider>(Qt::Vertical);
    s->resize(width, 130);
    s->SetRangeSilently(kind.minimum, kind.maximum);
    s->setTickInterval(kind.tick);
    s->setTickPosition(QSlider::TicksBothSides);
    s->SetDivisor(kind.divisor);
    return s;
}

TEST(SliderThumbAndScale, ThumbMeetsNoLabelAtAnyPosition) {
    for (const ScaleKind& kind : kKinds)
        for (int width : {24, 30, 36, 40, 42, 44, 48, 64}) {
            auto s = MakeScaled(kind, width);
            const QFontMetrics fm(Slider::ScaleFont());
            for (int pos = kind.minimum; pos <= kind.maximum; ++pos) {
                s->SetPosSilently(pos);
                const QRect thumb = s->Layout().thumb;
                const auto labels = s->ScaleLabels();
                ASSERT_GE(labels.size(), 2u) << kind.name << " width " << width;
                for (const auto& label : labels) {
                    ASSERT_FALSE(label.rect.intersects(thumb))
                        << kind.name << " width " << width << " position " << pos << ": the thumb covers \""
                        << label.text.toStdString() << "\"";
                    ASSERT_TRUE(s->rect().contains(thumb)) << kind.name << " width " << width;
                    // Wide enough for the widest label, a free column and the thumb: no label cut.
                    if (width >= fm.horizontalAdvance(label.text) + 1 + thumb.width()) {
                        ASSERT_GE(label.rect.left(), 0) << kind.name << " width " << width;
                    }
                }
            }
        }
}

QImage LabelImage(const QString& text, QSize size, QRgb background) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setFont(Slider::ScaleFont());
    p.setPen(Qt::black);
    p.drawText(img.rect(), Qt::AlignRight | Qt::AlignTop, text);
    return img;
}

// With the thumb standing on each label's own row in turn, that label is painted whole and the
// thumb image is where the layout says.
TEST(SliderThumbAndScale, LabelOnTheThumbsRowIsPaintedWhole) {
    for (const ScaleKind& kind : kKinds)
        for (int width : {42, 64}) {
            auto s = MakeScaled(kind, width);
            const QRgb face = Rgb(s->palette().color(QPalette::Window));
            const int rows = static_cast<int>(s->ScaleLabels().size());
            for (int k = 0; k < rows; ++k) {
                s->SetPosSilently(kind.minimum + k * kind.tick);
                const QImage img = Render(*s);
                const auto label = s->ScaleLabels()[static_cast<std::size_t>(k)];
                const QRect thumb = s->Layout().thumb;
                const std::string what = std::string(kind.name) + " width " + std::to_string(width) + " \"" +
                                         label.text.toStdString() + "\"";
                ASSERT_TRUE(label.rect.top() <= thumb.bottom() && thumb.top() <= label.rect.bottom())
                    << what << ": the thumb is not on the label's row";
                EXPECT_TRUE(BlockAt(img, VerticalThumbImage(), thumb.topLeft())) << what;
                EXPECT_TRUE(
                    BlockAt(img, LabelImage(label.text, label.rect.size(), face), label.rect.topLeft()))
                    << what << " is not painted whole";
            }
        }
}

// The channel moves right to make room for the labels; a press on the painted thumb still grabs it.
TEST(SliderThumbAndScale, MouseFindsTheMovedThumb) {
    auto s = MakeScaled(kKinds[0], 42);
    s->SetPosSilently(0);
    s->show();
    const QRect thumb = s->Layout().thumb;
    const QRect centred = QRect((42 - 4) / 2 - 6, thumb.top(), thumb.width(), thumb.height());
    ASSERT_GT(thumb.left(), centred.left()) << "the thumb should stand right of the centre here";
    QTest::mousePress(s.get(), Qt::LeftButton, {}, QPoint(thumb.right(), thumb.center().y()));
    EXPECT_TRUE(s->isSliderDown()) << "a press on the thumb's right column must grab it";
    QTest::mouseRelease(s.get(), Qt::LeftButton, {}, QPoint(thumb.right(), thumb.center().y()));
}

}  // namespace
