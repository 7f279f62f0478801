#include "link/ymodem_transfer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <thread>

#include "link/uart.h"

namespace ymodem {
namespace {

void Sleep(const Timing& timing, std::chrono::milliseconds d) {
    if (timing.sleep)
        timing.sleep(d);
    else
        std::this_thread::sleep_for(d);
}

int Run(ByteLink& link, Ymodem& file, const Timing& timing, const std::atomic<bool>& keepGoing) {
    Leftover leftover;
    const auto waitFor = [&](std::uint8_t wanted) {
        return WaitForByte(link, wanted, timing, keepGoing, leftover);
    };
    if (link.Write(kEnterUpdate, sizeof kEnterUpdate) != static_cast<int>(sizeof kEnterUpdate))
        return kEnterNotWritten;
    Sleep(timing, timing.settle);
    if (!waitFor(Ymodem::kC)) return kNoC;

    Ymodem::HeaderBlock header;
    file.MakeHeaderBlock(header);
    if (link.Write(header.data(), Ymodem::kHeaderSize) != Ymodem::kHeaderSize) return kBlockNotWritten;
    if (!waitFor(Ymodem::kAck)) return kNoAck;
    if (!waitFor(Ymodem::kC)) return kNoC;

    Ymodem::DataBlock block;
    while (file.MoreData()) {
        file.MakeNextDataBlock(block);
        if (link.Write(block.data(), Ymodem::kBlockSize) != Ymodem::kBlockSize) return kBlockNotWritten;
        if (!waitFor(Ymodem::kAck)) return kNoAck;
    }

    const std::uint8_t eot = Ymodem::kEot;
    if (link.Write(&eot, 1) != 1) return kEndNotWritten;
    return waitFor(Ymodem::kAck) ? kOk : kNoAck;
}

// The Uart's port, taken under its write mutex one operation at a time, so closing the port from
// the GUI thread waits for one piece at most.
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

  private:
    Uart& uart_;
};

}  // namespace

bool WaitForByte(ByteLink& link, std::uint8_t wanted, const Timing& timing,
                 const std::atomic<bool>& keepGoing, Leftover& leftover) {
    const auto found = std::find(leftover.begin(), leftover.end(), wanted);
    if (found != leftover.end()) {
        leftover.erase(leftover.begin(), found + 1);
        return true;
    }
    leftover.clear();
    std::uint8_t buffer[128];
    for (int poll = 0; poll < timing.polls && keepGoing.load(); ++poll) {
        std::memset(buffer, 0, sizeof buffer);
        const int n = link.Read(buffer, sizeof buffer);
        if (n < 0) return false;
        Sleep(timing, timing.pollPause);
        for (int i = 0; i < n; ++i)
            if (buffer[i] == wanted) {
                leftover.assign(buffer + i + 1, buffer + n);
                return true;
            }
    }
    return false;
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
