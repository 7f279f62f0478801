#pragma once
// Where the link's text output goes (received text or hex, checksum errors, connect progress).
// Implementations must take text from any thread without blocking it for long.

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

class LogSink {
  public:
    virtual ~LogSink() = default;
    // Appends at the end of the log; text may hold several lines or end mid-line.
    virtual void Append(std::string_view text) = 0;
    // Asks the view to show the end of the log.
    virtual void ScrollToBottom() {}
};

// A log of at most a fixed number of lines and bytes: the oldest lines go first. Thread-safe.
class BoundedLog : public LogSink {
  public:
    static constexpr std::size_t kDefaultMaxLines = 5000;
    // Random bytes on the line make long lines: the line count alone does not bound the memory.
    static constexpr std::size_t kDefaultMaxBytes = 256 * 1024;
    // A longer run without a newline is continued on a new line.
    static constexpr std::size_t kMaxLineChars = 4096;

    explicit BoundedLog(std::size_t maxLines = kDefaultMaxLines, std::size_t maxBytes = kDefaultMaxBytes)
        : maxLines_(maxLines ? maxLines : 1), maxBytes_(maxBytes ? maxBytes : 1) {}

    void Append(std::string_view text) override;
    void ScrollToBottom() override;

    std::string Text() const;
    std::size_t LineCount() const;
    std::size_t ByteCount() const;
    int ScrollRequests() const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::size_t maxLines_;
    std::size_t maxBytes_;
    std::deque<std::string> lines_;  // the last one is open (no newline yet)
    std::size_t bytes_ = 0;          // in all lines
    int scrolls_ = 0;
};
