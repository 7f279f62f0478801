#include "link/uart.h"

#include <cstdio>

#include "link/receive_text.h"
#include "platform/port_map.h"
#include "platform/trace.h"

Uart::Uart() : Uart(Timing{}) {}

Uart::Uart(Timing timing, platform::SerialPort::Pacing pacing) : timing_(timing), port_(pacing) {}

Uart::~Uart() {
    Close();
    running.store(false);
    updateStop_.store(true);
    { std::lock_guard lock(wakeMutex_); }
    wake_.notify_all();
    if (updater_.joinable()) updater_.join();
}

int Uart::Open(const std::string& name) {
    if (port_.IsOpen()) return 0;
    // A frame that came in on the previous port must never answer for this one.
    {
        std::lock_guard lock(frameMutex_);
        lastFrame_ = ReceivedFrame{};
    }
    frameReady.store(0);
    const std::string path = port::PathFor(name);
    if (path.empty()) return 0;
    std::lock_guard lock(writeMutex_);
    return port_.Open(path) ? 1 : 0;
}

void Uart::Start() {
    if (!reader_.joinable()) {
        readerStop_.store(false);
        reader_ = std::thread(ReadThread, this);
    }
    if (!updater_.joinable()) updater_ = std::thread(UpdateThread, this);
}

void Uart::Close() {
    if (reader_.joinable()) {
        readerStop_.store(true);
        { std::lock_guard lock(wakeMutex_); }
        wake_.notify_all();
        reader_.join();
    }
    std::lock_guard lock(writeMutex_);
    port_.Close();
}

int Uart::Send(const std::uint8_t* bytes, int n) {
    std::lock_guard lock(writeMutex_);
    return SendHoldingLock(bytes, n);
}

int Uart::SendHoldingLock(const std::uint8_t* bytes, int n) {
    if (n < 0) n = 0;
    const int written = port_.Write(bytes, n);
    trace::Write(trace::BytesLine("[send]", bytes, static_cast<std::size_t>(n)));
    return written;
}

void Uart::Log(std::string_view text) {
    if (LogSink* sink = sink_.load()) sink->Append(text);
}

ReceivedFrame Uart::LastFrame() const {
    std::lock_guard lock(frameMutex_);
    return lastFrame_;
}

bool Uart::Pause(std::chrono::milliseconds d, const std::atomic<bool>& stop) {
    std::unique_lock lock(wakeMutex_);
    return !wake_.wait_for(lock, d, [&] { return stop.load(); });
}

void Uart::ReadThread(Uart* uart) {
    ZemCmd::FrameParser parser;  // its position carries over from one read to the next
    std::uint8_t buffer[kReadSize];
    while (!uart->readerStop_.load()) {
        if (uart->updateRequest.load()) {
            uart->Pause(uart->timing_.updateIdle, uart->readerStop_);
            continue;
        }
        const int n = uart->port_.IsOpen() ? uart->port_.Read(buffer, kReadSize) : 0;
        if (n > 0) {
            char line[80];
            std::snprintf(line, sizeof line, "[recv]len = %d, hex=%d, zem=%d\n", n, uart->hex.load() ? 1 : 0,
                          uart->frameMode.load());
            trace::Write(line);
            uart->received.store(1);
            uart->ShowOrParse(parser, buffer, n);
        }
        uart->Pause(uart->timing_.readPoll, uart->readerStop_);
    }
}

void Uart::ShowOrParse(ZemCmd::FrameParser& parser, const std::uint8_t* bytes, int n) {
    if (frameMode.load()) {
        ParseFrames(parser, bytes, n);
    } else if (hex.load()) {
        Log(receive_text::AsHex(bytes, n));
        if (LogSink* sink = sink_.load()) sink->ScrollToBottom();
    } else {
        Log(receive_text::AsText(bytes, n));
    }
}

void Uart::ParseFrames(ZemCmd::FrameParser& parser, const std::uint8_t* bytes, int n) {
    parser.Feed(
        bytes, static_cast<std::size_t>(n),
        [this](const ZemCmd::Cmd& frame) {
            const int len = frame.Length();
            trace::Write(trace::BytesLine("[recv]", frame.data(), static_cast<std::size_t>(len)));
            {
                std::lock_guard lock(frameMutex_);
                lastFrame_.bytes = frame;
                lastFrame_.length = len;
            }
            frameReady.store(1);
        },
        [this] { Log("CheckSum Error\n"); });
}

void Uart::UpdateThread(Uart* uart) {
    while (uart->running.load() && !uart->updateStop_.load()) {
        if (uart->updateRequest.load() && uart->port_.IsOpen() && uart->updateWork_) {
            uart->updateResult.store(uart->updateWork_(*uart));
            uart->updateRequest.store(0);
            continue;
        }
        uart->Pause(uart->timing_.updatePoll, uart->updateStop_);
    }
}
