#include "sim/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/text_file.h"

namespace sim {

std::string Usage() {
    return "usage: k417b-sim [options]\n"
           "  --link PATH            make PATH a symbolic link to the terminal\n"
           "  --path-file FILE       write the terminal's path into FILE\n"
           "  --log FILE             log every frame to FILE\n"
           "  --json                 log as JSON lines\n"
           "  --firmware-dir DIR     where received firmware images go (default .)\n"
           "  --store FILE           start from the store in FILE\n"
           "faults:\n"
           "  --silent               answer nothing\n"
           "  --silent-after SEC     go silent SEC seconds after the start\n"
           "  --late MS              send every reply MS milliseconds late\n"
           "  --bad-answer CODE:KIND[:COUNT]\n"
           "                         spoil answers to requests with CODE (hex), KIND one of\n"
           "                         wrong-code, bad-checksum, wrong-class, short; COUNT times (0: always)\n"
           "  --garbage              garbage bytes before every reply\n"
           "  --two-in-one           send the previous answer and the current one in one write\n"
           "  --answer-end           answer the end-of-read-back command with code 0x77\n"
           "  --ymodem-no-c          never send C\n"
           "  --ymodem-no-ack K      never acknowledge block K (0 = block 0)\n"
           "  --ymodem-nak-once K    refuse block K once\n"
           "  --ymodem-drop-eot-ack  do not acknowledge the end of the file\n"
           "  --ymodem-cancel K      answer block K with CAN CAN\n"
           "  --ymodem-timeout MS    give up a silent transfer after MS (default 20000)\n";
}

namespace {

bool ToInt(const std::string& text, int base, long lo, long hi, int& out) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, base);
    if (text.empty() || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool ToSeconds(const std::string& text, int& ms) {
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !(v >= 0 && v <= 86400)) return false;
    ms = static_cast<int>(v * 1000 + 0.5);
    return true;
}

bool ParseBadAnswer(const std::string& spec, Faults& f) {
    std::istringstream in(spec);
    std::string code, kind, count;
    std::getline(in, code, ':');
    std::getline(in, kind, ':');
    std::getline(in, count);
    f.badCount = 0;
    return ToInt(code, 16, 0, 255, f.badCode) && BadAnswerFromName(kind.c_str(), f.badKind) &&
           (count.empty() || ToInt(count, 10, 0, 1000000, f.badCount));
}

bool IsValued(const std::string& arg) {
    static const char* const kValued[] = {
        "--link",          "--path-file",       "--log",           "--firmware-dir",
        "--store",         "--silent-after",    "--late",          "--bad-answer",
        "--ymodem-no-ack", "--ymodem-nak-once", "--ymodem-cancel", "--ymodem-timeout"};
    for (const char* v : kValued)
        if (arg == v) return true;
    return false;
}

bool LoadStore(const std::string& path, Store& s, std::string& error) {
    const textfile::ReadResult read = textfile::ReadWholeFile(path, 1 << 20);
    if (read.status == textfile::Status::TooLarge) {
        error = "store " + path + " is too large";
        return false;
    }
    if (read.status != textfile::Status::Ok) {
        error = "cannot read store " + path + ": " +
                (read.error != 0 ? std::strerror(read.error) : textfile::Describe(read.status));
        return false;
    }
    std::string why;
    if (!StoreFromText(read.bytes, s, why)) {
        error = "store " + path + ", " + why;
        return false;
    }
    return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, Options& out, bool& help, std::string& error) {
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        auto bad = [&](const std::string& v) {
            error = "bad value for " + arg + ": \"" + v + "\"";
            return false;
        };
        std::string v;
        Faults& f = out.faults;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--json") {
            out.jsonLog = true;
        } else if (arg == "--silent") {
            f.silent = true;
        } else if (arg == "--garbage") {
            f.garbage = true;
        } else if (arg == "--two-in-one") {
            f.twoInOneWrite = true;
        } else if (arg == "--answer-end") {
            f.answerEndReadBack = true;
        } else if (arg == "--ymodem-no-c") {
            f.ymodem.neverSendC = true;
        } else if (arg == "--ymodem-drop-eot-ack") {
            f.ymodem.dropEotAck = true;
        } else if (!IsValued(arg)) {
            error = "unknown option " + arg;
            return false;
        } else if (!value(v)) {
            return false;
        } else if (arg == "--link") {
            out.linkPath = v;
        } else if (arg == "--path-file") {
            out.pathFile = v;
        } else if (arg == "--log") {
            out.logPath = v;
        } else if (arg == "--firmware-dir") {
            out.firmwareDir = v;
        } else if (arg == "--store") {
            if (!LoadStore(v, out.start, error)) return false;
        } else if (arg == "--silent-after") {
            if (!ToSeconds(v, f.silentAfterMs)) return bad(v);
        } else if (arg == "--late") {
            if (!ToInt(v, 10, 0, 600000, f.lateMs)) return bad(v);
        } else if (arg == "--bad-answer") {
            if (!ParseBadAnswer(v, f)) return bad(v);
        } else if (arg == "--ymodem-no-ack") {
            if (!ToInt(v, 10, 0, 1 << 20, f.ymodem.noAckBlock)) return bad(v);
        } else if (arg == "--ymodem-nak-once") {
            if (!ToInt(v, 10, 0, 1 << 20, f.ymodem.nakOnceBlock)) return bad(v);
        } else if (arg == "--ymodem-cancel") {
            if (!ToInt(v, 10, 0, 1 << 20, f.ymodem.cancelAtBlock)) return bad(v);
        } else if (arg == "--ymodem-timeout") {
            if (!ToInt(v, 10, 100, 3600000, out.ymodemTimeoutMs)) return bad(v);
        }
    }
    return true;
}

}  // namespace sim
