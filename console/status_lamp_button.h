#pragma once
// The status lamp: a button that shows nothing but its image, sized to it.

#include <QAbstractButton>
#include <QImage>

namespace console {

class StatusLampButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit StatusLampButton(QWidget* parent);

    // Shows the image and resizes the button to it, keeping the top-left corner.
    void SetImage(const QImage& image, int bitmapId);
    const QImage& Image() const { return image_; }
    int BitmapId() const { return bitmapId_; }
    QSize sizeHint() const override { return image_.isNull() ? QSize(46, 18) : image_.size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
    int bitmapId_ = 0;
};

}  // namespace console
