#pragma once
// The firmware transfer: the enter-update frame, then YMODEM with one block in flight. Any missing
// answer ends it with an error code; a refused block is not sent again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/ymodem.h"

class Uart;

namespace ymodem {

// Results stored in the link's update result.
constexpr int kOk = 0;
constexpr int kEnterNotWritten = -1;
constexpr int kFileNotOpened = -3;  // set by the command handler; nothing is sent
constexpr int kNoC = -4;
constexpr int kBlockNotWritten = -5;
constexpr int kNoAck = -6;
constexpr int kEndNotWritten = -7;

// System action 0x02: the processor enters its update mode.
constexpr std::uint8_t kEnterUpdate[6] = {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9};

struct Timing {
    std::chrono::milliseconds settle{200};    // after the enter-update frame
    std::chrono::milliseconds pollPause{10};  // between reads while waiting for an answer
    int polls = 1500;                         // reads per wait (about 15 s)
    // How the transfer sleeps; tests may pass one that does not.
    std::function<void(std::chrono::milliseconds)> sleep;
};

// The port as the transfer sees it.
class ByteLink {
  public:
    virtual ~ByteLink() = default;
    // The count written.
    virtual int Write(const std::uint8_t* bytes, int n) = 0;
    // At once: the count read, 0 when nothing is there, -1 when the port is gone.
    virtual int Read(std::uint8_t* buffer, int max) = 0;
};

// Bytes read after the one a wait looked for, kept for the next wait: a receiver may send its
// ACK and the following "C" in one go.
using Leftover = std::vector<std::uint8_t>;

// True when `wanted` was among the bytes read within the wait; bytes before it are dropped, bytes
// after it are left over. Gives up early when the port is gone or keepGoing clears.
bool WaitForByte(ByteLink& link, std::uint8_t wanted, const Timing& timing,
                 const std::atomic<bool>& keepGoing, Leftover& leftover);

// Sends the enter-update frame and the file; returns a result code. Closes the file at the end.
int Transfer(ByteLink& link, Ymodem& file, const Timing& timing, const std::atomic<bool>& keepGoing);

// The Uart's update work: runs Transfer on its port, holding its write mutex for each write and read.
int RunOnUart(Uart& uart, Ymodem& file, const Timing& timing = {});

}  // namespace ymodem
