#pragma once
// DoubleLabel: a caption on the left and a value on the right of one grey strip, the label beside
// every slider. With both texts empty it is a plain QLabel showing its own text().
// The strip's texts are always black in the label's font(); palette colours (a page's text colour
// for its value labels) show only on the plain fallback, as they did on the owner-drawn original.
// A caption too long to stand beside its value takes a line of its own above it; only a caption
// longer than the whole strip is shortened with an ellipsis, and then shown whole as the tooltip.

#include <QLabel>
#include <QStringList>

namespace controls {

// Where the texts of a strip are drawn. One line: the value whole at the right, the caption from the
// left. Two lines: the caption on the top line, the value right-aligned on the bottom line.
struct DoubleLabelLayout {
    QString caption;  // as drawn (possibly shortened)
    QRect captionRect;
    QRect valueRect;
    bool shortened = false;
    int lines = 1;
    int height = 0;  // what the texts need, top to bottom
};
// `valueRoom` is the width kept for the value whatever it reads now (the widest it can read), so the
// caption does not jump between one and two lines while the value changes.
DoubleLabelLayout LayOutDoubleLabel(const QFont& font, const QRect& rect, const QString& caption,
                                    const QString& value, int valueRoom = 0);
// The widest of `values` in `font`.
int WidestText(const QFont& font, const QStringList& values);

class DoubleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit DoubleLabel(QWidget* parent = nullptr);

    // Each repaints the label when its text changes, and does nothing when it does not.
    void SetCaption(const QString& caption);
    void SetValue(const QString& value);
    // Every value the label may come to show (or its widest ones): their room is kept beside the caption.
    void SetValueSamples(const QStringList& values);
    // The three at once, laid out once.
    void SetTexts(const QString& caption, const QString& value, const QStringList& samples);
    const QString& Caption() const { return caption_; }
    const QString& Value() const { return value_; }
    const QStringList& ValueSamples() const { return samples_; }

    // The texts as they are drawn now.
    DoubleLabelLayout Layout() const;
    // How tall the strip must be for `caption` beside the values it may show, at its present width.
    int HeightFor(const QString& caption) const;
    // Makes the strip tall enough for its texts, growing upwards from the bottom edge it has (and
    // back); never lower than the height it had at the first call.
    void FitHeight();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void TextsChanged();
    void UpdateToolTip();
    int ValueRoom() const;

    QString caption_;
    QString value_;
    QStringList samples_;
    // The widest sample in the present font, measured when first needed: a page refreshes hundreds
    // of labels at a time, and shaping the samples again for each would be most of that work.
    mutable int valueRoom_ = -1;
    int captionWidth_ = -1;  // the caption's width in the present font, for the tooltip
    int baseHeight_ = 0;
};

// The strip colour (0xDCDCDC).
QColor DoubleLabelStripColor();

// Draws the strip, then the texts where LayOutDoubleLabel puts them, in black.
void PaintDoubleLabel(QPainter& painter, const QRect& rect, const QString& caption, const QString& value,
                      int valueRoom = 0);

}  // namespace controls
