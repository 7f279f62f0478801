#pragma once
// Where each page sits: the tab order of the main window, the set-up page last (it has no tab).

namespace pageindex {

enum Index : int {
    kMusic,    // PageMusic
    kMic,      // PageMic
    kEffect,   // PageEffect
    kMainOut,  // PageMainOut
    kMidOut,   // PageMidOut
    kBassOut,  // PageBassOut
    kSubOut,   // PageSubOut
    kSetUp,    // PageSetUp
};

inline constexpr int kCount = kSetUp + 1;

}  // namespace pageindex
