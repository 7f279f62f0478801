#include "sim/event_log.h"

#include <cerrno>
#include <cstring>

namespace sim {

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!out.empty()) out.push_back(' ');
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
    return out;
}

std::string FormatText(const LogEntry& e) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain of operator+ here.
    std::string line = std::to_string(e.ms);
    line.append(" ").append(e.dir);
    if (!e.bytes.empty()) line.append(" ").append(HexBytes(e.bytes));
    if (!e.what.empty()) line.append(" | ").append(e.what);
    return line;
}

namespace {
std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + "\"";
}
}  // namespace

std::string FormatJson(const LogEntry& e) {
    return "{\"ms\":" + std::to_string(e.ms) + ",\"dir\":" + JsonString(e.dir) +
           ",\"hex\":" + JsonString(HexBytes(e.bytes)) + ",\"what\":" + JsonString(e.what) + "}";
}

LogFile::~LogFile() {
    if (file_) std::fclose(file_);
}

bool LogFile::Open(const std::string& path, bool json, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        error = "cannot open log file " + path + ": " + std::strerror(errno);
        return false;
    }
    json_ = json;
    return true;
}

void LogFile::Write(const LogEntry& e) {
    if (!file_) return;
    const std::string line = (json_ ? FormatJson(e) : FormatText(e)) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace sim
