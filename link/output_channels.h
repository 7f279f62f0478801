#pragma once
// The three ways the processor numbers the four outputs. None is the page order
// (pages/page_index.h), and they differ from each other on the centre and subwoofer.

#include <cstdint>

namespace outch {

// Channels of the mix-level, delay and output-EQ frames and their answers (the frame order of the
// six channel values: main L, main R, centre, subwoofer, surround L, surround R).
enum Mix : std::uint8_t {
    kMixMainLeft = 0,
    kMixMainRight = 1,
    kMixCentre = 2,
    kMixSubwoofer = 3,
    kMixSurroundLeft = 4,
    kMixSurroundRight = 5,
};

// Channels of the limiter frames and their answers: the main pair goes out twice, as 0 and 1.
enum Limiter : std::uint8_t {
    kLimiterMain = 0,
    kLimiterMainSecond = 1,
    kLimiterSubwoofer = 2,
    kLimiterCentre = 3,
    kLimiterSurround = 4,
};

// Output EQ pages in byte 13 of the band frames (channel 4); one bit, or a pair, per page.
enum EqPage : std::uint8_t {
    kEqPageMain = 0x03,
    kEqPageCentre = 0x04,
    kEqPageSubwoofer = 0x08,
    kEqPageSurround = 0x30,
};

}  // namespace outch
