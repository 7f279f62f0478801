#include "pages/channel_traits.h"

namespace chan {

const OutputTraits& MainTraits() {
    static const OutputTraits t{"[main eq]",
                                "[main alc]",
                                "[main mute]",
                                7,
                                132,
                                {200, 630, 1200, 2700, 3900},
                                kMainMarks,
                                kMainLimiter,
                                {id::kLeftDelay, id::kRightDelay},
                                {{1406, 0}, {1407, 1}},
                                true,
                                true};
    return t;
}

const OutputTraits& MidTraits() {
    static const OutputTraits t{"[mid eq]", "[mid alc]", "[mid mute]", 5,           133,   {80, 680, 1200},
                                kMidMarks,  kMidLimiter, {id::kDelay}, {{1411, 0}}, false, true};
    return t;
}

const OutputTraits& SurroundTraits() {
    static const OutputTraits t{"[surround eq]",
                                "[surround alc]",
                                "[surround mute]",
                                5,
                                134,
                                {100, 800, 1500},
                                kSurroundMarks,
                                kSurroundLimiter,
                                {id::kLeftDelay, id::kRightDelay},
                                {{1428, 0}, {1429, 1}},
                                true,
                                true};
    return t;
}

const OutputTraits& BassTraits() {
    static const OutputTraits t{"[bass eq]", "[bass alc]", "[bass mute]", 5,           135,  {25, 60, 160},
                                kBassMarks,  kBassLimiter, {id::kDelay},  {{1427, 0}}, false};
    return t;
}

}  // namespace chan
