#include "console/preset_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/text_file.h"
#include "tests/console/support.h"

using textfile::Status;

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
    return one(v.master[0]) + " " + one(v.master[1]) + " " + one(v.master[2]) + " | " + many(v.music) +
           " | " + many(v.direct) + " | " + many(v.echo) + " | " + many(v.reverb) + " | " + many(v.delay) +
           " | " + one(v.echoHighPass) + " " + one(v.echoLowPass) + " " + one(v.reverbHighPass) + " " +
           one(v.reverbLowPass);
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
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(preset::SplitFileLines(c.bytes), c.lines) << c.name;

    TempDir dir("preset_lines");
    WriteBytes(dir.File("odd"), AsciiUtf16("[vol]\n6") + "7");
    EXPECT_EQ(preset::ReadTextLines(dir.File("odd")).status, preset::ReadStatus::Damaged);
}

TEST(TextFile, EncodesAndDecodesUtf16Le) {
    const std::string fffd16("\xFD\xFF", 2);
    // clang-format off
    // both: also decodes back
    const struct { std::string utf8, utf16; bool both; } cases[] = {
        {"[v]\n", std::string("[\0v\0]\0\n\0", 8), true},
        {"信", "\xE1\x4F", true},                                  // U+4FE1
        {"\xF0\x9F\x8E\xB5", "\x3C\xD8\xB5\xDF", true},            // U+1F3B5, a surrogate pair
        {std::string("a\0", 2), std::string("a\0\0\0", 4), true},  // U+0000 kept
        {"\xFF", fffd16, false},                                   // malformed
        {"\xE4\xBF", fffd16 + fffd16, false},                      // cut sequence
        {"\xC0\xAF", fffd16, false},                               // overlong
        {"\xED\xA0\x80", fffd16, false},                           // encoded surrogate
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(textfile::EncodeUtf16Le(c.utf8), c.utf16) << c.utf8;
        if (c.both) {
            EXPECT_EQ(textfile::DecodeUtf16Le(c.utf16).text, c.utf8) << c.utf8;
        }
    }
    EXPECT_EQ(textfile::DecodeUtf16Le(std::string("\x00\xDCx\0", 4)).text,
              "\xEF\xBF\xBDx");  // lone surrogate
    const auto odd = textfile::DecodeUtf16Le(std::string("1\0002\0003", 5));
    EXPECT_EQ(odd.status, Status::OddLength);
    EXPECT_EQ(odd.text, "12");
}

// Missing files and folders are checked through the main window's Import.
TEST(TextFile, ReadsWholeWithinTheCap) {
    TempDir dir("text_file_read");
    WriteBytes(dir.File("ok"), std::string(1000, 'x'));
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("ok"), 1000).bytes, std::string(1000, 'x'));
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("ok"), 999).status, Status::TooLarge);
}

TEST(TextFile, WritesAtomicallyOrLeavesEverythingAsItWas) {
    TempDir dir("text_file_write");
    const std::string path = dir.File("a.inf");
    ASSERT_EQ(textfile::WriteFileAtomically(path, "first, longer"), Status::Ok);
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(textfile::WriteFileAtomically(path, "second"), Status::Ok);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(std::make_pair(ReadBytes(path), st.st_mode & 0777),
              std::make_pair(std::string("second"), 0600u));
    // A link is followed: its target changes, the link stays.
    std::filesystem::create_symlink(path, dir.File("link"));
    ASSERT_EQ(textfile::WriteFileAtomically(dir.File("link"), "third"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")) && ReadBytes(path) == "third");

    std::filesystem::create_directory(dir.File("folder"));
    for (const std::string& bad : {dir.File("missing/a.inf"), dir.File("folder"), std::string()}) {
        int error = 0;
        EXPECT_TRUE(textfile::WriteFileAtomically(bad, "data", &error) == Status::WriteFailed && error != 0)
            << bad;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
    // Nothing but the file, the link and the folder: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 3);
}

}  // namespace
