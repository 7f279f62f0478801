#include "console/preset_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <regex>

#include "platform/text_file.h"
#include "tests/console/support.h"
#include "tests/console/unprivileged.h"

using textfile::Status;

namespace {
// A file system that stops taking bytes: while this is set, pwrite answers 0.
bool g_pwriteStalls = false;
}  // namespace

// The writer's positioned writes land here rather than in the C library: the program's own
// definition wins at link time. Otherwise it passes every call through unchanged.
extern "C" ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
    if (g_pwriteStalls) return 0;
    return ::syscall(SYS_pwrite64, fd, buf, n, offset);
}

namespace {

// What a parse found, compactly: "-" for an unset entry.
std::string Found(const preset::MainSectionValues& v) {
    auto one = [](const std::optional<int>& x) { return x ? std::to_string(*x) : std::string("-"); };
    auto many = [](const auto& x) {
        std::string s = x ? "" : "-";
        for (std::size_t i = 0; x && i < x->size(); ++i)
            s.append(i ? "," : "").append(std::to_string((*x)[i]));
        return s;
    };
    return one(v.master[console::master::kMic]) + " " + one(v.master[console::master::kEffect]) + " " +
           one(v.master[console::master::kMusic]) + " | " + many(v.music) + " | " + many(v.direct) + " | " +
           many(v.echo) + " | " + many(v.reverb) + " | " + many(v.delay) + " | " + one(v.echoHighPass) + " " +
           one(v.echoLowPass) + " " + one(v.reverbHighPass) + " " + one(v.reverbLowPass);
}

// "a|b|c" -> {"a", "b", "c"}
std::vector<std::string> Lines(const std::string& joined) {
    std::vector<std::string> lines(1);
    for (char c : joined) c == '|' ? lines.emplace_back() : lines.back() += c;
    return lines;
}

// Carriage returns and a byte-order mark are checked on whole files through the main window.
TEST(PresetParse, MainSectionsAsTheFileHoldsThem) {
    const std::string none = "- - - | - | - | - | - | - | - - - -";
    // clang-format off
    const struct { const char *lines, *found; } cases[] = {
        {"[vol]|60|50|70|[music vol]|1,2,3,4,5,6|[direct vol]|11,12,13,14,15,16|[echo vol]|21,22,23,24,25,26|"
         "[reverb vol]|31,32,33,34,35,36|[delay]|1,2,3,4,5,6|[effect echo high pass]|120|"
         "[effect echo low pass]|9000|[effect reverb high pass]|80|[effect reverb low pass]|12000",
         "60 50 70 | 1,3,4,5 | 11,13,14,15 | 21,23,24,25 | 31,33,34,35 | 1,2,3,4,5,6 | 120 9000 80 12000"},
        {"x|[vol]|7", "7 - - | - | - | - | - | - | - - - -"},               // vol last but one
        {"1|[vol]", none.c_str()},                                          // vol last
        {"[vol]|9|[music vol]|10,20,30,40,50,60", "9 - - | 10,30,40,50 | - | - | - | - | - - - -"},
        {"[vol]|abc|-5x| +8", "0 -5 8 | - | - | - | - | - | - - - -"},     // not a number counts 0
        {"[music vol]|10,20,30,40,50", none.c_str()},                       // five pieces
        {"[delay]|1,2,3,4,5,6,7", none.c_str()},                            // seven pieces
        {"[music vol]|10,,20,30,40,50,60", "- - - | 10,30,40,50 | - | - | - | - | - - - -"},  // empty piece dropped
        {"[echo vol]|1,1,1,1,1,1|[Echo Vol]|2,2,3,4,5,5|[echo vol]|9", "- - - | - | - | 2,3,4,5 | - | - | - - - -"},
        {"[effect echo high pass]|[effect echo low pass]|900", "- - - | - | - | - | - | - | - 900 - -"},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(Found(preset::ParseMainSections(Lines(c.lines))), c.found) << c.lines;
}

TEST(PresetLines, SplitLikeTheFileReader) {
    // clang-format off
    const struct { const char* name; std::string bytes; std::vector<std::string> lines; } cases[] = {
        {"blank lines dropped", AsciiUtf16("[vol]\n\n\n60\n"), {"[vol]", "60"}},
        {"no final line end", AsciiUtf16("a\nb"), {"a", "b"}},
        {"ends at the first nul", AsciiUtf16("a\nb") + std::string(2, '\0') + AsciiUtf16("\nc"), {"a", "b"}},
        {"stray last byte dropped", AsciiUtf16("a\nbc") + "\n", {"a", "bc"}},
        {"CRLF line ends", AsciiUtf16("[vol]\r\n60\r\n\r\n"), {"[vol]", "60"}},
        {"byte-order mark dropped", "\xFF\xFE" + AsciiUtf16("[vol]\n"), {"[vol]"}},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(preset::SplitFileLines(c.bytes), c.lines) << c.name;
}

TEST(PresetLines, ShapesCountTheValueLinesOfEverySection) {
    const preset::SectionShapes shapes =
        preset::ShapesOf("[vol]\n1\n2\n3\n\n[Music Vol]\n1,2\n\n[bass eq]\n1\n2\n0\n");
    EXPECT_EQ(shapes, (preset::SectionShapes{{"[vol]", 3}, {"[music vol]", 1}, {"[bass eq]", 3}}));
}

// Each file either passes whole (its lines given) or is refused with nothing to apply.
TEST(PresetLines, OnlyWellFormedFilesPass) {
    const std::string mains =
        "[vol]\n1\n2\n3\n\n[music vol]\n1,1,2,3,4,4\n\n[direct vol]\n1,1,2,3,4,4\n\n[echo "
        "vol]\n1,1,2,3,4,4\n\n"
        "[reverb vol]\n1,1,2,3,4,4\n\n[delay]\n1,2,3,4,5,6\n\n";
    const std::string whole = mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n0\n\n";  // an empty line ends it
    const preset::SectionShapes shapes = preset::ShapesOf(whole);
    const std::string good = AsciiUtf16(whole);
    std::string utf16be;
    for (std::size_t i = 0; i < good.size(); i += 2) utf16be += std::string{good[i + 1], good[i]};
    using preset::ReadStatus;
    // clang-format off
    const struct { const char* name; std::string bytes; ReadStatus status; } cases[] = {
        {"as written", good, ReadStatus::Ok},
        {"byte-order mark and CRLF", "\xFF\xFE" + AsciiUtf16(std::regex_replace(whole, std::regex("\n"), "\r\n")),
         ReadStatus::Ok},
        {"odd byte count", good + "\n", ReadStatus::Malformed},
        {"UTF-8", whole, ReadStatus::Malformed},
        {"UTF-16BE", utf16be, ReadStatus::Malformed},
        {"unpaired surrogate", good + std::string("\x00\xD8", 2) + AsciiUtf16("\n"), ReadStatus::Malformed},
        {"no [delay]", AsciiUtf16(std::regex_replace(whole, std::regex("\\[delay\\]"), "[dealy]")),
         ReadStatus::Malformed},
        {"last section cut at a line end", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n"),
         ReadStatus::Malformed},
        {"last section short, then an empty line", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n\n"),
         ReadStatus::Malformed},
        {"last empty line cut", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n0\n"), ReadStatus::Ok},
        {"blank and space-only lines after the end", AsciiUtf16(whole + "\n  \n\t\r\n \t"), ReadStatus::Ok},
        {"last line ends in a CR alone", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n0\r"),
         ReadStatus::Malformed},
        {"last line cut, then blanks", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n0 \t"),
         ReadStatus::Malformed},
        {"a page's section missing", AsciiUtf16(mains), ReadStatus::Malformed},
        {"sections in another order", AsciiUtf16("[bass eq]\n1,0,100,1\n2,0,100,1\n0\n\n" + mains), ReadStatus::Ok},
        {"a NUL at a line start", AsciiUtf16(mains) + std::string(2, '\0') + AsciiUtf16(whole.substr(mains.size())),
         ReadStatus::Malformed},
        {"a NUL before the last line end", AsciiUtf16(whole.substr(0, whole.size() - 1)) + std::string(2, '\0') +
         AsciiUtf16("\n"), ReadStatus::Malformed},
        {"a NUL as the last character", good + std::string(2, '\0'), ReadStatus::Ok},
        {"last line cut", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n2,0,100,1\n0"), ReadStatus::Malformed},
        {"cut inside a header", AsciiUtf16(mains + "[bass"), ReadStatus::Malformed},
        {"an unknown last section", AsciiUtf16(whole + "[later]\n\n"), ReadStatus::Ok},
        {"a line missing mid-file", AsciiUtf16(mains + "[bass eq]\n1,0,100,1\n0\n[vol]\n1\n2\n3\n\n"),
         ReadStatus::Ok},
    };
    // clang-format on
    for (const auto& c : cases) {
        const preset::ReadLinesResult r = preset::ParseFileBytes(c.bytes, shapes);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.why;
        EXPECT_EQ(r.lines.empty(), c.status != ReadStatus::Ok) << c.name;
    }
    EXPECT_EQ(preset::ParseFileBytes(AsciiUtf16(whole + " \n\t\n"), shapes).lines,
              preset::ParseFileBytes(good, shapes).lines)
        << "the blank lines after the end reached the pages";
}

TEST(TextFile, EncodesAndDecodesUtf16Le) {
    const std::string fffd16("\xFD\xFF", 2);
    // clang-format off
    // both: also decodes back
    const struct { const char* name; std::string utf8, utf16; bool both; } cases[] = {
        {"ASCII", "[v]\n", std::string("[\0v\0]\0\n\0", 8), true},
        {"U+4FE1", "信", "\xE1\x4F", true},
        {"U+1F3B5, a surrogate pair", "\xF0\x9F\x8E\xB5", "\x3C\xD8\xB5\xDF", true},
        {"U+0000 kept", std::string("a\0", 2), std::string("a\0\0\0", 4), true},
        {"malformed", "\xFF", fffd16, false},
        {"cut sequence", "\xE4\xBF", fffd16 + fffd16, false},
        {"overlong", "\xC0\xAF", fffd16, false},
        {"encoded surrogate", "\xED\xA0\x80", fffd16, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(textfile::EncodeUtf16Le(c.utf8), c.utf16) << c.name << ": encoded";
        if (c.both) {
            EXPECT_EQ(textfile::DecodeUtf16Le(c.utf16).text, c.utf8) << c.name << ": decoded back";
        }
    }
    EXPECT_EQ(textfile::DecodeUtf16Le(std::string("\x00\xDCx\0", 4)).text,
              "\xEF\xBF\xBDx");  // lone surrogate
    const auto odd = textfile::DecodeUtf16Le(std::string("1\0002\0003", 5));
    EXPECT_EQ(odd.status, Status::OddLength);
    EXPECT_EQ(odd.text, "12");
}

// Missing files and folders are checked through the main window's Import.
TEST(TextFile, ReadsWholeWithinTheCapAndNeverWaitsOnAPipe) {
    TempDir dir("text_file_read");
    WriteBytes(dir.File("ok"), std::string(1000, 'x'));
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("ok"), 1000).bytes, std::string(1000, 'x'));
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("ok"), 999).status, Status::TooLarge);
    // A pipe with no writer: a blocking open would wait here for ever (the test would hang).
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("pipe")).status, Status::OpenFailed);
    EXPECT_EQ(textfile::ReadWholeFile("/dev/null").status, Status::OpenFailed);
    EXPECT_EQ(textfile::ReadWholeFile(dir.path.string()).status, Status::OpenFailed);
}

