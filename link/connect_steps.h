#pragma once
// The fixed read-back table: which request each of the 67 steps sends and the line it writes to
// the debug log.

#include <optional>
#include <string>

#include "link/frame.h"

namespace connect {

constexpr int kStepCount = 67;
constexpr int kLastStep = kStepCount - 1;  // the end-of-read-back command
constexpr int kSilentStep = 6;             // asks for nothing

struct ReadBackStep {
    ZemCmd::Cmd frame;    // sealed
    std::string logLine;  // ends in "\n"
};

// The request of a step; nullopt for the silent step and outside 0..66.
std::optional<ReadBackStep> StepRequest(int step);

}  // namespace connect
