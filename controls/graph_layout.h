#pragma once
// Where the graph's grid lines, labels and markers stand, shared by the drawing and the hit test.

#include <QFont>
#include <QRect>
#include <vector>

#include "controls/graph_axes.h"
#include "controls/graph_state.h"

namespace controls {

// Font sizes in pixels (8.1, 12.1 and 48.4 points at 96 DPI).
constexpr int kSmallFontPx = 11;
constexpr int kNumberFontPx = 16;
constexpr int kPassFontPx = 65;
// Line pitch of the selected band's values (height of the default dialog font).
constexpr int kValueLinePx = 16;
constexpr int kMarkerSize = 24;

QFont GraphFont(int pixelSize);

// Client row of grid line i (0..19); line 0 is +12 dB, each line 2 dB lower.
int GridRowY(const GraphAxes& axes, int i);
// Frequencies with a vertical grid line, 10 Hz to 20 kHz.
std::vector<int> GridLineFreqs();
// Frequencies with a label under the plot.
const std::vector<int>& LabelFreqs();
// "%dHz" below 1000, else "%dkHz".
QString FreqLabel(int freq);
// Gain label k = 1..19 reads 14 - 2k dB and stands at grid line k - 1.
int GainLabelValue(int k);
// Box of gain label k, right-aligned to the margin and centred on its grid row.
QRect GainLabelRect(const GraphAxes& axes, int k, int labelWidth, int textHeight);

// Every how many gain labels one is drawn: 1 where labels `inkHeight` pixels tall keep a blank
// row between them at this height, else the smallest step that does (2 draws 12, 8, 4, ... -24).
int GainLabelStride(const GraphAxes& axes, int inkHeight);
// Height of the glyphs of the gain labels in `font`, ascenders to descenders.
int GainLabelInkHeight(const QFont& font);

// Left margin wide enough for "-24dB " and for every gain label plus the 5-pixel gap.
int MeasureLeftMargin();

// Marker square of band b (client coordinates, 24 x 24); right/bottom exclusive as QRect(x,y,w,h).
QRect MarkerSquare(const GraphState& state, const GraphAxes& axes, int b);

}  // namespace controls
