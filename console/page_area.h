#pragma once
// Where the shown page, its scroll bars and the graph go when the window is too narrow or too low
// for the page: the page area keeps the place the resize rule gives it, and scroll bars take over
// where the page's controls reach past it. When the page fits, nothing moves.

#include <QRect>
#include <QSize>

namespace console {

struct PageAreaInput {
    QRect area;     // the pages' rectangle by the resize rule (client coordinates)
    QSize content;  // how far the shown page's controls reach, from the page's top-left
    int clientHeight = 0;
    int belowGraph = 0;  // client rows under the graph (the EQ buttons' strip)
    int graphGap = 5;    // between the page area and the graph
    int minGraphHeight = 0;
    int barExtent = 0;  // a scroll bar's thickness
};

struct PageAreaLayout {
    QRect view;  // the visible part of the page, client coordinates
    bool horizontal = false, vertical = false;
    QRect hBar, vBar;                            // under and right of the view, when shown
    int horizontalRange = 0, verticalRange = 0;  // scrollable pixels
    int graphTop = 0;
};

PageAreaLayout LayOutPageArea(const PageAreaInput& in);

}  // namespace console
