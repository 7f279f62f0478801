#pragma once
// Timer ids of the main window. A change notice re-arms a one-shot timer whose id carries what to
// send: the low 16 bits are the notice number (the key, see controls/notices.h), bits 16..23 the
// page (or master slider) index, bits 24..31 the band. Different bands and pages therefore debounce
// independently.

#include <cstdint>

namespace console::timer {

// How long a change waits for the next one before its frame goes out.
constexpr int kDebounceMs = 200;
constexpr int kHeartbeatMs = 1000;

constexpr std::uint32_t Id(std::uint32_t key, int page = 0, int band = 0) {
    return (key & 0xFFFFu) | ((static_cast<std::uint32_t>(page) & 0xFFu) << 16) |
           ((static_cast<std::uint32_t>(band) & 0xFFu) << 24);
}
constexpr std::uint32_t Key(std::uint32_t id) {
    return id & 0xFFFFu;
}
constexpr int Page(std::uint32_t id) {
    return static_cast<int>((id >> 16) & 0xFFu);
}
constexpr int Band(std::uint32_t id) {
    return static_cast<int>((id >> 24) & 0xFFu);
}

}  // namespace console::timer
