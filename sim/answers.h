#pragma once
// Answers to read requests, filled from the store.

#include <optional>

#include "link/frame.h"
#include "sim/store.h"

namespace sim {

// The class-0xF6 answer to a read request (A5 09 F4 g c p1 p2 p3 cs), repeating g and c;
// nothing for a request this processor does not know (unknown group/code, band or channel).
std::optional<ZemCmd::Cmd> AnswerRead(const Store& s, const ZemCmd::Cmd& request);

// Builds a sealed answer frame A5 L F6 g c, then `n` payload bytes from byte 5 on.
ZemCmd::Cmd MakeAnswer(int group, int code, const int* payload, int n);

// Output EQ channel of the 04 C2 request and answer (0 main, 2 mid, 3 bass, 4 surround).
bool OutputPathOfChannel(int channel, Path& out);

}  // namespace sim
