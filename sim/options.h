#pragma once
// Command line of `k417b-sim`.

#include <string>

#include "sim/processor.h"

namespace sim {

// Fills `out` from the arguments (argv[0] skipped). False with a message on a bad argument;
// `help` is set for --help.
bool ParseCommandLine(int argc, const char* const* argv, Options& out, bool& help, std::string& error);

std::string Usage();

}  // namespace sim