TEST(TextFile, WritesAtomicallyOrLeavesEverythingAsItWas) {
    TempDir dir("text_file_write");
    const std::string path = dir.File("a.inf");
    ASSERT_EQ(textfile::WriteFileAtomically(path, "first, longer"), Status::Ok);
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(textfile::WriteFileAtomically(path, "second"), Status::Ok);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the mode was not kept";
    // A link is written through: its target changes, the link stays; also a link to a file not made yet.
    std::filesystem::create_symlink(path, dir.File("link"));
    ASSERT_EQ(textfile::WriteFileAtomically(dir.File("link"), "third"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")));
    EXPECT_EQ(ReadBytes(path), "third");
    std::filesystem::create_symlink("new.inf", dir.File("ahead"));
    ASSERT_EQ(textfile::WriteFileAtomically(dir.File("ahead"), "fourth"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("ahead")));
    EXPECT_EQ(ReadBytes(dir.File("new.inf")), "fourth");
    // A read-only file is refused and left as it is (also for root, who could write it).
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(textfile::WriteFileAtomically(path, "fifth"), Status::ReadOnly);
    EXPECT_EQ(ReadBytes(path), "third");
    ::chmod(path.c_str(), 0600);

    std::filesystem::create_directory(dir.File("folder"));
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    for (const std::string& bad :
         {dir.File("missing/a.inf"), dir.File("folder"), dir.File("pipe"), std::string()}) {
        int error = 0;
        EXPECT_NE(textfile::WriteFileAtomically(bad, "data", &error), Status::Ok) << bad;
        EXPECT_NE(error, 0) << bad;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
    // Nothing but the files, the links, the folder and the pipe: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 6);
}

// Run by a user whom the folder's permissions bind (nobody, when the tests run as root). The child
// starts with SIGXFSZ at its default, so it is the writer that keeps the file-size limit from ending it.
TEST(TextFile, AFolderThatRefusesNewFilesGetsItsWritableFileRewrittenInPlace) {
    unprivileged::SharedDir dir;
    const std::string path = dir.File("zem.inf");
    const std::string huge = dir.File("huge.inf");
    WriteBytes(path, "old and longer");
    WriteBytes(huge, "old");
    ASSERT_EQ(::truncate(huge.c_str(), textfile::kDefaultMaxBytes + 1), 0);
    dir.GiveToCheckUser(path);
    dir.GiveToCheckUser(huge);
    ::chmod(dir.path.c_str(), 0555);
    const int status = unprivileged::Run([&] {
        ::signal(SIGXFSZ, SIG_DFL);
        // A disk with room for 20 bytes of this file: the longer text cannot be written.
        const rlimit room{20, 20};
        if (::setrlimit(RLIMIT_FSIZE, &room) != 0) return 5;
        if (textfile::WriteFileAtomically(path, std::string(64, 'x')) != Status::WriteFailed) return 3;
        if (ReadBytes(path) != "old and longer") return 4;
        // Nothing can be written or put back: still the old bytes, and no reserved room past them.
        g_pwriteStalls = true;
        const Status stalled = textfile::WriteFileAtomically(path, std::string(18, 'y'));
        g_pwriteStalls = false;
        if (stalled != Status::WriteFailed || ReadBytes(path) != "old and longer") return 6;
        // Its old bytes would have to be held in memory: refused, untouched.
        if (textfile::WriteFileAtomically(huge, "new") != Status::WriteFailed) return 7;
        if (textfile::WriteFileAtomically(path, "new") != Status::Ok) return 1;
        if (textfile::WriteFileAtomically(dir.File("other.inf"), "new") != Status::WriteFailed) return 2;
        return 0;
    });
    ::chmod(dir.path.c_str(), 0755);
    EXPECT_EQ(status, 0) << unprivileged::Why(
        status, {"the writable file was not rewritten in place", "a new file in the folder did not fail",
                 "a write that did not fit was not refused", "a write that did not fit lost the old bytes",
                 "the file size limit could not be set",
                 "a write that took no byte did not fail, or did not leave exactly the old bytes",
                 "an old file over the read cap was rewritten"});
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(std::filesystem::file_size(huge), textfile::kDefaultMaxBytes + 1);
    EXPECT_EQ(ReadBytes(huge).substr(0, 4), std::string("old\0", 4));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2) << "a file was left";
}

// The temporary file's write fails part-way: after the limit's 20 bytes, and when no byte goes in.
TEST(TextFile, AWriteCutShortLeavesTheOldFileAndNoTemporaryFile) {
    unprivileged::SharedDir dir;
    const std::string path = dir.File("zem.inf");
    WriteBytes(path, "old");
    dir.GiveToCheckUser(path);
    dir.GiveToCheckUser(dir.path);
    const int status = unprivileged::Run([&] {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit room{20, 20};
        if (::setrlimit(RLIMIT_FSIZE, &room) != 0) return 3;
        if (textfile::WriteFileAtomically(path, std::string(64, 'x')) != Status::WriteFailed) return 1;
        g_pwriteStalls = true;
        const Status stalled = textfile::WriteFileAtomically(path, "new");
        g_pwriteStalls = false;
        return stalled == Status::WriteFailed ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << unprivileged::Why(
        status, {"a write past the file-size limit was not refused", "a write that took no byte did not fail",
                 "the file size limit could not be set"});
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1)
        << "a temporary file was left";
}

}  // namespace
