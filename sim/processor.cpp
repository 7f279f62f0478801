#include "sim/processor.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "sim/answers.h"

namespace sim {

namespace {
// Bytes that cannot start a frame, put before a reply when garbage is asked for.
const std::vector<std::uint8_t> kGarbage = {0x00, 0xFF, 0x13, 0x37, 0x5A, 0x0D, 0x0A};
}  // namespace

bool BadAnswerFromName(const char* name, BadAnswer& out) {
    const std::string n = name;
    if (n == "wrong-code")
        out = BadAnswer::WrongCode;
    else if (n == "bad-checksum")
        out = BadAnswer::BadChecksum;
    else if (n == "wrong-class")
        out = BadAnswer::WrongClass;
    else if (n == "short")
        out = BadAnswer::TooShort;
    else
        return false;
    return true;
}

std::string SafeImageName(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    std::string out;
    for (unsigned char c : base)
        if (c >= 0x20 && c != 0x7F) out.push_back(static_cast<char>(c));
    if (out.empty() || out == "." || out == "..") return "firmware.bin";
    return out;
}

Processor::Processor(Options options)
    : options_(std::move(options)),
      device_(options_.start),
      faults_(options_.faults),
      badLeft_(options_.faults.badCount) {}

Processor::~Processor() {
    Stop();
}

bool Processor::Start(std::string& error) {
    if (running_) return true;
    if (!pty_.Open(error)) return false;
    if (!options_.logPath.empty() && !logFile_.Open(options_.logPath, options_.jsonLog, error)) {
        pty_.Close();
        return false;
    }
    if (!options_.linkPath.empty() && !MakeSymlink(pty_.slavePath(), options_.linkPath, error)) {
        pty_.Close();
        return false;
    }
    if (!options_.pathFile.empty() &&
        !WriteFileAtomically(options_.pathFile, pty_.slavePath() + "\n", error)) {
        if (!options_.linkPath.empty()) RemoveSymlinkTo(pty_.slavePath(), options_.linkPath);
        pty_.Close();
        return false;
    }
    started_ = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Record({0, "note", {}, "listening on " + pty_.slavePath()});
    }
    running_ = true;
    thread_ = std::thread(&Processor::Run, this);
    return true;
}

void Processor::Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    if (!options_.linkPath.empty() && !pty_.slavePath().empty())
        RemoveSymlinkTo(pty_.slavePath(), options_.linkPath);
    pty_.Close();
}

void Processor::SetFaults(const Faults& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = f;
    badLeft_ = f.badCount;
}

Faults Processor::GetFaults() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_;
}

Store Processor::GetStore() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.store();
}

void Processor::SetStore(const Store& s) {
    std::lock_guard<std::mutex> lock(mutex_);
    device_.store() = s;
}

std::vector<LogEntry> Processor::Log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

bool Processor::WaitForLog(const std::function<bool(const std::vector<LogEntry>&)>& done,
                           std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return logChanged_.wait_for(lock, timeout, [&] { return done(log_); });
}

std::vector<std::string> Processor::SavedImages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return images_;
}

std::int64_t Processor::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_)
        .count();
}

void Processor::Record(LogEntry e) {
    logFile_.Write(e);
    log_.push_back(std::move(e));
    logChanged_.notify_all();
}

bool Processor::Silent(std::int64_t now) const {
    return faults_.silent || (faults_.silentAfterMs >= 0 && now >= faults_.silentAfterMs);
}

void Processor::Inject(std::vector<std::uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    outbox_.push_back({NowMs(), std::move(bytes), "injected"});
}

void Processor::Run() {
    std::uint8_t buf[4096];
    while (running_) {
        pollfd p{pty_.master(), POLLIN, 0};
        const int ready = ::poll(&p, 1, 5);
        std::vector<std::uint8_t> in;
        if (ready > 0 && (p.revents & POLLIN)) {
            for (int i = 0; i < 64; ++i) {
                const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
                if (n <= 0) break;
                in.insert(in.end(), buf, buf + n);
            }
        } else if (ready > 0) {
            // Hang-up or error without data: nothing to read, do not spin.
            ::usleep(5000);
        }
        const std::int64_t now = NowMs();
        std::lock_guard<std::mutex> lock(mutex_);
        if (ymodem_) {
            if (!in.empty()) FeedUpdate(in.data(), in.size(), now);
        } else {
            reader_.Feed(in.data(), in.size(), now);
        }
        FrameReader::Item item;
        while (!ymodem_ && reader_.Next(now, item)) {
            if (item.frame) {
                HandleFrame(item.bytes, now);
            } else {
                Record({now, "skip", item.bytes, "garbage"});
            }
        }
        if (ymodem_) {
            SendUpdateBytes(ymodem_->Tick(now), now);
            for (std::string& note : ymodem_->TakeNotes()) Record({now, "note", {}, std::move(note)});
            if (ymodem_->Finished()) FinishUpdate(now);
        }
        WriteDue(now);
    }
}

void Processor::HandleFrame(const std::vector<std::uint8_t>& bytes, std::int64_t now) {
    ZemCmd::Cmd frame;
    for (std::size_t i = 0; i < bytes.size(); ++i) frame[i] = bytes[i];
    Reaction r = device_.Handle(frame);
    Record({now, "rx", bytes, r.what});
    if (r.endReadBack && faults_.answerEndReadBack) {
        const int payload[] = {0, 0};
        const ZemCmd::Cmd a = MakeAnswer(0xF0, ZemCmd::kGroupEndReadBack, payload, 2);
        r.reply.assign(a.data(), a.data() + a.Length());
        r.answer = true;
    }
    if (!r.reply.empty()) Reply(std::move(r.reply), r.answer, r.what, now);
    if (r.enterUpdate) StartUpdate(now);
}

