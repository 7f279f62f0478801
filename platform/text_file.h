#pragma once
// Files as the console reads and writes them: UTF-16LE text without a byte-order mark (the preset
// files) converted from and to the UTF-8 strings the console works with; one whole-file read (never
// blocks on a pipe or a device, regular files only, with a size cap) and one safe writer (a crash or
// a full disk never leaves a half-written file in place of the old one) for every file we keep.

#include <cstddef>
#include <string>
#include <string_view>

namespace textfile {

// Far above any preset file; guards against reading a wrong, huge file into memory.
constexpr std::size_t kDefaultMaxBytes = 4u << 20;

enum class Status {
    Ok,
    OpenFailed,   // missing, unreadable or not a regular file
    ReadFailed,   // an error part-way, or fewer bytes than the file's size
    TooLarge,     // over the caller's cap
    OddLength,    // not a whole number of UTF-16 code units
    WriteFailed,  // the temporary file could not be created, written, flushed or renamed
    ReadOnly,     // the existing file is read-only or not a regular file: left as it is
};

// A short English description for logs and tests.
const char* Describe(Status status);

// UTF-8 to UTF-16LE bytes, no byte-order mark. Malformed UTF-8 becomes U+FFFD.
std::string EncodeUtf16Le(std::string_view utf8);

struct Decoded {
    Status status = Status::Ok;  // Ok or OddLength
    std::string text;            // UTF-8; on OddLength the whole code units before the stray byte
    int replaced = 0;            // unpaired surrogates replaced by U+FFFD
};
// UTF-16LE bytes to UTF-8. Unpaired surrogates become U+FFFD; U+0000 is kept as a 0 byte.
Decoded DecodeUtf16Le(std::string_view bytes);

struct ReadResult {
    Status status = Status::Ok;
    std::string bytes;
    int error = 0;  // errno where the system reported one
};
// Reads the whole regular file at `path` (at most maxBytes). The open never waits: a pipe, a device,
// a socket or a folder gives OpenFailed at once.
ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes = kDefaultMaxBytes);

// Writes `bytes` to a temporary file next to `path` (a unique name, created exclusively, so a link
// planted there is never followed), flushes it to disk and renames it over `path`, keeping the old
// file's mode. On any failure the temporary file is removed and an existing file at `path` is left as
// it was. A symbolic link at `path` is written through (its target is replaced, the link stays). An
// existing target that is read-only (or not a regular file) is refused with ReadOnly. When the folder
// refuses a new file but the target itself is writable, the target is rewritten in place.
// Over an old file larger than kDefaultMaxBytes that rewrite is refused (WriteFailed, EFBIG).
Status WriteFileAtomically(const std::string& path, std::string_view bytes, int* error = nullptr);

// Ignores SIGXFSZ for the whole process, so that a write past the file-size limit (ulimit -f) fails
// with EFBIG like any other failed write instead of ending the console. Every writer of ours calls it
// before it writes.
void IgnoreFileSizeSignal();

}  // namespace textfile
