#pragma once
// How the reader shows received bytes in the debug log when it is not parsing frames.

#include <cstdint>
#include <string>

namespace receive_text {

// A text read of this many bytes or more is marked in the log.
constexpr int kLongRead = 1000;

// Text mode: the bytes up to the first zero byte, as UTF-8 (bytes that are not valid UTF-8 are
// taken as Latin-1), preceded by "999999999999" when the read brought 1000 bytes or more.
std::string AsText(const std::uint8_t* bytes, int n);

// Hex mode: each byte as "%x  " (no leading zero, two blanks); a 0xA5 starts a new line.
std::string AsHex(const std::uint8_t* bytes, int n);

}  // namespace receive_text