bool Processor::Spoil(std::vector<std::uint8_t>& bytes, std::string& what) {
    if (faults_.badKind == BadAnswer::None || bytes.size() < 6 || bytes[4] != faults_.badCode) return false;
    if (faults_.badCount > 0) {
        if (badLeft_ <= 0) return false;
        --badLeft_;
    }
    auto reseal = [&] { bytes.back() = ZemCmd::ByteSum(bytes.data(), static_cast<int>(bytes.size()) - 1); };
    switch (faults_.badKind) {
        case BadAnswer::WrongCode:
            bytes[4] = static_cast<std::uint8_t>(bytes[4] + 1);
            reseal();
            what += " (fault: wrong code)";
            break;
        case BadAnswer::BadChecksum:
            bytes.back() = static_cast<std::uint8_t>(bytes.back() + 1);
            what += " (fault: bad checksum)";
            break;
        case BadAnswer::WrongClass:
            bytes[2] = 0xF5;
            reseal();
            what += " (fault: wrong class)";
            break;
        case BadAnswer::TooShort:
            bytes.resize(6);
            bytes[1] = 6;
            reseal();
            what += " (fault: too short)";
            break;
        case BadAnswer::None:
            break;
    }
    return true;
}

void Processor::Reply(std::vector<std::uint8_t> bytes, bool answer, std::string what, std::int64_t now) {
    if (answer) {
        Spoil(bytes, what);
        if (faults_.twoInOneWrite) {
            std::vector<std::uint8_t> both = lastAnswer_;
            lastAnswer_ = bytes;
            both.insert(both.end(), bytes.begin(), bytes.end());
            bytes.swap(both);
            what += " (fault: after the previous answer)";
        } else {
            lastAnswer_ = bytes;
        }
    }
    if (faults_.garbage) {
        bytes.insert(bytes.begin(), kGarbage.begin(), kGarbage.end());
        what += " (fault: garbage first)";
    }
    outbox_.push_back({now + faults_.lateMs, std::move(bytes), std::move(what)});
}

void Processor::WriteDue(std::int64_t now) {
    std::size_t i = 0;
    for (; i < outbox_.size() && outbox_[i].dueMs <= now; ++i) {
        Outgoing& o = outbox_[i];
        if (Silent(now)) {
            Record({now, "note", o.bytes, "silent, not sent: " + o.what});
        } else if (WriteAll(o.bytes)) {
            Record({now, "tx", o.bytes, o.what});
        } else {
            Record({now, "note", o.bytes, "write failed, dropped: " + o.what});
        }
    }
    outbox_.erase(outbox_.begin(), outbox_.begin() + static_cast<std::ptrdiff_t>(i));
}

bool Processor::WriteAll(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    int waits = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(pty_.master(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        // Nobody reads the other end just now: wait a little, but not forever.
        if (++waits > 20) return false;
        pollfd p{pty_.master(), POLLOUT, 0};
        ::poll(&p, 1, 50);
    }
    return true;
}

void Processor::StartUpdate(std::int64_t now) {
    ymodem_.emplace(faults_.ymodem, now, options_.ymodemTimeoutMs);
    updating_ = true;
    Record({now, "note", {}, "update mode: waiting for a YMODEM transfer"});
    SendUpdateBytes(ymodem_->Begin(now), now);
    const std::vector<std::uint8_t> rest = reader_.TakeRest();
    if (!rest.empty()) FeedUpdate(rest.data(), rest.size(), now);
}

void Processor::FeedUpdate(const std::uint8_t* bytes, std::size_t n, std::int64_t now) {
    SendUpdateBytes(ymodem_->Feed(bytes, n, now), now);
    for (std::string& note : ymodem_->TakeNotes()) Record({now, "note", {}, std::move(note)});
    if (ymodem_->Finished()) FinishUpdate(now);
}

void Processor::SendUpdateBytes(std::vector<std::uint8_t> bytes, std::int64_t now) {
    if (bytes.empty()) return;
    if (Silent(now)) {
        Record({now, "note", bytes, "silent, not sent: ymodem"});
    } else if (WriteAll(bytes)) {
        Record({now, "tx", bytes, "ymodem"});
    } else {
        Record({now, "note", bytes, "write failed, dropped: ymodem"});
    }
}

void Processor::FinishUpdate(std::int64_t now) {
    if (ymodem_->state() == YmodemReceiver::State::Done) {
        const std::string path = options_.firmwareDir + "/" + SafeImageName(ymodem_->fileName());
        const std::vector<std::uint8_t> image = ymodem_->Image();
        std::string error;
        if (WriteFileAtomically(path, std::string(image.begin(), image.end()), error)) {
            images_.push_back(path);
            Record({now,
                    "note",
                    {},
                    "firmware saved: " + path + " (" + std::to_string(image.size()) + " bytes)"});
        } else {
            Record({now, "note", {}, "firmware not saved: " + error});
        }
    } else {
        Record({now, "note", {}, "update failed: " + ymodem_->error()});
    }
    ymodem_.reset();
    updating_ = false;
    Record({now, "note", {}, "normal mode"});
}

}  // namespace sim
