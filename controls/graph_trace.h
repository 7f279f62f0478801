#pragma once
// The lines the graph writes to the trace output on every repaint.

#include <string>

#include "controls/graph_state.h"

namespace controls {

// "drawline:" and one line per band, each ending in a newline.
std::string GraphTraceLines(const GraphCurve& curve);

}  // namespace controls
