#pragma once
// Tab: the main window's tab strip, a QTabBar whose items are painted on two background images
// (98x26, and 96x24 for the current item) with the text centred across and a quarter of the way
// down. Items are 100x28. The current item is painted last so it stays on top.
// Selection, signals and keys are QTabBar's: currentChanged also fires for setCurrentIndex from
// code, so block signals there; tabBarClicked is the user's notice.

#include <QTabBar>
#include <vector>

namespace controls {

class Tab : public QTabBar {
    Q_OBJECT
  public:
    explicit Tab(QWidget* parent = nullptr);

    static constexpr QSize kItemSize{100, 28};

  protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

struct TabItem {
    QRect rect;
    QString text;
};

// Every item but `current` in order, then `current`; each is its background image at the item's
// top-left and its text (at most 63 characters; none when empty) in black.
void PaintTabItems(QPainter& painter, const std::vector<TabItem>& items, int current);

}  // namespace controls
