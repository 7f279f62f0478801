#pragma once
// DoubleLabel: a caption on the left and a value on the right of one grey strip, the label beside
// every slider. With both texts empty it is a plain QLabel showing its own text().
// The strip's texts are always black in the label's font(); palette colours (a page's text colour
// for its value labels) show only on the plain fallback, as they did on the owner-drawn original.
// A caption too long to stand beside its value is shortened with an ellipsis and shown whole as
// the label's tooltip.

#include <QLabel>

namespace controls {

// Where the two texts of a strip are drawn: the value whole at the right, the caption from the left,
// cut with an ellipsis where it would meet the value.
struct DoubleLabelLayout {
    QString caption;  // as drawn (possibly shortened)
    QRect captionRect;
    QRect valueRect;
    bool shortened = false;
};
DoubleLabelLayout LayOutDoubleLabel(const QFont& font, const QRect& rect, const QString& caption,
                                    const QString& value);

class DoubleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit DoubleLabel(QWidget* parent = nullptr);

    // Each repaints the label.
    void SetCaption(const QString& caption);
    void SetValue(const QString& value);
    const QString& Caption() const { return caption_; }
    const QString& Value() const { return value_; }

    // The texts as they are drawn now.
    DoubleLabelLayout Layout() const;
    // Makes the strip tall enough for its texts, growing upwards from the bottom edge it has; never
    // lower than the height it had at the first call.
    void FitHeight();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateToolTip();

    QString caption_;
    QString value_;
    int baseHeight_ = 0;
};

// The strip colour (0xDCDCDC).
QColor DoubleLabelStripColor();

// Draws the strip, the caption left-aligned and the value right-aligned, both from the top, in black.
void PaintDoubleLabel(QPainter& painter, const QRect& rect, const QString& caption, const QString& value);

}  // namespace controls
