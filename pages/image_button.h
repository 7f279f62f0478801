#pragma once
// A band column's bitmap button (Q arrows, filter types): a flat push button showing its image,
// focused by a click only (never a Tab stop), and showing the focus with the console's focus ring
// rather than the style's, which a flat button only draws after a Tab.

#include <QPushButton>

class ImageButton : public QPushButton {
    Q_OBJECT
  public:
    ImageButton(const QPixmap& image, QWidget* parent);
    void SetImage(const QPixmap& image);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
