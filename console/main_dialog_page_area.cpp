// Main window: the page area scrolls where the window is too narrow or too low for the page.
#include <QApplication>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>

#include "console/main_client.h"
#include "console/main_dialog.h"
#include "console/page_area.h"
#include "controls/graph_wave.h"

using namespace console;

namespace {

constexpr int kRightMargin = 4;       // kept free right of a page's last control
constexpr int kMinGraphHeight = 100;  // the page area gets lower before the graph does below this
constexpr int kScrollStep = 20;

// How far a page's controls reach from its top-left corner.
QSize ContentSize(const QWidget* page) {
    if (!page) return {};
    const QRect children = page->childrenRect();
    if (children.isEmpty()) return {};
    return {children.right() + 1 + kRightMargin, children.bottom() + 1};
}

}  // namespace

QWidget* CVelmor_Zem_R7Dlg::ShownPage() const {
    for (QWidget* page : m_pages)
        if (page && !page->isHidden()) return page;
    return nullptr;
}

void CVelmor_Zem_R7Dlg::CreatePageScrollBars() {
    m_pageHBar = new QScrollBar(Qt::Horizontal, m_client);
    m_pageVBar = new QScrollBar(Qt::Vertical, m_client);
    for (QScrollBar* bar : {m_pageHBar, m_pageVBar}) {
        bar->hide();
        bar->setSingleStep(kScrollStep);
        connect(bar, &QScrollBar::valueChanged, this, [this] { LayoutPageArea(); });
    }
    // Tabbing to a control the page area does not show brings it into view.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget*, QWidget* now) { ScrollPageTo(now); });
}

void CVelmor_Zem_R7Dlg::LayoutPageArea() {
    if (m_layoutReady != kLayoutReady || !m_pageHBar) return;
    const int dx = m_client->width() - m_initClientRect.width();
    const int dy = m_client->height() - m_initClientRect.height();
    QWidget* shown = ShownPage();

    PageAreaInput in;
    in.area = m_pageRect.adjusted(0, 0, dx, 0);
    in.content = ContentSize(shown);
    in.clientHeight = m_client->height();
    in.belowGraph = m_initClientRect.height() - (m_graphRect.bottom() + 1);
    in.graphGap = m_graphRect.top() - (m_pageRect.bottom() + 1);
    in.minGraphHeight = kMinGraphHeight;
    in.barExtent = m_pageHBar->sizeHint().height();
    const PageAreaLayout l = LayOutPageArea(in);
    m_pageView = l.view;

    auto setBar = [](QScrollBar* bar, bool on, const QRect& r, int range, int page) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, on ? range : 0);
        bar->setPageStep(page);
        if (on) bar->setGeometry(r);
        bar->setVisible(on);
        if (on) bar->raise();
    };
    setBar(m_pageHBar, l.horizontal, l.hBar, l.horizontalRange, l.view.width());
    setBar(m_pageVBar, l.vertical, l.vBar, l.verticalRange, l.view.height());

    const QPoint offset(m_pageHBar->value(), m_pageVBar->value());
    for (QWidget* page : m_pages) {
        if (!page) continue;
        if (page != shown) {
            page->clearMask();
            page->setGeometry(in.area);
            continue;
        }
        const QSize size(std::max(l.view.width(), in.content.width()),
                         std::max(l.view.height(), in.content.height()));
        page->setGeometry(QRect(l.view.topLeft() - offset, size));
        // Clipped to the view, so a scrolled page never paints over the tab strip or the graph.
        if (size != l.view.size())
            page->setMask(QRegion(QRect(offset, l.view.size())));
        else
            page->clearMask();
    }
    QRect graph = m_graphRect.adjusted(0, 0, dx, dy);
    graph.setTop(l.graphTop);
    m_graph->setGeometry(graph);
}

void CVelmor_Zem_R7Dlg::ScrollPageTo(QWidget* control) {
    QWidget* page = ShownPage();
    if (!control || !page || control == page || !page->isAncestorOf(control) || !m_pageHBar) return;
    const QRect r(control->mapTo(page, QPoint(0, 0)), control->size());
    auto bring = [](QScrollBar* bar, int from, int to, int view) {
        if (!bar->isVisible()) return;
        int v = bar->value();
        if (to > v + view) v = to - view;
        if (from < v) v = from;
        bar->setValue(v);  // clamped to the range; moving it lays the page out again
    };
    bring(m_pageHBar, r.left(), r.right() + 1, m_pageView.width());
    bring(m_pageVBar, r.top(), r.bottom() + 1, m_pageView.height());
}
