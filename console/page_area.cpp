#include "console/page_area.h"

#include <algorithm>

namespace console {

PageAreaLayout LayOutPageArea(const PageAreaInput& in) {
    PageAreaLayout out;
    QRect view = in.area;
    // The page may run down only as far as leaves the graph its least height.
    const int lowest = in.clientHeight - in.belowGraph - in.minGraphHeight - in.graphGap;
    // A bar across takes rows from below the page, and one down takes columns, which can make the
    // other one needed in turn: settle both.
    for (int pass = 0; pass < 2; ++pass) {
        const int width = in.area.width() - (out.vertical ? in.barExtent : 0);
        out.horizontal = in.content.width() > width;
        const int bottom = lowest - (out.horizontal ? in.barExtent : 0);
        const int height = std::max(1, std::min(in.area.height(), bottom - in.area.top()));
        out.vertical = in.content.height() > height;
        view = QRect(in.area.left(), in.area.top(),
                     std::max(1, in.area.width() - (out.vertical ? in.barExtent : 0)), height);
    }
    out.view = view;
    out.horizontalRange = std::max(0, in.content.width() - view.width());
    out.verticalRange = std::max(0, in.content.height() - view.height());
    if (out.horizontal) out.hBar = QRect(view.left(), view.bottom() + 1, view.width(), in.barExtent);
    if (out.vertical) out.vBar = QRect(view.right() + 1, view.top(), in.barExtent, view.height());
    out.graphTop = view.bottom() + 1 + (out.horizontal ? in.barExtent : 0) + in.graphGap;
    return out;
}

}  // namespace console
