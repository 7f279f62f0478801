#pragma once
// The four mix levels an output page has, each with its slider and label: the index of
// Page::UpdateVolumeLabel and of the mix-level answers' kinds.

namespace levelkind {

enum Index : int {
    kMusic,   // music
    kDirect,  // direct sound
    kEcho,    // echo
    kReverb,  // reverb
};

inline constexpr int kCount = kReverb + 1;

}  // namespace levelkind
