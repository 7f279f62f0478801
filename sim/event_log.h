#pragma once
// The processor's log: every frame received, every write, every event, with a millisecond time stamp.
// End-to-end tests read it (in process, or from the file as text or JSON lines).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace sim {

struct LogEntry {
    std::int64_t ms = 0;  // since the processor started
    std::string dir;      // "rx" frame received, "skip" garbage, "tx" bytes sent, "note" event
    std::vector<std::uint8_t> bytes;
    std::string what;
};

std::string HexBytes(const std::vector<std::uint8_t>& bytes);
// "12345 rx A5 06 F9 03 06 AD | heartbeat"
std::string FormatText(const LogEntry& e);
// {"ms":12345,"dir":"rx","hex":"A5 06 F9 03 06 AD","what":"heartbeat"}
std::string FormatJson(const LogEntry& e);

// Appends formatted lines to a file, one write and flush per line. Not thread-safe by itself.
class LogFile {
  public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool Open(const std::string& path, bool json, std::string& error);
    void Write(const LogEntry& e);

  private:
    std::FILE* file_ = nullptr;
    bool json_ = false;
};

}  // namespace sim
