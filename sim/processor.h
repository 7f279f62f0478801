#pragma once
// The simulated processor: a pseudo-terminal, a thread that reads frames and answers them,
// a parameter store, a log and fault switches. Usable in process by tests and by `k417b-sim`.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/device.h"
#include "sim/event_log.h"
#include "sim/faults.h"
#include "sim/frame_reader.h"
#include "sim/pty.h"
#include "sim/store.h"
#include "sim/ymodem_receiver.h"

namespace sim {

struct Options {
    std::string linkPath;  // symbolic link to the slave, if given
    std::string pathFile;  // file to receive the slave path, if given
    std::string logPath;   // log file, if given
    bool jsonLog = false;
    std::string firmwareDir = ".";
    Store start = DefaultStore();
    Faults faults;
    int ymodemTimeoutMs = 20000;
};

class Processor {
  public:
    explicit Processor(Options options);
    ~Processor();
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

    // Opens the pseudo-terminal, publishes its path and starts the thread.
    bool Start(std::string& error);
    // Stops and joins the thread, closes the terminal and removes the link.
    void Stop();

    std::string SlavePath() const { return pty_.slavePath(); }

    void SetFaults(const Faults& f);
    Faults GetFaults() const;
    Store GetStore() const;
    void SetStore(const Store& s);
    bool InUpdateMode() const { return updating_.load(); }

    std::vector<LogEntry> Log() const;
    // Waits until `done` holds for the log (checked on every new entry) or the time is up.
    bool WaitForLog(const std::function<bool(const std::vector<LogEntry>&)>& done,
                    std::chrono::milliseconds timeout) const;
    // Sends bytes to the console as they are, soon (for tests: stale answers in the console's input).
    void Inject(std::vector<std::uint8_t> bytes);
    // Paths of the firmware images saved so far.
    std::vector<std::string> SavedImages() const;

  private:
    struct Outgoing {
        std::int64_t dueMs;
        std::vector<std::uint8_t> bytes;
        std::string what;
    };

    void Run();
    std::int64_t NowMs() const;
    void Record(LogEntry e);  // caller holds mutex_
    void HandleFrame(const std::vector<std::uint8_t>& bytes, std::int64_t now);
    void Reply(std::vector<std::uint8_t> bytes, bool answer, std::string what, std::int64_t now);
    bool Spoil(std::vector<std::uint8_t>& bytes, std::string& what);
    void StartUpdate(std::int64_t now);
    void FeedUpdate(const std::uint8_t* bytes, std::size_t n, std::int64_t now);
    void FinishUpdate(std::int64_t now);
    void SendUpdateBytes(std::vector<std::uint8_t> bytes, std::int64_t now);
    bool Silent(std::int64_t now) const;
    void WriteDue(std::int64_t now);
    bool WriteAll(const std::vector<std::uint8_t>& bytes);

    Options options_;
    Pty pty_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> updating_{false};
    std::chrono::steady_clock::time_point started_;

    mutable std::mutex mutex_;  // guards everything below
    mutable std::condition_variable logChanged_;
    Device device_;
    Faults faults_;
    int badLeft_ = 0;
    std::vector<std::uint8_t> lastAnswer_;
    FrameReader reader_;
    std::optional<YmodemReceiver> ymodem_;
    std::vector<Outgoing> outbox_;
    std::vector<LogEntry> log_;
    LogFile logFile_;
    std::vector<std::string> images_;
};

// A file name from a YMODEM header made safe to create in one folder: its last path part,
// without control characters; "firmware.bin" when nothing usable is left.
std::string SafeImageName(const std::string& name);

}  // namespace sim
