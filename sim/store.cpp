#include "sim/store.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace sim {

namespace {

const char* const kPathNames[kPathCount] = {"music", "mic",      "main", "mid",
                                            "bass",  "surround", "echo", "reverb"};
const char* const kLevelNames[kLevelKinds] = {"music", "direct", "echo", "reverb"};

constexpr int kGainMinus24 = 23200;
constexpr int kGainMinus12 = 24400;
constexpr int kGainZero = 25600;

Band Peaking(int freq) {
    return Band{1, kGainZero, freq, 100, 0, 0};
}

// A page after its reset: both pass filters off (20 Hz and 20000 Hz go out disabled), peaking bands flat.
void ResetPage(BandSet& set, std::initializer_list<int> peaking) {
    for (Band& b : set) b = Band{0, kGainZero, 20, 100, 0, 0};
    int i = 0;
    set[i++] = Band{0, kGainMinus24, 20, 70, 0, 0};
    for (int f : peaking) set[i++] = Peaking(f);
    set[i] = Band{0, kGainMinus24, 20000, 70, 0, 0};
}

// The effect paths' pass filters as their filter frames send them when off.
Band PassOff(int freq, int code) {
    return Band{0, kGainMinus12, freq, 60, code, 0};
}

}  // namespace

const char* PathName(Path p) {
    return kPathNames[static_cast<int>(p)];
}

bool PathFromName(const std::string& name, Path& out) {
    for (int i = 0; i < kPathCount; ++i) {
        if (name == kPathNames[i]) {
            out = static_cast<Path>(i);
            return true;
        }
    }
    return false;
}

Store DefaultStore() {
    Store s;
    // Master sliders start at 0: answer byte = position - 70 (mic), - 60 (effect), 2p + 136 (music below 60).
    s.micMaster = (0 - 70) & 0xFF;
    s.effectMaster = (0 - 60) & 0xFF;
    s.musicMaster = 136;
    for (auto& row : s.levels) row.fill(50);
    s.delays.fill(0);
    s.limiters.fill(Limiter{});
    // Effect block with every slider at its default (damp 30 goes out as 100 - 30).
    s.effect = {70, 90, 100, 200, 0, 30, 100, 40, 60, 100, 0, 100, 100, 50, 50};
    s.limits = {0, 84, 0, 84, 0, 70};

    ResetPage(s.Eq(Path::Music), {80, 440, 960, 2700, 4300, 8000, 10000});
    s.Eq(Path::Music)[0].gainField = kGainMinus12;  // the high-pass gain field carries the "12db" slope
    ResetPage(s.Eq(Path::Mic),
              {50, 100, 250, 330, 500, 640, 800, 1000, 1300, 2000, 3200, 6400, 12000, 13000, 16000});
    s.Eq(Path::Mic)[16] = Band{0, kGainZero, 20000, 100, 0, 0};
    ResetPage(s.Eq(Path::Main), {200, 630, 1200, 2700, 3900});
    ResetPage(s.Eq(Path::Mid), {80, 680, 1200});
    ResetPage(s.Eq(Path::Surround), {100, 800, 1500});
    ResetPage(s.Eq(Path::Bass), {25, 60, 160});
    s.Eq(Path::Bass)[0] = Band{1, kGainMinus12, 100, 50, 4, 0};  // crossover low-pass at 100 Hz, "12db"
    s.Eq(Path::Bass)[4] = Band{0, kGainZero, 20000, 70, 0, 0};
    ResetPage(s.Eq(Path::Echo), {400, 900, 2700});
    s.Eq(Path::Echo)[0] = PassOff(20, 5);
    s.Eq(Path::Echo)[4] = PassOff(20000, 4);
    ResetPage(s.Eq(Path::Reverb), {});
    s.Eq(Path::Reverb)[0] = PassOff(20, 5);
    s.Eq(Path::Reverb)[1] = PassOff(20000, 4);
    return s;
}

namespace {

template <typename Range>
void Join(std::ostringstream& out, const Range& values) {
    for (int v : values) out << ' ' << v;
}

std::string LimiterName(int i) {
    return i == kMicLimiter ? "mic" : std::to_string(i);
}

}  // namespace

