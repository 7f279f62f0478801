#pragma once
// The firmware transfer: the enter-update frame, then YMODEM with one block in flight. A refused
// block (NAK) is sent again a few times; a missing answer or a cancel (CAN CAN) ends it with an
// error code.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "link/ymodem.h"

class Uart;

namespace ymodem {

// Results stored in the link's update result.
constexpr int kOk = 0;
constexpr int kEnterNotWritten = -1;
constexpr int kFileNotOpened = -3;  // set by the command handler; nothing is sent
constexpr int kNoC = -4;            // also: the processor cancelled (CAN CAN) while "C" was awaited
constexpr int kBlockNotWritten = -5;
constexpr int kNoAck = -6;  // also: refused too often, or cancelled (CAN CAN) while an ACK was awaited
constexpr int kEndNotWritten = -7;

// System action 0x02: the processor enters its update mode.
constexpr std::uint8_t kEnterUpdate[6] = {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9};

constexpr std::uint8_t kNak = 0x15, kCan = 0x18;

struct Timing {
    std::chrono::milliseconds settle{200};         // after the enter-update frame
    std::chrono::milliseconds answerLimit{15000};  // for each awaited "C" or ACK
    // The longest single look at the port (it is held meanwhile); a byte ends the look at once.
    std::chrono::milliseconds pollSlice{10};
    // A block the processor refuses (NAK) goes again this many times at most.
    int resends = 10;
    // How the transfer sleeps after the enter-update frame; tests may pass one that does not.
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
    // Returns as soon as input is there, or after `limit`; false when the port is gone.
    virtual bool WaitReadable(std::chrono::milliseconds limit) = 0;
    // Drops whatever input waits unread (stale answers of an earlier exchange).
    virtual void DropInput() = 0;
};

// What a wait found.
enum class Reply {
    Wanted,     // the awaited byte
    Refused,    // NAK, where the wait takes refusals
    Cancelled,  // two CAN bytes in a row
    Silent,     // nothing within the limit, the port gone, or told to stop
};

// Bytes read after the answer a wait looked for, kept for the next wait (a receiver may send its
// ACK and the following "C" in one go), and whether the last byte seen was a CAN.
struct Inbox {
    std::vector<std::uint8_t> bytes;
    bool afterCan = false;
};

// Reads until `wanted` comes (or a NAK, when refusals count, or CAN CAN), for at most the timing's
// answer limit. Bytes before the answer are dropped, bytes after it stay in the inbox. Gives up
// early when the port is gone or keepGoing clears.
Reply WaitForReply(ByteLink& link, std::uint8_t wanted, bool refusalsCount, const Timing& timing,
                   const std::atomic<bool>& keepGoing, Inbox& inbox);

// Sends the enter-update frame and the file; returns a result code. Closes the file at the end.
int Transfer(ByteLink& link, Ymodem& file, const Timing& timing, const std::atomic<bool>& keepGoing);

// The Uart's update work: runs Transfer on its port, holding its write mutex for each write and read.
int RunOnUart(Uart& uart, Ymodem& file, const Timing& timing = {});

}  // namespace ymodem
