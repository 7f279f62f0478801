#pragma once
// Cuts the incoming byte stream into frames by their length byte: sync 0xA5, length 4..50, checksum.
// Bytes that start no good frame are handed out as skipped garbage, so nothing is lost silently.

#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

class FrameReader {
  public:
    struct Item {
        bool frame = false;  // true: a checksum-good frame; false: skipped bytes
        std::vector<std::uint8_t> bytes;
    };

    // An incomplete frame older than this is given up, so a stray 0xA5 cannot hold the line.
    explicit FrameReader(std::int64_t staleMs = 100) : staleMs_(staleMs) {}

    void Feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs);
    // The next frame or run of skipped bytes; false while nothing complete is waiting.
    bool Next(std::int64_t nowMs, Item& out);
    // Everything not yet handed out (the reader is empty afterwards).
    std::vector<std::uint8_t> TakeRest();
    std::size_t Pending() const { return buf_.size(); }

  private:
    std::deque<std::uint8_t> buf_;
    std::int64_t lastFeedMs_ = 0;
    std::int64_t staleMs_;
};

}  // namespace sim
