#pragma once
// The main window's layout in dialog units (509 x 296), control by control.

#include <QRect>
#include <QSize>
#include <span>

#include "platform/ui/dialog_units.h"

namespace console {

struct TemplateControl {
    int id;
    int x, y, width, height;
};

constexpr int kTemplateWidth = 509;
constexpr int kTemplateHeight = 296;

// Every control, left to right and top to bottom.
std::span<const TemplateControl> MainTemplate();

// The control's rectangle in pixels; an empty rectangle for an id not in the template.
QRect TemplateRect(const win::DialogUnits& units, int id);
QSize TemplateClientSize(const win::DialogUnits& units);

// The smallest size the window may be dragged to.
constexpr QSize kMinimumWindowSize{900, 520};

// Tab items are this size; pages start one item height below the tab strip's top.
constexpr QSize kTabItemSize{100, 28};

}  // namespace console
