// The sender thread on a real pseudo-terminal when writing a frame throws: the frame is lost, the
// trace says "Exception...", and the frames behind it still go out.
#include <gtest/gtest.h>

#include <stdexcept>

#include "link/send_queue.h"
#include "link/uart.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using namespace testbytes;

namespace {

Bytes Param(std::uint8_t value) {
    return Sealed({0xA5, 0x09, 0xF1, 0x0F, 0x02, value, 0x00, 0x00});
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(SenderGuard, AThrowingWriteCostsItsFrameOnlyAndTheSenderGoesOn) {
    const Bytes band = Sealed("A5 11 F1 0A 08 03 50 51 52 53 54 55 56 57 58 59");  // two pieces
    const Bytes next = Param(2), last = Param(3);
    // The port writes a frame in pieces of 15 bytes and reports each one; the throw comes right
    // after the first piece of the first frame, before its trace line.
    const struct {
        const char* name;
        Bytes first;
        void (*raise)();
    } rows[] = {
        {"a standard exception", Param(1), [] { throw std::runtime_error("port gone"); }},
        {"a value that is no exception", Param(1), [] { throw 7; }},
        {"a frame cut after its first piece", band, [] { throw std::bad_alloc(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Pty pty;
        TraceCapture trace;
        Uart uart;
        ASSERT_EQ(uart.Open(pty.path()), 1);
        bool thrown = false;  // the sender's own: only its thread writes to the port
        uart.Port().SetPieceObserver([&, raise = row.raise](const std::uint8_t*, int, int) {
            if (thrown) return;
            thrown = true;
            raise();
        });
        SendQueue queue(uart, SendQueue::Timing{std::chrono::milliseconds(5), std::chrono::milliseconds(5)});
        for (const Bytes& frame : {row.first, next, last}) queue.PushCmd(ToCmd(frame));
        queue.Start();

        const Bytes firstPiece(row.first.begin(),
                               row.first.begin() + std::min<std::size_t>(15, row.first.size()));
        // Three parameter frames were queued, so a heartbeat follows them.
        const Bytes expected = Cat({firstPiece, next, last, kHeartbeat});
        EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected))
            << "the frames after the throwing one did not go out whole and in order";
        EXPECT_TRUE(pty.Receive(1, std::chrono::milliseconds(100)).empty())
            << "the rest of the cut frame was sent";
        EXPECT_TRUE(queue.IsRunning()) << "the sender ended";
        queue.Stop();

        const std::string text = trace.Text();
        EXPECT_EQ(Count(text, "Exception...\n"), 1u) << text;
        EXPECT_EQ(Count(text, "[send]"), 3u) << "only the frames after the throw are traced as sent:\n"
                                             << text;
        EXPECT_LT(text.find("Exception..."), text.find("[send]")) << text;
    }
}

TEST(SenderGuard, DroppedFramesNeverGoOutAndLaterOnesDo) {
    Pty pty;
    Uart uart;
    ASSERT_EQ(uart.Open(pty.path()), 1);
    SendQueue queue(uart, SendQueue::Timing{std::chrono::milliseconds(5), std::chrono::milliseconds(5)});
    for (std::uint8_t v = 1; v <= 4; ++v) queue.PushCmd(ToCmd(Param(v)));
    queue.DropWaiting();
    EXPECT_TRUE(queue.Pending().empty()) << "frames still wait after being dropped";
    queue.Start();
    queue.PushCmd(ToCmd(Param(9)));
    EXPECT_EQ(Hex(pty.Receive(Param(9).size() + 1, std::chrono::milliseconds(300))), Hex(Param(9)))
        << "a dropped frame went out, or the next one did not";
}

}  // namespace
