#include "link/ymodem_transfer.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "link/uart.h"

namespace ymodem {
namespace {

using Clock = std::chrono::steady_clock;

void Sleep(const Timing& timing, std::chrono::milliseconds d) {
    if (timing.sleep)
        timing.sleep(d);
    else
        std::this_thread::sleep_for(d);
}

// Looks through the inbox for an answer; what follows the answer stays, what precedes it goes.
std::optional<Reply> TakeReply(Inbox& inbox, std::uint8_t wanted, bool refusalsCount) {
    for (std::size_t i = 0; i < inbox.bytes.size(); ++i) {
        const std::uint8_t b = inbox.bytes[i];
        std::optional<Reply> reply;
        if (b == wanted)
            reply = Reply::Wanted;
        else if (b == kNak && refusalsCount)
            reply = Reply::Refused;
        else if (b == kCan && inbox.afterCan)
            reply = Reply::Cancelled;
        inbox.afterCan = b == kCan && !reply;
        if (reply) {
            inbox.bytes.erase(inbox.bytes.begin(), inbox.bytes.begin() + static_cast<std::ptrdiff_t>(i + 1));
            return reply;
        }
    }
    inbox.bytes.clear();
    return std::nullopt;
}

// Sends one block (or the end byte) until it is acknowledged: a refusal sends it again, up to the
// timing's resends. Returns kOk, notWritten, or kNoAck.
int SendUntilAcknowledged(ByteLink& link, const std::uint8_t* bytes, int n, int notWritten,
                          const Timing& timing, const std::atomic<bool>& keepGoing, Inbox& inbox) {
    for (int sends = 0;; ++sends) {
        if (link.Write(bytes, n) != n) return notWritten;
        const Reply reply = WaitForReply(link, Ymodem::kAck, true, timing, keepGoing, inbox);
        if (reply == Reply::Wanted) return kOk;
        if (reply != Reply::Refused || sends >= timing.resends) return kNoAck;
        // Whatever else came with the refusal answered the refused copy.
        inbox.bytes.clear();
    }
}

int Run(ByteLink& link, Ymodem& file, const Timing& timing, const std::atomic<bool>& keepGoing) {
    Inbox inbox;
    const auto waitForC = [&] {
        return WaitForReply(link, Ymodem::kC, false, timing, keepGoing, inbox) == Reply::Wanted;
    };
    // A "C" or ACK left over from an earlier exchange must not answer this transfer's first waits.
    link.DropInput();
    if (link.Write(kEnterUpdate, sizeof kEnterUpdate) != static_cast<int>(sizeof kEnterUpdate))
        return kEnterNotWritten;
    Sleep(timing, timing.settle);
    if (!waitForC()) return kNoC;

    Ymodem::HeaderBlock header;
    file.MakeHeaderBlock(header);
    if (const int r = SendUntilAcknowledged(link, header.data(), Ymodem::kHeaderSize, kBlockNotWritten,
                                            timing, keepGoing, inbox);
        r != kOk)
        return r;
    if (!waitForC()) return kNoC;

    Ymodem::DataBlock block;
    while (file.MoreData()) {
        file.MakeNextDataBlock(block);
        if (const int r = SendUntilAcknowledged(link, block.data(), Ymodem::kBlockSize, kBlockNotWritten,
                                                timing, keepGoing, inbox);
            r != kOk)
            return r;
    }

    const std::uint8_t eot = Ymodem::kEot;
    return SendUntilAcknowledged(link, &eot, 1, kEndNotWritten, timing, keepGoing, inbox);
}

// The Uart's port, taken under its write mutex one operation at a time, so closing the port from
// the GUI thread waits for one piece or one poll slice at most.
class UartLink : public ByteLink {
  public:
    explicit UartLink(Uart& uart) : uart_(uart) {}
    int Write(const std::uint8_t* bytes, int n) override {
        std::lock_guard lock(uart_.WriteMutex());
        return uart_.Port().Write(bytes, n);
    }
    int Read(std::uint8_t* buffer, int max) override {
        std::lock_guard lock(uart_.WriteMutex());
        return uart_.Port().Read(buffer, max);
    }
    bool WaitReadable(std::chrono::milliseconds limit) override {
        std::lock_guard lock(uart_.WriteMutex());
        return uart_.Port().WaitReadable(limit);
    }
    void DropInput() override {
        std::lock_guard lock(uart_.WriteMutex());
        uart_.Port().DropInput();
    }

  private:
    Uart& uart_;
};

}  // namespace

Reply WaitForReply(ByteLink& link, std::uint8_t wanted, bool refusalsCount, const Timing& timing,
                   const std::atomic<bool>& keepGoing, Inbox& inbox) {
    if (const auto reply = TakeReply(inbox, wanted, refusalsCount)) return *reply;
    const auto deadline = Clock::now() + timing.answerLimit;
    std::uint8_t buffer[128];
    while (keepGoing.load()) {
        const int n = link.Read(buffer, sizeof buffer);
        if (n < 0) return Reply::Silent;
        if (n > 0) {
            inbox.bytes.assign(buffer, buffer + n);
            if (const auto reply = TakeReply(inbox, wanted, refusalsCount)) return *reply;
        }
        // Checked after every read: a stream of other bytes does not stretch the wait.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return Reply::Silent;
        if (n == 0 && !link.WaitReadable(std::min(left, timing.pollSlice))) return Reply::Silent;
    }
    return Reply::Silent;
}

int Transfer(ByteLink& link, Ymodem& file, const Timing& timing, const std::atomic<bool>& keepGoing) {
    file.ResetBlocks();
    const int result = Run(link, file, timing, keepGoing);
    file.Close();
    return result;
}

int RunOnUart(Uart& uart, Ymodem& file, const Timing& timing) {
    UartLink link(uart);
    return Transfer(link, file, timing, uart.running);
}

}  // namespace ymodem
