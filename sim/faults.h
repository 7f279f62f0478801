#pragma once
// Ways the simulated processor can misbehave, for tests of the console's error paths.

#include "sim/ymodem_receiver.h"

namespace sim {

enum class BadAnswer { None, WrongCode, BadChecksum, WrongClass, TooShort };

struct Faults {
    bool silent = false;     // answer nothing at all
    int silentAfterMs = -1;  // go silent this long after the start (-1: never)
    int lateMs = 0;          // delay every reply
    int badCode = -1;        // answers to requests with this code are spoilt ...
    BadAnswer badKind = BadAnswer::None;
    int badCount = 0;                // ... this many times (0: every time)
    bool garbage = false;            // garbage bytes before every reply
    bool twoInOneWrite = false;      // send the previous answer and this one in one write
    bool answerEndReadBack = false;  // answer the end-of-read-back command with code 0x77
    YmodemFaults ymodem;
};

// "wrong-code", "bad-checksum", "wrong-class", "short"
bool BadAnswerFromName(const char* name, BadAnswer& out);

}  // namespace sim
