#pragma once
// The connect state machine: finds the processor on COM1..COM30, shakes hands, reads every
// parameter back one request per step and ends with the end-of-read-back command. Plain C++,
// driven by Tick() (every 100 ms in the dialog); the link, the queue and the log are behind
// ConnectLink so tests can drive it against a fake.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/frame.h"

namespace connect {

// What the machine uses of the serial link, the send queue and the debug log.
class ConnectLink {
  public:
    virtual ~ConnectLink() = default;
    virtual bool IsOpen() const = 0;
    virtual bool Open(const std::string& name) = 0;
    virtual void Start() = 0;
    virtual void Close() = 0;
    virtual void SetFrameMode(bool on) = 0;
    virtual bool FrameReady() const = 0;
    virtual void ClearFrameReady() = 0;
    // Copy of the last good frame, one byte per word (the reply applier's form).
    virtual void CopyFrame(std::uint32_t (&words)[ZemCmd::kMaxFrame]) const = 0;
    virtual void Push(const ZemCmd::Cmd& cmd) = 0;
    virtual void Log(std::string_view line) = 0;
};

enum class Outcome { Running, Finished, Failed };

class ConnectMachine {
  public:
    enum State { kOpen = 0, kHandshake = 1, kRequest = 2, kWait = 3, kDone = 200, kFailed = 201 };

    static constexpr int kLastPort = 30;
    // Refusals of one answer by the applier before the read-back gives up.
    static constexpr int kMaxRefusals = 10;

    struct Hooks {
        // 1 when the answer was taken, 0 to have the same step asked again.
        std::function<int(const std::uint32_t* words)> apply;
        std::function<void(const std::string& text)> status;
        std::function<void(int percent)> progress;
        std::function<void()> flushTrace;  // after the system-information request
    };

    ConnectMachine(ConnectLink& link, Hooks hooks);

    // Back to the first port; clears the link's frame-ready flag.
    void Begin();
    // One timer tick. Finished or Failed once the machine has reached its end state.
    Outcome Tick();

    State state() const { return state_; }
    int port() const { return port_; }
    int step() const { return step_; }
    int tries() const { return tries_; }

  private:
    void OpenPort();
    void Handshake();
    void SendStep();
    void AwaitAnswer();
    // Hands a ready answer of the expected code to the applier and moves on; false when there is
    // none (nothing ready, another code, or a repeat of the answer taken last).
    bool TakeAnswer();
    void SetStatus(const std::string& text);

    ConnectLink& link_;
    Hooks hooks_;
    State state_ = kOpen;
    int port_ = 1;
    int tries_ = 0;
    int wait_ = 0;
    int step_ = 0;
    int expected_ = 0;
    int refusals_ = 0;
    int requested_ = -1;  // the step whose request went out last
    // The answer taken last, kept to tell a second answer to a resent request from a new one.
    std::uint32_t lastTaken_[ZemCmd::kMaxFrame] = {};
};

}  // namespace connect
