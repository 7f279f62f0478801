#pragma once
// Where the graph's grid lines, labels and markers stand, shared by the drawing and the hit test.

#include <QFont>
#include <QRect>
#include <QString>
#include <array>
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
// The plot: the 20 Hz to 20 kHz columns and the rows from the +12 dB line to the -24 dB line (the
// lower row of its 2 pixels), both ends included.
QRect PlotRect(const GraphAxes& axes);
// Last row of the frequency lines: they stop on the -24 dB line and never reach the labels below it.
int FreqLinesEnd(const GraphAxes& axes);

// A text of the graph: drawn left- and top-aligned from `at`; `rect` holds every pixel its glyphs
// may cover (across its advance, down the rows of its glyphs).
struct PlacedText {
    QString text;
    QPoint at;
    QRect rect;
};

// The frequency labels along the bottom, a line's height above the control's bottom edge where that
// clears the -24 dB line, else a row under that line and as low as the control allows; never past
// the control's edges ("20kHz" ends at the right edge, and is left out on a graph too narrow for it
// beside "10kHz").
struct FreqLabelRow {
    std::vector<PlacedText> labels;  // in LabelFreqs() order
    int inkTop = 0, inkBottom = -1;  // client rows the labels' glyphs may cover
    // Rows above this are not drawn: where the strip under the -24 dB line is a row short of the
    // tallest glyph, that glyph loses its top row rather than touching the line.
    int clipTop = 0;
};
FreqLabelRow PlaceFreqLabels(const GraphAxes& axes, const QFont& font);

// The selected band's values beside its marker (frequency, gain, Q), kept inside the plot: below
// the marker for a boost and above it for a cut unless only the other side has room, and moved
// left or right only as far as the plot's edges ask.
std::array<PlacedText, 3> PlaceBandValues(const GraphState& state, const GraphAxes& axes, int band,
                                          const QFont& font);

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
