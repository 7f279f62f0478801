#pragma once
// DoubleLabel: a caption on the left and a value on the right of one grey strip, the label beside
// every slider. With both texts empty it is a plain QLabel showing its own text().
// The strip's texts are always black in the label's font(); palette colours (a page's text colour
// for its value labels) show only on the plain fallback, as they did on the owner-drawn original.

#include <QLabel>

namespace controls {

class DoubleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit DoubleLabel(QWidget* parent = nullptr);

    // Each repaints the label.
    void SetCaption(const QString& caption);
    void SetValue(const QString& value);
    const QString& Caption() const { return caption_; }
    const QString& Value() const { return value_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    QString value_;
};

// The strip colour (0xDCDCDC).
QColor DoubleLabelStripColor();

// Draws the strip, the caption left-aligned and the value right-aligned, both from the top, in black.
void PaintDoubleLabel(QPainter& painter, const QRect& rect, const QString& caption, const QString& value);

}  // namespace controls
