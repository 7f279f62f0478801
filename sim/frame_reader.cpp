#include "sim/frame_reader.h"

#include "link/frame.h"

namespace sim {

void FrameReader::Feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs) {
    if (n == 0) return;
    buf_.insert(buf_.end(), bytes, bytes + n);
    lastFeedMs_ = nowMs;
}

bool FrameReader::Next(std::int64_t nowMs, Item& out) {
    out.frame = false;
    out.bytes.clear();
    const bool stale = nowMs - lastFeedMs_ >= staleMs_;
    auto skipOne = [&] {
        out.bytes.push_back(buf_.front());
        buf_.pop_front();
    };
    while (!buf_.empty()) {
        if (buf_[0] != ZemCmd::kSync) {
            skipOne();
            continue;
        }
        if (buf_.size() < 2) {
            if (stale) {
                skipOne();
                continue;
            }
            break;
        }
        const std::size_t len = buf_[1];
        if (len < 4 || len > ZemCmd::kMaxFrame) {
            skipOne();
            continue;
        }
        if (buf_.size() < len) {
            if (stale) {
                skipOne();
                continue;
            }
            break;
        }
        std::uint8_t frame[ZemCmd::kMaxFrame];
        for (std::size_t i = 0; i < len; ++i) frame[i] = buf_[i];
        if (ZemCmd::CheckSum(frame) != frame[len - 1]) {
            skipOne();
            continue;
        }
        // Garbage before a good frame goes out first, the frame on the next call.
        if (!out.bytes.empty()) return true;
        out.frame = true;
        out.bytes.assign(frame, frame + len);
        buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(len));
        return true;
    }
    return !out.bytes.empty();
}

std::vector<std::uint8_t> FrameReader::TakeRest() {
    std::vector<std::uint8_t> rest(buf_.begin(), buf_.end());
    buf_.clear();
    return rest;
}

}  // namespace sim
