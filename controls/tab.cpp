#include "controls/tab.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/control_images.h"
#include "controls/text_height.h"

namespace controls {

namespace {

void PaintItem(QPainter& p, const TabItem& item, bool selected) {
    p.drawImage(item.rect.topLeft(), TabBackgroundImage(selected));
    const QString text = item.text.left(63);
    if (text.isEmpty()) return;
    const QFontMetrics fm(p.font());
    const int cx = fm.horizontalAdvance(text);
    const int cy = TextLineHeight(p.font(), text);  // CJK and Thai lines stand taller
    // Edges as the window system counts them: right and bottom are one past the item.
    const int right = item.rect.left() + item.rect.width();
    const int bottom = item.rect.top() + item.rect.height();
    const int x = item.rect.left() + ((right - cx) - item.rect.left()) / 2;
    const int y = item.rect.top() + ((bottom - cy) - item.rect.top()) / 4;
    p.drawText(QRect(x, y, cx, cy), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

void PaintTabItems(QPainter& p, const std::vector<TabItem>& items, int current) {
    p.setPen(Qt::black);
    const int n = static_cast<int>(items.size());
    for (int i = 0; i < n; ++i)
        if (i != current) PaintItem(p, items[i], false);
    if (current >= 0 && current < n) PaintItem(p, items[current], true);
}

Tab::Tab(QWidget* parent) : QTabBar(parent) {
    setDrawBase(false);
    setExpanding(false);
}

QSize Tab::tabSizeHint(int) const {
    return kItemSize;
}

QSize Tab::minimumTabSizeHint(int) const {
    return kItemSize;
}

void Tab::paintEvent(QPaintEvent*) {
    std::vector<TabItem> items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i) items.push_back({tabRect(i), tabText(i)});
    QPainter p(this);
    p.setFont(font());
    PaintTabItems(p, items, currentIndex());
}

}  // namespace controls
