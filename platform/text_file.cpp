#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace textfile {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUnit(std::string& out, std::uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// One code point from the front of `in` (advanced past it); malformed input gives U+FFFD and
// consumes one byte, so decoding always moves on.
char32_t NextUtf8(std::string_view& in) {
    const auto b0 = static_cast<unsigned char>(in[0]);
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        in.remove_prefix(1);
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        in.remove_prefix(1);
        return kReplacement;
    }
    if (in.size() <= static_cast<std::size_t>(extra)) {
        in.remove_prefix(1);
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if ((b & 0xC0) != 0x80) {
            in.remove_prefix(1);
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    in.remove_prefix(extra + 1);
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    return c;
}

// The file a write to `path` should replace: the end of a chain of symbolic links (also one that
// points at a file not made yet), else the path itself.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return current;
        link.resize(static_cast<std::size_t>(n));
        const auto slash = current.find_last_of('/');
        if (link.front() != '/' && slash != std::string::npos) link = current.substr(0, slash + 1) + link;
        current = link;
    }
    return current;
}

// Whether the existing file may be written: the user's permission, and at least one write bit (root
// may write anything, but a file marked read-only is meant to stay as it is).
bool Writable(const std::string& target, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// Writes all the bytes from the file's start. A write that makes no progress (a misbehaving file
// system answering 0) fails like an error instead of spinning here.
bool WriteAllAt(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file's bytes through an open descriptor; nullopt when they cannot be read.
std::optional<std::string> ReadAllAt(int fd, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t got = 0; got < size;) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    return bytes;
}

// Rewrites the file itself without ever losing the old bytes: the room for the new ones is reserved
// first (a full disk refuses it while the old file is still whole), and a write that fails all the
// same puts the old bytes back. The old bytes are held in memory meanwhile, so an old file larger
// than any file the console reads is refused, untouched. 0 or the errno of the step that failed.
int RewriteInPlace(const std::string& target, std::string_view bytes) {
    const int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    std::optional<std::string> old;
    bool overwriting = false;
    int err = 0;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = EINVAL;
    } else if (static_cast<std::uint64_t>(st.st_size) > kDefaultMaxBytes) {
        err = EFBIG;
    } else if (!(old = ReadAllAt(fd, static_cast<std::size_t>(st.st_size)))) {
        err = EIO;
    } else if (!bytes.empty() && (err = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()))) != 0) {
        // Refused before a byte was written: only the reservation past the old end goes again below.
    } else {
        overwriting = true;
        if (!WriteAllAt(fd, bytes) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 ||
            ::fsync(fd) != 0)
            err = errno;
    }
    if (err != 0 && old) {
        // Back to the old bytes and the old length, also when nothing had been overwritten (the
        // reservation's zeros past the old end go) or the put-back itself fails part-way.
        if (overwriting) WriteAllAt(fd, *old);
        if (::ftruncate(fd, st.st_size) != 0 || ::fsync(fd) != 0) {
            // Nothing more can be done here; the caller reports the failure.
        }
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

// The rename is only durable once the folder's entry is on disk too.
void SyncFolderOf(const std::string& target) {
    const auto slash = target.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

const char* Describe(Status status) {
    switch (status) {
        case Status::Ok:
            return "ok";
        case Status::OpenFailed:
            return "the file cannot be opened";
        case Status::ReadFailed:
            return "the file could not be read whole";
        case Status::TooLarge:
            return "the file is too large";
        case Status::OddLength:
            return "odd byte count: not UTF-16LE text";
        case Status::WriteFailed:
            return "the file could not be written";
        case Status::ReadOnly:
            return "the file is read-only";
    }
    return "unknown";
}

std::string EncodeUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    while (!utf8.empty()) {
        const char32_t c = NextUtf8(utf8);
        if (c < 0x10000) {
            AppendUnit(out, static_cast<std::uint16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            AppendUnit(out, static_cast<std::uint16_t>(0xD800 | (v >> 10)));
            AppendUnit(out, static_cast<std::uint16_t>(0xDC00 | (v & 0x3FF)));
        }
    }
    return out;
}

Decoded DecodeUtf16Le(std::string_view bytes) {
    Decoded result;
    if (bytes.size() % 2 != 0) result.status = Status::OddLength;
    const std::size_t units = bytes.size() / 2;
    result.text.reserve(units);
    auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint16_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(result.text, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        const bool unpaired = u >= 0xD800 && u <= 0xDFFF;
        result.replaced += unpaired;
        AppendUtf8(result.text, unpaired ? kReplacement : char32_t(u));
    }
    return result;
}

ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    ReadResult result;
    // Non-blocking: opening a pipe with no writer, or a device, must not hang the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.status = Status::OpenFailed;
        result.error = errno;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.status = Status::OpenFailed;
        result.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return result;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxBytes) {
        result.status = Status::TooLarge;
        ::close(fd);
        return result;
    }
    // Read up to one byte past the size: a file that grew or shrank meanwhile is not read whole.
    std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.status = Status::ReadFailed;
            result.error = errno;
            ::close(fd);
            return result;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != size) {
        result.status = Status::ReadFailed;
        return result;
    }
    buffer.resize(got);
    result.bytes = std::move(buffer);
    return result;
}

void IgnoreFileSizeSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes, int* error) {
    IgnoreFileSizeSignal();
    auto finish = [&](Status status, int err) {
        if (error) *error = err;
        return status;
    };
    if (path.empty()) return finish(Status::WriteFailed, ENOENT);
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || !Writable(target, old)))
        return finish(Status::ReadOnly, S_ISREG(old.st_mode) ? EACCES : EISDIR);

    std::vector<char> temp(target.begin(), target.end());
    const std::string_view suffix = ".tmp-XXXXXX";
    temp.insert(temp.end(), suffix.begin(), suffix.end());
    temp.push_back('\0');
    // mkostemp creates the name exclusively: a link planted under it is never followed.
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        // A folder the user may not add to, holding a file the user may write: rewrite that file.
        if (exists && (err == EACCES || err == EPERM)) {
            const int inPlace = RewriteInPlace(target, bytes);
            return inPlace == 0 ? finish(Status::Ok, 0) : finish(Status::WriteFailed, inPlace);
        }
        return finish(Status::WriteFailed, err);
    }

    // Keep the old file's permissions and, where allowed, its owner; a new file gets rw-r--r--.
    const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    if (exists && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only root may give a file away; the new file then stays the writer's own.
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAllAt(fd, bytes) && ::fsync(fd) == 0;
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.data(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.data());
        return finish(Status::WriteFailed, err);
    }
    SyncFolderOf(target);
    return finish(Status::Ok, 0);
}

}  // namespace textfile
