#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/console/support.h"

using textfile::Status;

namespace {

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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

}  // namespace
