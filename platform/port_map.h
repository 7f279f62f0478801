#pragma once
// COMn names of the console mapped onto serial device paths.
// K417B_PORTS holds a comma-separated list of paths, entry n-1 being COMn; unset, the list is
// /dev/ttyUSB0..9, /dev/ttyACM0..9, /dev/ttyS0..9.

#include <string>
#include <string_view>
#include <vector>

namespace port {

constexpr int kMaxPorts = 30;

// The list for COM1..COMn (at most 30 entries; an empty entry leaves that COMn unmapped).
std::vector<std::string> PortPaths();
std::vector<std::string> PortPathsFrom(const char* envValue);

// Index n of "COMn" (case-insensitive, n = 1..30), or 0 for any other name.
int PortNumber(std::string_view name);

// Device path for "COMn"; a name that is already an absolute path is taken as it is; "" when unknown.
std::string PathFor(std::string_view name);

}  // namespace port
