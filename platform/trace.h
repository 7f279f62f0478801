#pragma once
// Trace of the serial traffic on standard output. Each call writes its text whole with one write and
// a flush under a lock, so lines from the sender, reader and update threads never mix.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace trace {

void Write(std::string_view text);

// prefix, then each byte as "%02x ", then a newline: "[send]a5 06 f9 03 06 ad \n".
std::string BytesLine(std::string_view prefix, const std::uint8_t* bytes, std::size_t n);

// Where the trace goes; standard output until changed. nullptr turns tracing off. Returns the
// previous target (nullptr when it was off).
std::FILE* SetOutput(std::FILE* out);

}  // namespace trace
