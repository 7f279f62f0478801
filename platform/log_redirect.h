#pragma once
// Standard output onto a trace file (the link's "[send]"/"[recv]" lines and the graph's lines go to
// standard output).

#include <string>

namespace trace {

// Truncates or creates the file and makes it standard output (descriptor 1 and `stdout`). When the file
// cannot be opened, or is a symbolic link or anything but a regular file, standard output goes to the
// null device instead, so the program runs on without tracing.
// Returns true when the file is in use.
bool RedirectStdoutTo(const std::string& path);

}  // namespace trace
