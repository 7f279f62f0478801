#pragma once
// Sends the trace into a temporary file for the life of the object and reads it back.

#include <cstdio>
#include <string>

#include "platform/trace.h"

class TraceCapture {
  public:
    TraceCapture() : file_(std::tmpfile()) { previous_ = trace::SetOutput(file_); }
    ~TraceCapture() {
        trace::SetOutput(previous_);
        if (file_) std::fclose(file_);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Everything traced so far.
    std::string Text() const {
        std::string text;
        if (!file_) return text;
        std::fflush(file_);
        const long end = std::ftell(file_);
        std::rewind(file_);
        text.resize(static_cast<std::size_t>(end));
        const std::size_t got = std::fread(text.data(), 1, text.size(), file_);
        text.resize(got);
        std::fseek(file_, 0, SEEK_END);
        return text;
    }

  private:
    std::FILE* file_;
    std::FILE* previous_ = nullptr;
};
