#pragma once
// Some library loaded with the Qt GUI leaves the upper halves of the AVX registers in use. Until
// they are cleared, every switch between our SSE code and libm's AVX/FMA routines pays a state
// transition; in the response loop that made the graph's curves over ten times slower.

namespace controls {

// Marks the upper register halves clean (vzeroupper) where the processor has AVX; else nothing.
// Cheap enough to call at the start of every numeric loop that calls into libm.
void ClearUpperVectorState();

}  // namespace controls
