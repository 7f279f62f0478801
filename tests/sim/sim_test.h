#pragma once
// The console's read-back requests with this processor's answer lengths, frame checks, a distinctive
// store.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "sim/store.h"
#include "tests/link/bytes.h"

namespace simtest {

using namespace testbytes;

struct ReadStep {
    int group = 0, code = 0, p1 = 0, p2 = 0, p3 = 0;
    int answerLength = 0;
};

inline std::vector<ReadStep> ReadBackSteps() {
    // clang-format off
    std::vector<ReadStep> s = {
        {0x02, 0x80, 0, 0, 0, 8}, {0x02, 0x85, 0, 0, 0, 8}, {0x01, 0xA0, 0, 0, 0, 8}, {0x02, 0x82, 0, 0, 0, 14},
        {0x02, 0x83, 0, 0, 0, 9}, {0x02, 0x84, 0, 0, 0, 10}, {0x08, 0x90, 0, 0, 0, 22}, {0x01, 0xA2, 0, 0, 0, 13},
        {0x06, 0xB0, 0, 0, 0, 13}, {0x07, 0x9A, 0, 0, 0, 13}, {0x08, 0x92, 0, 0, 0, 13}, {0x04, 0xC0, 0, 0, 0, 14},
        {0x04, 0xC0, 2, 0, 0, 14}, {0x04, 0xC0, 3, 0, 0, 14}, {0x04, 0xC0, 4, 0, 0, 14}, {0x04, 0xC1, 0, 0, 0, 13},
        {0xF0, 0xD0, 0, 0, 0, 16}, {0x02, 0x88, 0, 0, 0, 8},
    };
    for (int n = 0; n <= 15; ++n) s.push_back({0x02, 0x81, 0, n, 0, 17});
    for (int n = 0; n <= 8; ++n) s.push_back({0x01, 0xA1, 0, n, 0, 17});
    for (int n = 0; n <= 4; ++n) s.push_back({0x04, 0xC2, 0, n + 1, 0, 17});
    for (int n = 0; n <= 3; ++n) s.push_back({0x04, 0xC2, 0, n, 3, 17});
    for (int n = 0; n <= 2; ++n) s.push_back({0x04, 0xC2, 0, n + 1, 2, 17});
    for (int n = 0; n <= 2; ++n) s.push_back({0x04, 0xC2, 0, n + 1, 4, 17});
    for (int n = 0; n <= 4; ++n) s.push_back({0x07, 0x99, 0, n, 0, n == 4 ? 19 : 17});
    for (int n = 0; n <= 1; ++n) s.push_back({0x08, 0x91, 0, n, 0, n == 1 ? 19 : 17});
    // clang-format on
    return s;
}

inline Bytes Request(const ReadStep& s) {
    return Sealed(Bytes{0xA5, 0x09, 0xF4, static_cast<std::uint8_t>(s.group),
                        static_cast<std::uint8_t>(s.code), static_cast<std::uint8_t>(s.p1),
                        static_cast<std::uint8_t>(s.p2), static_cast<std::uint8_t>(s.p3)});
}

inline bool GoodFrame(const Bytes& b) {
    return b.size() >= 4 && b[0] == 0xA5 && b[1] == b.size() && Sealed(Bytes(b.begin(), b.end() - 1)) == b;
}

// How `bytes` differs from "offset=value" pairs, decimal offset, hex value ("6=0E 9=F4").
inline std::string Mismatches(const std::uint8_t* bytes, const std::string& expect) {
    std::istringstream in(expect);
    std::string out;
    int offset = 0, value = 0;
    for (char eq = 0; in >> std::dec >> offset >> eq >> std::hex >> value;)
        if (bytes[offset] != value)
            out += " [" + std::to_string(offset) + "] is " + std::to_string(bytes[offset]);
    return in.eof() ? out : "unreadable: " + expect;
}

inline sim::Store Distinctive() {
    sim::Store s = sim::DefaultStore();
    s.micMaster = 0xF6;
    s.effectMaster = 0x11;
    s.musicMaster = 0x88;
    s.levels[sim::kEchoLevel] = {11, 12, 13, 14, 15, 16};
    s.delays = {1, 2, 3, 4, 5, 6};
    s.limiters[3] = sim::Limiter{40, 7, -20, 60};
    s.limiters[sim::kMicLimiter] = sim::Limiter{90, 32, -34, 100};
    s.gateOn = 1;
    s.gateStart = 55;
    s.gateRelease = 33;
    s.fbcOn = 1;
    s.fbc = {100, 4, 0};
    s.effect[3] = 0xF4;
    s.group = 7;
    s.musicInput = 3;
    s.mutes = 0x2A;
    s.limits = {1, 80, 2, 81, 3, 60};
    s.Eq(sim::Path::Bass)[2] = sim::Band{1, 25950, 70000, 1250, 6, 0};
    s.Eq(sim::Path::Echo)[4] = sim::Band{1, 24400, 8000, 60, 4, 123};
    return s;
}

}  // namespace simtest
