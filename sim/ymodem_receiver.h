#pragma once
// Receiving end of a YMODEM (CRC-16) single-file transfer: block 0 with name and size, then
// 128- or 1024-byte data blocks, then EOT. Pure state machine: bytes in, bytes to send out.

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR.
std::uint16_t Crc16Xmodem(const std::uint8_t* bytes, std::size_t n);

// Misbehaviour on purpose. Block k counts blocks in arrival order of the sequence: 0 is block 0,
// 1 the first data block, and so on (not wrapped at 256).
struct YmodemFaults {
    bool neverSendC = false;
    int noAckBlock = -1;    // never acknowledge this block
    int nakOnceBlock = -1;  // refuse this block once, then take it
    bool dropEotAck = false;
    int cancelAtBlock = -1;  // answer this block with CAN CAN
};

class YmodemReceiver {
  public:
    enum class State { WaitHeader, WaitData, Done, Failed };

    static constexpr std::uint8_t kSoh = 0x01, kStx = 0x02, kEot = 0x04, kAck = 0x06, kNak = 0x15,
                                  kCan = 0x18, kC = 'C';

    YmodemReceiver(const YmodemFaults& faults, std::int64_t nowMs, std::int64_t timeoutMs = 20000);

    // Bytes to send at the start ("C", unless told never to).
    std::vector<std::uint8_t> Begin(std::int64_t nowMs);
    std::vector<std::uint8_t> Feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs);
    // Time passing: repeats "C" while no header came, gives up a broken block, times out.
    std::vector<std::uint8_t> Tick(std::int64_t nowMs);

    State state() const { return state_; }
    bool Finished() const { return state_ == State::Done || state_ == State::Failed; }
    const std::string& fileName() const { return name_; }
    // The image, cut to the size block 0 announced.
    std::vector<std::uint8_t> Image() const;
    const std::string& error() const { return error_; }
    // Events worth a log line since the last call.
    std::vector<std::string> TakeNotes();

  private:
    void HandleBlock(std::vector<std::uint8_t>& out);
    void Fail(const std::string& why, std::vector<std::uint8_t>& out, bool cancel);
    void Ack(std::vector<std::uint8_t>& out, int seq);

    YmodemFaults faults_;
    State state_ = State::WaitHeader;
    std::vector<std::uint8_t> pending_;
    std::vector<std::uint8_t> data_;
    std::string name_;
    long long size_ = -1;
    int seq_ = 0;  // blocks taken so far (block 0 included)
    int nakedOnce_ = -1;
    std::int64_t lastByteMs_;
    std::int64_t lastCMs_;
    std::int64_t timeoutMs_;
    int cSent_ = 0;
    std::string error_;
    std::vector<std::string> notes_;
};

}  // namespace sim
