#pragma once
// Byte-by-byte receiver for frames from the processor: sync 0xA5, length 4..50, checksum last.
// The position survives between calls, so a frame may arrive split over any number of reads.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "link/frame.h"

namespace ZemCmd {

class FrameParser {
  public:
    enum class Result {
        None,           // byte taken, no frame finished
        Frame,          // a frame with a good checksum is complete: see Frame()
        CheckSumError,  // a 4-byte frame ended; such frames are never accepted
        Dropped,        // a frame ended with a bad checksum
    };

    static constexpr int kMinLength = 4;

    Result Push(std::uint8_t byte);

    // Feeds a whole read. onFrame gets each good frame in turn; onCheckSumError each 4-byte frame.
    void Feed(const std::uint8_t* bytes, std::size_t n, const std::function<void(const Cmd&)>& onFrame,
              const std::function<void()>& onCheckSumError = {});

    // The last good frame (valid after Push returned Result::Frame). A frame being assembled or
    // dropped never touches it.
    const Cmd& Frame() const { return done_; }

    // 0 while hunting for the sync byte, else the index of the next byte of the frame.
    int Position() const { return pos_; }
    void Reset() { pos_ = 0; }

  private:
    Cmd work_;
    Cmd done_;
    int pos_ = 0;
};

}  // namespace ZemCmd