std::string StoreToText(const Store& s) {
    std::ostringstream out;
    out << "# k417b-sim store\n";
    out << "master " << s.micMaster << ' ' << s.effectMaster << ' ' << s.musicMaster << '\n';
    for (int k = 0; k < kLevelKinds; ++k) {
        out << "levels " << kLevelNames[k];
        Join(out, s.levels[k]);
        out << '\n';
    }
    out << "delays";
    Join(out, s.delays);
    out << '\n';
    for (int i = 0; i < kLimiters; ++i) {
        const Limiter& l = s.limiters[i];
        out << "limiter " << LimiterName(i) << ' ' << l.start << ' ' << l.multiplier << ' ' << l.limit << ' '
            << l.ratio << '\n';
    }
    out << "gate " << s.gateOn << ' ' << s.gateStart << ' ' << s.gateRelease << '\n';
    out << "fbc " << s.fbcOn;
    Join(out, s.fbc);
    out << "\neffect";
    Join(out, s.effect);
    out << "\nstatus " << s.group << ' ' << s.musicInput << ' ' << s.mutes << '\n';
    out << "limits";
    Join(out, s.limits);
    out << '\n';
    for (int p = 0; p < kPathCount; ++p) {
        for (int b = 0; b < kMaxBands; ++b) {
            const Band& band = s.bands[p][b];
            out << "band " << kPathNames[p] << ' ' << b << ' ' << band.enabled << ' ' << band.gainField << ' '
                << band.freq << ' ' << band.qField << ' ' << band.code << ' ' << band.preDelay << '\n';
        }
    }
    return out.str();
}

namespace {

// Reads exactly `n` integers from the rest of the line into `out`.
bool ReadInts(std::istringstream& in, int* out, int n) {
    for (int i = 0; i < n; ++i) {
        std::string word;
        if (!(in >> word)) return false;
        char* end = nullptr;
        const long v = std::strtol(word.c_str(), &end, 10);
        if (end == word.c_str() || *end != '\0' || v < -1000000 || v > 1000000) return false;
        out[i] = static_cast<int>(v);
    }
    std::string extra;
    return !(in >> extra);
}

template <std::size_t N>
bool ReadArray(std::istringstream& in, std::array<int, N>& a) {
    return ReadInts(in, a.data(), static_cast<int>(N));
}

bool ParseLine(const std::string& line, Store& s) {
    std::istringstream in(line);
    std::string key;
    if (!(in >> key) || key[0] == '#') return true;
    if (key == "master") {
        int v[3];
        if (!ReadInts(in, v, 3)) return false;
        s.micMaster = v[0] & 0xFF;
        s.effectMaster = v[1] & 0xFF;
        s.musicMaster = v[2] & 0xFF;
        return true;
    }
    if (key == "levels") {
        std::string kind;
        in >> kind;
        for (int k = 0; k < kLevelKinds; ++k)
            if (kind == kLevelNames[k]) return ReadArray(in, s.levels[k]);
        return false;
    }
    if (key == "delays") return ReadArray(in, s.delays);
    if (key == "limiter") {
        std::string which;
        in >> which;
        int i = -1;
        for (int k = 0; k < kLimiters; ++k)
            if (which == LimiterName(k)) i = k;
        int v[4];
        if (i < 0 || !ReadInts(in, v, 4)) return false;
        s.limiters[i] = Limiter{v[0], v[1], v[2], v[3]};
        return true;
    }
    if (key == "gate") {
        int v[3];
        if (!ReadInts(in, v, 3)) return false;
        s.gateOn = v[0];
        s.gateStart = v[1];
        s.gateRelease = v[2];
        return true;
    }
    if (key == "fbc") {
        int v[4];
        if (!ReadInts(in, v, 4)) return false;
        s.fbcOn = v[0];
        s.fbc = {v[1], v[2], v[3]};
        return true;
    }
    if (key == "effect") return ReadArray(in, s.effect);
    if (key == "status") {
        int v[3];
        if (!ReadInts(in, v, 3)) return false;
        s.group = v[0];
        s.musicInput = v[1];
        s.mutes = v[2];
        return true;
    }
    if (key == "limits") return ReadArray(in, s.limits);
    if (key == "band") {
        std::string name;
        Path p;
        int index = -1;
        in >> name >> index;
        int v[6];
        if (!PathFromName(name, p) || index < 0 || index >= kMaxBands || !ReadInts(in, v, 6)) return false;
        s.Eq(p)[index] = Band{v[0], v[1], v[2], v[3], v[4], v[5]};
        return true;
    }
    return false;
}

}  // namespace

bool StoreFromText(const std::string& text, Store& s, std::string& error) {
    Store work = s;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!ParseLine(line, work)) {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    s = work;
    return true;
}

}  // namespace sim
