#pragma once
// Filter type codes of an equaliser band, as the band record, the graph and the response curves
// carry them.

namespace controls {

enum FilterType {
    kTypeOff = 0,
    kTypePeaking = 1,
    kTypeLowShelf = 2,
    kTypeHighShelf = 3,
    kTypeHighPass = 4,
    kTypeLowPass = 5,
    // Extra forms only the response routine knows; 9, 10 and unknown codes draw flat.
    kTypeCut = 6,  // a notch whose depth is the gain's magnitude
    kTypeOnePoleLowPass = 7,
    kTypeOnePoleHighPass = 8,
};

}  // namespace controls
