#include "platform/port_map.h"

#include <cstdlib>

namespace port {
namespace {

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

}  // namespace

std::vector<std::string> PortPathsFrom(const char* envValue) {
    std::vector<std::string> paths;
    if (!envValue) {
        for (const char* family : {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"})
            for (int i = 0; i < 10; ++i) paths.push_back(family + std::to_string(i));
        return paths;
    }
    std::string_view rest(envValue);
    while (static_cast<int>(paths.size()) < kMaxPorts) {
        const auto comma = rest.find(',');
        paths.push_back(Trimmed(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return paths;
}

std::vector<std::string> PortPaths() {
    return PortPathsFrom(std::getenv("K417B_PORTS"));
}

int PortNumber(std::string_view name) {
    if (name.size() < 4 || name.size() > 5) return 0;
    for (int i = 0; i < 3; ++i)
        if ((name[i] | 0x20) != "com"[i]) return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + (name[i] - '0');
    }
    if (name[3] == '0') return 0;
    return n >= 1 && n <= kMaxPorts ? n : 0;
}

std::string PathFor(std::string_view name) {
    if (!name.empty() && name.front() == '/') return std::string(name);
    const int n = PortNumber(name);
    if (n == 0) return {};
    const auto paths = PortPaths();
    return n <= static_cast<int>(paths.size()) ? paths[n - 1] : std::string();
}

}  // namespace port
