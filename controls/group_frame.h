#pragma once
// A group box without a title that frames a few controls: its frame is drawn along the edges of its
// own rectangle. Styles keep a title's room above the frame even when there is no title, which would
// put the top line under the first control inside.

#include <QGroupBox>

namespace controls {

class GroupFrame : public QGroupBox {
  public:
    explicit GroupFrame(QWidget* parent);

    // Rows the style leaves above an untitled frame, beyond the inset it keeps at the sides.
    int TitleRoom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    mutable int titleRoom_ = -1;
};

}  // namespace controls
