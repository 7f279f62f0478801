#include "link/log_sink.h"

void BoundedLog::Append(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (lines_.empty()) lines_.emplace_back();
    for (char c : text) {
        if (lines_.back().size() >= kMaxLineChars) lines_.emplace_back();
        lines_.back() += c;
        if (c == '\n') lines_.emplace_back();
    }
    bytes_ += text.size();
    // The open line counts only once it holds text; the newest line always stays.
    const std::size_t full = lines_.back().empty() ? lines_.size() - 1 : lines_.size();
    for (std::size_t n = full; lines_.size() > 1 && (n > maxLines_ || bytes_ > maxBytes_); --n) {
        bytes_ -= lines_.front().size();
        lines_.pop_front();
    }
}

void BoundedLog::ScrollToBottom() {
    std::lock_guard lock(mutex_);
    ++scrolls_;
}

std::string BoundedLog::Text() const {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const auto& line : lines_) all += line;
    return all;
}

std::size_t BoundedLog::LineCount() const {
    std::lock_guard lock(mutex_);
    if (lines_.empty()) return 0;
    return lines_.back().empty() ? lines_.size() - 1 : lines_.size();
}

std::size_t BoundedLog::ByteCount() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

int BoundedLog::ScrollRequests() const {
    std::lock_guard lock(mutex_);
    return scrolls_;
}

void BoundedLog::Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    bytes_ = 0;
}
