#pragma once
// The one serial link to the processor: opens COMn at 115200 8N1, writes frames (traced), and runs
// the reader thread, which either parses frames (frame mode, during a connect) or hands the raw
// traffic to the log sink as text or hex. It also hosts the firmware-update thread.
//
// Threads: the reader is started by Start() and stopped and joined by Close(); the update thread
// runs from the first Start() until destruction. Every writer takes WriteMutex() so frames never
// interleave on the line.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/log_sink.h"
#include "platform/serial_port.h"

// The last good frame the reader saw: a copy, never the reader's working buffer.
struct ReceivedFrame {
    ZemCmd::Cmd bytes;
    int length = 0;  // 0 while no frame has come in
};

class Uart {
  public:
    struct Timing {
        std::chrono::milliseconds readPoll{20};     // pause after each read
        std::chrono::milliseconds updateIdle{100};  // reader pause while an update owns the port
        std::chrono::milliseconds updatePoll{50};   // update thread's look at the request
    };
    static constexpr int kReadSize = 1024;

    // Runs on the update thread once the update request is set and the port is open; returns the
    // update result. The request is cleared after it returns.
    using UpdateWork = std::function<int(Uart&)>;

    Uart();
    explicit Uart(Timing timing, platform::SerialPort::Pacing pacing = {});
    ~Uart();
    Uart(const Uart&) = delete;
    Uart& operator=(const Uart&) = delete;

    // name is "COMn" (mapped to a device path) or an absolute device path. 1 on success, 0 when a
    // port is already open or this one cannot be opened. Unless a port is open, the last frame and
    // the frame-ready flag are cleared first.
    int Open(const std::string& name);
    // Starts the reader thread, and the update thread the first time.
    void Start();
    // Stops and joins the reader, then closes the port. The update thread keeps running.
    void Close();
    bool IsOpen() const { return port_.IsOpen(); }

    // Writes a frame under the port-write mutex and traces it as "[send]..". Returns the count
    // really written (0 when the port is closed; the trace line is written all the same).
    int Send(const std::uint8_t* bytes, int n);
    // The same for a caller that already holds WriteMutex().
    int SendHoldingLock(const std::uint8_t* bytes, int n);
    std::mutex& WriteMutex() { return writeMutex_; }

    // The port itself, for the update work while the reader idles on the update request. The work
    // holds WriteMutex() while it uses the port, so Close() cannot pull the port from under it.
    platform::SerialPort& Port() { return port_; }

    // Where text and hex output go; nullptr drops it. Clear it before the sink is destroyed.
    void SetLogSink(LogSink* sink) { sink_.store(sink); }
    // Appends text to the log sink, if there is one.
    void Log(std::string_view text);

    // Copy of the last frame with a good checksum.
    ReceivedFrame LastFrame() const;

    // Must be set before the first Start().
    void SetUpdateWork(UpdateWork work) { updateWork_ = std::move(work); }

    // Flags shared with the GUI thread, the sender and the update thread.
    std::atomic<bool> hex{false};       // debug window: show received bytes in hex
    std::atomic<int> received{0};       // 1 after every non-empty read; the watchdog clears it
    std::atomic<int> frameReady{0};     // 1 once a good frame is stored; the connect clears it
    std::atomic<int> frameMode{0};      // parse frames / re-lay parameter writes (during a connect)
    std::atomic<int> updateRequest{0};  // a firmware update is asked for or runs
    std::atomic<int> updateResult{0};   // result of the last update
    std::atomic<bool> running{true};    // the update thread runs while set

    static void ReadThread(Uart* uart);
    static void UpdateThread(Uart* uart);

  private:
    void ShowOrParse(ZemCmd::FrameParser& parser, const std::uint8_t* bytes, int n);
    void ParseFrames(ZemCmd::FrameParser& parser, const std::uint8_t* bytes, int n);
    // Sleeps up to d; returns early (false) once stop is set.
    bool Pause(std::chrono::milliseconds d, const std::atomic<bool>& stop);

    Timing timing_;
    platform::SerialPort port_;
    std::mutex writeMutex_;
    std::atomic<LogSink*> sink_{nullptr};

    mutable std::mutex frameMutex_;
    ReceivedFrame lastFrame_;

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::atomic<bool> readerStop_{false};
    std::atomic<bool> updateStop_{false};
    std::thread reader_;
    std::thread updater_;
    UpdateWork updateWork_;
};
