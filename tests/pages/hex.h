#pragma once

#include "tests/link/bytes.h"

namespace testhex {

// The frame's first n bytes (all of them by default) as "A5 0E ...".
inline std::string Hex(const ZemCmd::Cmd& f, int n = -1) {
    auto bytes = testbytes::Of(f);
    if (n >= 0) bytes.resize(static_cast<std::size_t>(n));
    return testbytes::Hex(bytes);
}

}  // namespace testhex
