#pragma once
// Sends the trace into a temporary file for the life of the object and reads it back.

#include <cstdio>
#include <string>

#include "platform/trace.h"

class TraceCapture {
  public:
    TraceCapture() : file_(std::tmpfile()), previous_(trace::SetOutput(file_)) {}
    ~TraceCapture() {
        trace::SetOutput(previous_);
        if (file_) std::fclose(file_);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::string Text() const {
        std::fflush(file_);
        std::string text(static_cast<std::size_t>(std::ftell(file_)), '\0');
        std::rewind(file_);
        text.resize(std::fread(text.data(), 1, text.size(), file_));
        std::fseek(file_, 0, SEEK_END);
        return text;
    }
    bool Has(const std::string& part) const { return Text().find(part) != std::string::npos; }

  private:
    std::FILE* file_;
    std::FILE* previous_;
};
