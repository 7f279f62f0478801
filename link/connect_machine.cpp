#include "link/connect_machine.h"

#include "link/connect_steps.h"

namespace connect {

namespace {
constexpr const char* kExitText = "\xE9\x80\x80\xE5\x87\xBA";  // "退出"
constexpr int kHandshakeProbes = 3;
constexpr int kAnswerTries = 6;  // three resends, then give up
}  // namespace

ConnectMachine::ConnectMachine(ConnectLink& link, Hooks hooks) : link_(link), hooks_(std::move(hooks)) {}

void ConnectMachine::Begin() {
    state_ = kOpen;
    port_ = 1;
    tries_ = 0;
    wait_ = 0;
    step_ = 0;
    expected_ = 0;
    refusals_ = 0;
    link_.ClearFrameReady();
    if (hooks_.progress) hooks_.progress(0);
}

void ConnectMachine::SetStatus(const std::string& text) {
    if (hooks_.status) hooks_.status(text);
}

Outcome ConnectMachine::Tick() {
    if (wait_ > 0) {
        --wait_;
        return Outcome::Running;
    }
    switch (state_) {
        case kOpen:
            OpenPort();
            break;
        case kHandshake:
            Handshake();
            break;
        case kRequest:
            SendStep();
            break;
        case kWait:
            AwaitAnswer();
            break;
        case kDone:
            SetStatus(kExitText);
            return Outcome::Finished;
        case kFailed:
            SetStatus(kExitText);
            link_.SetFrameMode(false);
            return Outcome::Failed;
    }
    return Outcome::Running;
}

void ConnectMachine::OpenPort() {
    link_.Log("Open Uart=" + std::to_string(port_) + "\n");
    SetStatus("Open COM" + std::to_string(port_));
    if (link_.IsOpen()) link_.Close();
    if (!link_.Open("COM" + std::to_string(port_))) {
        if (port_ < kLastPort) {
            link_.Log("Open Fail\n");
            ++port_;
        } else {
            state_ = kFailed;
        }
        return;
    }
    link_.Log("Open Ok\n");
    link_.SetFrameMode(true);
    link_.Start();
    state_ = kHandshake;
    wait_ = 3;
    tries_ = 0;
}

void ConnectMachine::Handshake() {
    if (link_.FrameReady()) {
        // Any good frame will do: something on this port speaks the protocol.
        state_ = kRequest;
        SetStatus("Start to read...");
        link_.Log("Start Resv Data\n");
        link_.ClearFrameReady();
        step_ = 0;
        tries_ = 0;
        wait_ = 5;
        return;
    }
    if (tries_ < kHandshakeProbes) {
        link_.Push(ZemCmd::SystemAction(ZemCmd::kActHandshake));
        ++tries_;
        wait_ = 5;
        return;
    }
    if (port_ < kLastPort + 1) {
        link_.Close();
        link_.Log("Close Uart\n");
        ++port_;
    }
    state_ = kOpen;
    wait_ = 5;
}

void ConnectMachine::SendStep() {
    const auto request = StepRequest(step_);
    if (!request) {
        // The silent step: the retry rhythm of the wait state asks for the next one.
        step_ = kSilentStep + 1;
        state_ = kWait;
        return;
    }
    expected_ = request->frame[4];
    link_.ClearFrameReady();
    link_.Push(request->frame);
    link_.Log(request->logLine);
    if (step_ == 17 && hooks_.flushTrace) hooks_.flushTrace();
    wait_ = 0;
    state_ = kWait;
}

void ConnectMachine::AwaitAnswer() {
    if (link_.FrameReady()) {
        std::uint32_t words[ZemCmd::kMaxFrame] = {};
        link_.CopyFrame(words);
        if (static_cast<int>(words[4]) == expected_) {
            expected_ = 0;
            const int taken = hooks_.apply ? hooks_.apply(words) : 1;
            if (taken) {
                tries_ = 0;
                refusals_ = 0;
                if (step_ > kLastStep - 1) {
                    state_ = kDone;
                    link_.ClearFrameReady();
                    return;
                }
                if (hooks_.progress) hooks_.progress(static_cast<int>(step_ * 100.0 / kLastStep));
                ++step_;
            } else if (step_ == kLastStep) {
                // The processor acknowledged the end command: the read-back is complete.
                state_ = kDone;
                link_.ClearFrameReady();
                return;
            } else if (++refusals_ >= kMaxRefusals) {
                // An answer that is never usable must not keep the dialog asking for ever.
                state_ = kFailed;
                link_.ClearFrameReady();
                return;
            }
            state_ = kRequest;
            link_.ClearFrameReady();
            return;
        }
    }
    if (tries_ < kAnswerTries) {
        if (tries_ % 2 == 1) state_ = kRequest;
        ++tries_;
        return;
    }
    state_ = step_ < kLastStep ? kFailed : kDone;
}

}  // namespace connect
