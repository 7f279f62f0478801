#pragma once
// The three master sliders by index: the page part of their debounce timers (console/timer_ids.h)
// and the index the master volume frame is built from.

namespace console::master {

enum Index : int {
    kMic,     // microphone
    kEffect,  // effect
    kMusic,   // music
};

inline constexpr int kCount = kMusic + 1;

}  // namespace console::master
