#include "controls/graph_trace.h"

#include "platform/numbers.h"

namespace controls {

std::string GraphTraceLines(const GraphCurve& curve) {
    std::string text = "drawline:\n";
    for (int k = 0; k < kGraphBands; ++k) {
        text += num::Format("k:%d,type:%d,freq:%d,gain:%f\n", k, curve.type[k], curve.freq[k],
                            static_cast<double>(curve.gain[k]));
    }
    return text;
}

}  // namespace controls
