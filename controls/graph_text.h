#pragma once
// The graph's fonts, kept for the process, and where drawing a text with one can leave pixels.

#include <QFont>
#include <QMargins>
#include <QPainter>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <map>
#include <tuple>

namespace controls {

class GraphText {
  public:
    // The graph font at `pixelSize`, made and measured on first use (needs the Qt GUI application).
    static const GraphText& At(int pixelSize);

    const QFont& Font() const { return font_; }
    int Height() const { return height_; }

    // A rectangle holding every pixel that drawing `text` into `rect` may change (layouts are
    // measured once per text, flags and box size).
    QRect Bounds(const QRect& rect, int flags, const QString& text) const;
    // QPainter::drawText(rect, flags, text) with this font and the painter's pen; returns Bounds().
    QRect Draw(QPainter& p, const QRect& rect, int flags, const QString& text) const;
    // The same for a text drawn again and again (band numbers, labels): its layout is kept and, where
    // that was found to give exactly drawText's pixels, drawn without laying it out again.
    QRect DrawKept(QPainter& p, const QRect& rect, int flags, const QString& text) const;

  private:
    explicit GraphText(int pixelSize);

    QFont font_;
    int height_ = 0;
    QMargins overhang_;  // how far glyph ink may reach past the text's line box, plus a pixel
    using Key = std::tuple<int, int, int, QString>;  // flags, box width and height, text
    mutable std::map<Key, QRect> bounds_;            // relative to the box
    struct Kept {
        QStaticText text;
        QPointF at;         // relative to the box
        bool same = false;  // drawn from `text` at `at`, it gives drawText's pixels
    };
    mutable std::map<Key, Kept> kept_;
};

}  // namespace controls
