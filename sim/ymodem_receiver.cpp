#include "sim/ymodem_receiver.h"

namespace sim {

std::uint16_t Crc16Xmodem(const std::uint8_t* bytes, std::size_t n) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<std::uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

namespace {
constexpr std::int64_t kRepeatCMs = 1000;
constexpr int kMaxC = 15;
constexpr std::int64_t kBrokenBlockMs = 1000;
}  // namespace

YmodemReceiver::YmodemReceiver(const YmodemFaults& faults, std::int64_t nowMs, std::int64_t timeoutMs)
    : faults_(faults), lastByteMs_(nowMs), lastCMs_(nowMs), timeoutMs_(timeoutMs) {}

std::vector<std::uint8_t> YmodemReceiver::Begin(std::int64_t nowMs) {
    lastCMs_ = nowMs;
    if (faults_.neverSendC) {
        notes_.push_back("ymodem: not sending C (fault)");
        return {};
    }
    ++cSent_;
    return {kC};
}

std::vector<std::string> YmodemReceiver::TakeNotes() {
    std::vector<std::string> out;
    out.swap(notes_);
    return out;
}

std::vector<std::uint8_t> YmodemReceiver::Image() const {
    if (size_ < 0 || static_cast<std::size_t>(size_) > data_.size()) return data_;
    return {data_.begin(), data_.begin() + size_};
}

void YmodemReceiver::Fail(const std::string& why, std::vector<std::uint8_t>& out, bool cancel) {
    state_ = State::Failed;
    error_ = why;
    notes_.push_back("ymodem: " + why);
    if (cancel) out.insert(out.end(), {kCan, kCan});
    pending_.clear();
}

void YmodemReceiver::Ack(std::vector<std::uint8_t>& out, int seq) {
    if (seq == faults_.noAckBlock) {
        notes_.push_back("ymodem: block " + std::to_string(seq) + " not acknowledged (fault)");
        return;
    }
    out.push_back(kAck);
}

std::vector<std::uint8_t> YmodemReceiver::Feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs) {
    std::vector<std::uint8_t> out;
    if (Finished() || n == 0) return out;
    pending_.insert(pending_.end(), bytes, bytes + n);
    lastByteMs_ = nowMs;
    int noise = 0;
    while (!pending_.empty() && !Finished()) {
        const std::uint8_t b = pending_[0];
        if (b == kSoh || b == kStx) {
            const std::size_t total = (b == kSoh ? 128 : 1024) + 5;
            if (pending_.size() < total) break;
            HandleBlock(out);
        } else if (b == kEot && state_ == State::WaitData) {
            pending_.erase(pending_.begin());
            state_ = State::Done;
            notes_.push_back("ymodem: end of file after " + std::to_string(seq_ - 1) + " data blocks");
            if (faults_.dropEotAck)
                notes_.push_back("ymodem: end not acknowledged (fault)");
            else
                out.push_back(kAck);
        } else if (b == kCan) {
            if (pending_.size() < 2) break;
            if (pending_[1] == kCan)
                Fail("sender cancelled", out, false);
            else
                pending_.erase(pending_.begin());
        } else {
            pending_.erase(pending_.begin());
            ++noise;
        }
    }
    if (noise) notes_.push_back("ymodem: skipped " + std::to_string(noise) + " stray bytes");
    return out;
}

void YmodemReceiver::HandleBlock(std::vector<std::uint8_t>& out) {
    const std::size_t dataLen = pending_[0] == kSoh ? 128 : 1024;
    const std::vector<std::uint8_t> block(pending_.begin(),
                                          pending_.begin() + static_cast<std::ptrdiff_t>(dataLen + 5));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(dataLen + 5));
    const int number = block[1];
    const std::uint8_t* data = block.data() + 3;
    const unsigned crc = (block[3 + dataLen] << 8) | block[4 + dataLen];
    if (((number + block[2]) & 0xFF) != 0xFF || Crc16Xmodem(data, dataLen) != crc) {
        notes_.push_back("ymodem: block " + std::to_string(number) + " damaged, NAK");
        out.push_back(kNak);
        return;
    }
    const bool header = state_ == State::WaitHeader;
    if (!header && number == ((seq_ - 1) & 0xFF)) {
        // The sender missed our ACK and sent the last block again.
        notes_.push_back("ymodem: block " + std::to_string(number) + " repeated, ACK again");
        out.push_back(kAck);
        if (seq_ == 1 && !faults_.neverSendC) out.push_back(kC);
        return;
    }
    const int expected = header ? 0 : (seq_ & 0xFF);
    if (number != expected) {
        Fail("block " + std::to_string(number) + " out of sequence, expected " + std::to_string(expected),
             out, true);
        return;
    }
    const int k = seq_;
    if (k == faults_.cancelAtBlock) {
        Fail("cancelled at block " + std::to_string(k) + " (fault)", out, true);
        return;
    }
    if (k == faults_.nakOnceBlock && nakedOnce_ != k) {
        nakedOnce_ = k;
        notes_.push_back("ymodem: block " + std::to_string(k) + " refused once (fault)");
        out.push_back(kNak);
        return;
    }
    if (header) {
        std::size_t i = 0;
        while (i < dataLen && data[i] != 0) name_.push_back(static_cast<char>(data[i++]));
        if (name_.empty()) {
            Ack(out, k);
            Fail("empty header: no file sent", out, false);
            return;
        }
        ++i;
        long long size = -1;
        while (i < dataLen && data[i] >= '0' && data[i] <= '9' && size < 1000000000LL)
            size = (size < 0 ? 0 : size * 10) + (data[i++] - '0');
        size_ = size;
        notes_.push_back("ymodem: header \"" + name_ + "\" size " + std::to_string(size_));
        state_ = State::WaitData;
        seq_ = 1;
        Ack(out, k);
        if (!faults_.neverSendC) out.push_back(kC);
        return;
    }
    data_.insert(data_.end(), data, data + dataLen);
    ++seq_;
    Ack(out, k);
}

std::vector<std::uint8_t> YmodemReceiver::Tick(std::int64_t nowMs) {
    std::vector<std::uint8_t> out;
    if (Finished()) return out;
    if (!pending_.empty() && nowMs - lastByteMs_ >= kBrokenBlockMs) {
        notes_.push_back("ymodem: incomplete block of " + std::to_string(pending_.size()) +
                         " bytes given up, NAK");
        pending_.clear();
        out.push_back(kNak);
    }
    if (state_ == State::WaitHeader && pending_.empty() && !faults_.neverSendC && cSent_ < kMaxC &&
        nowMs - lastCMs_ >= kRepeatCMs) {
        lastCMs_ = nowMs;
        ++cSent_;
        out.push_back(kC);
    }
    if (nowMs - lastByteMs_ >= timeoutMs_) Fail("timed out", out, false);
    return out;
}

}  // namespace sim
