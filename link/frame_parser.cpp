#include "link/frame_parser.h"

namespace ZemCmd {

FrameParser::Result FrameParser::Push(std::uint8_t byte) {
    if (pos_ == 0) {
        if (byte == kSync) {
            work_[0] = byte;
            pos_ = 1;
        }
        return Result::None;
    }
    if (pos_ == 1) {
        if (byte >= kMinLength && byte <= kMaxFrame) {
            work_[1] = byte;
            pos_ = 2;
        } else if (byte != kSync) {
            pos_ = 0;
        }
        // A rejected length of 0xA5 may be the sync byte of the next frame: stay after it.
        return Result::None;
    }
    const int len = work_[1];
    if (pos_ < len - 1) {
        work_[pos_++] = byte;
        return Result::None;
    }
    pos_ = 0;
    if (len == kMinLength) return Result::CheckSumError;
    if (byte != ByteSum(work_.data(), len - 1)) return Result::Dropped;
    work_[len - 1] = byte;
    done_.b.fill(0);
    for (int i = 0; i < len; ++i) done_[i] = work_[i];
    return Result::Frame;
}

void FrameParser::Feed(const std::uint8_t* bytes, std::size_t n,
                       const std::function<void(const Cmd&)>& onFrame,
                       const std::function<void()>& onCheckSumError) {
    for (std::size_t i = 0; i < n; ++i) {
        switch (Push(bytes[i])) {
            case Result::Frame:
                if (onFrame) onFrame(done_);
                break;
            case Result::CheckSumError:
                if (onCheckSumError) onCheckSumError();
                break;
            default:
                break;
        }
    }
}

}  // namespace ZemCmd
