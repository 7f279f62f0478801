#pragma once
// Parameter writes (class 0xF1) applied to the store, in the normal layout and in the
// alternate layout the console uses while it connects.

#include <string>

#include "link/frame.h"
#include "sim/store.h"

namespace sim {

// Applies a parameter write; returns false for a frame that is no known write (the store is unchanged).
// `what` names what was set, for the log.
bool ApplyWrite(Store& s, const ZemCmd::Cmd& frame, std::string& what);

// Noise-gate amplitude of -dB (0..80) and back; an amplitude between entries maps to the nearest one.
int GateAmplitude(int db);
int GateDbOfAmplitude(int amplitude);

}  // namespace sim
