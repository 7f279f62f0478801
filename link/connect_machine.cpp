#include "link/connect_machine.h"

#include <algorithm>
#include <iterator>

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
    requested_ = -1;
    std::fill(std::begin(lastTaken_), std::end(lastTaken_), 0u);
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
        requested_ = -1;
        std::fill(std::begin(lastTaken_), std::end(lastTaken_), 0u);
        return;
    }
    if (tries_ < kHandshakeProbes) {
        link_.Push(ZemCmd::SystemAction(ZemCmd::kActHandshake));
        ++tries_;
        wait_ = 5;
        return;
    }
    link_.Close();
    link_.Log("Close Uart\n");
    if (port_ >= kLastPort) {
        // COM30 was the last port to try.
        state_ = kFailed;
        return;
    }
    ++port_;
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
    // An answer that came in after the last look is still this request's answer: a resend must
    // not throw it away, and need not go out at all.
    if (requested_ == step_ && TakeAnswer()) return;
    expected_ = request->frame[4];
    if (requested_ != step_) {
        // A new request: a frame that arrived before it answers something else. Its retries count
        // from here, also for the step after the silent one.
        link_.ClearFrameReady();
        requested_ = step_;
        tries_ = 0;
    }
    link_.Push(request->frame);
    link_.Log(request->logLine);
    if (step_ == 17 && hooks_.flushTrace) hooks_.flushTrace();
    wait_ = 0;
    state_ = kWait;
}

bool ConnectMachine::TakeAnswer() {
    if (expected_ == 0 || !link_.FrameReady()) return false;
    std::uint32_t words[ZemCmd::kMaxFrame] = {};
    link_.CopyFrame(words);
    if (static_cast<int>(words[4]) != expected_) return false;
    // A request sent twice can be answered twice. The second answer repeats the one taken for the
    // previous step byte for byte, while every answer of a new step differs from it (code, band or
    // channel), so a repeat is passed over and the new step's own answer awaited.
    const int length = std::min(static_cast<int>(words[1] & 0xFF), ZemCmd::kMaxFrame);
    if (length > 0 && std::equal(words, words + length, lastTaken_)) return false;

    link_.ClearFrameReady();
    expected_ = 0;
    const int taken = hooks_.apply ? hooks_.apply(words) : 1;
    if (taken) {
        std::copy(std::begin(words), std::end(words), std::begin(lastTaken_));
        tries_ = 0;
        refusals_ = 0;
        if (step_ >= kLastStep) {
            state_ = kDone;
            return true;
        }
        if (hooks_.progress) hooks_.progress(static_cast<int>(step_ * 100.0 / kLastStep));
        ++step_;
    } else if (step_ == kLastStep) {
        // The processor acknowledged the end command: the read-back is complete.
        state_ = kDone;
        return true;
    } else if (++refusals_ >= kMaxRefusals) {
        // An answer that is never usable must not keep the dialog asking for ever.
        state_ = kFailed;
        return true;
    }
    // The next step, or the same one again after a refusal (not counted as a retry).
    state_ = kRequest;
    return true;
}

void ConnectMachine::AwaitAnswer() {
    if (TakeAnswer()) return;
    if (tries_ < kAnswerTries) {
        if (tries_ % 2 == 1) state_ = kRequest;
        ++tries_;
        return;
    }
    state_ = step_ < kLastStep ? kFailed : kDone;
}

}  // namespace connect
