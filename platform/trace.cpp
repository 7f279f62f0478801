#include "platform/trace.h"

#include <mutex>

namespace trace {
namespace {

std::mutex g_mutex;
bool g_useStdout = true;
std::FILE* g_out = nullptr;

std::FILE* Target() {
    return g_useStdout ? stdout : g_out;
}

}  // namespace

void Write(std::string_view text) {
    if (text.empty()) return;
    std::lock_guard lock(g_mutex);
    std::FILE* out = Target();
    if (!out) return;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
}

std::string BytesLine(std::string_view prefix, const std::uint8_t* bytes, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string line(prefix);
    line.reserve(prefix.size() + 3 * n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        line += digits[bytes[i] >> 4];
        line += digits[bytes[i] & 15];
        line += ' ';
    }
    line += '\n';
    return line;
}

std::FILE* SetOutput(std::FILE* out) {
    std::lock_guard lock(g_mutex);
    std::FILE* previous = Target();
    g_useStdout = out == stdout;
    g_out = out;
    return previous;
}

}  // namespace trace
