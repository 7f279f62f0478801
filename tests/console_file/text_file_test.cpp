#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "temp_dir.h"

using textfile::Status;

namespace {

struct CodecCase {
    const char* name;
    std::string utf8;
    std::string utf16;
};

TEST(TextFileCodec, EncodesAndDecodesBothWays) {
    const CodecCase cases[] = {
        {"ascii", "[vol]\n", std::string("[\0v\0o\0l\0]\0\n\0", 12)},
        {"cjk", "信", std::string("\xE1\x4F", 2)},  // U+4FE1
        {"two bytes", "\xC3\xA9", std::string("\xE9\0", 2)},
        {"surrogate pair", "\xF0\x9F\x8E\xB5", std::string("\x3C\xD8\xB5\xDF", 4)},  // U+1F3B5
        {"nul kept", std::string("a\0b", 3), std::string("a\0\0\0b\0", 6)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textfile::EncodeUtf16Le(c.utf8), c.utf16) << c.name;
        const auto decoded = textfile::DecodeUtf16Le(c.utf16);
        EXPECT_EQ(decoded.status, Status::Ok) << c.name;
        EXPECT_EQ(decoded.text, c.utf8) << c.name;
    }
}

TEST(TextFileCodec, MalformedInputBecomesReplacementCharacters) {
    const std::string fffd16("\xFD\xFF", 2);
    const std::string fffd8 = "\xEF\xBF\xBD";
    EXPECT_EQ(textfile::EncodeUtf16Le("\xFF"), fffd16);
    EXPECT_EQ(textfile::EncodeUtf16Le("\xE4\xBF"), fffd16 + fffd16);  // cut three-byte sequence
    EXPECT_EQ(textfile::EncodeUtf16Le("\xC0\xAF"), fffd16);           // overlong '/'
    EXPECT_EQ(textfile::EncodeUtf16Le("\xED\xA0\x80"), fffd16);       // encoded surrogate
    EXPECT_EQ(textfile::DecodeUtf16Le(std::string("\x00\xD8x\0", 4)).text, fffd8 + "x");  // lone high
    EXPECT_EQ(textfile::DecodeUtf16Le(std::string("\x00\xDC", 2)).text, fffd8);           // lone low
}

TEST(TextFileCodec, OddByteCountIsReportedWithTheWholeUnits) {
    const auto decoded = textfile::DecodeUtf16Le(std::string("1\0002\0003", 5));
    EXPECT_EQ(decoded.status, Status::OddLength);
    EXPECT_EQ(decoded.text, "12");
    EXPECT_STRNE(textfile::Describe(Status::OddLength), textfile::Describe(Status::Ok));
}

TEST(TextFileRead, ReadsWholeOrReportsWhy) {
    TempDir dir("text_file_read");
    const std::string bytes(1000, 'x');
    WriteBytes(dir.File("ok"), bytes);
    WriteBytes(dir.File("empty"), "");

    const auto ok = textfile::ReadWholeFile(dir.File("ok"), 1000);
    EXPECT_EQ(ok.status, Status::Ok);
    EXPECT_EQ(ok.bytes, bytes);
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("ok"), 999).status, Status::TooLarge);
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("empty")).status, Status::Ok);
    EXPECT_EQ(textfile::ReadWholeFile(dir.File("missing")).status, Status::OpenFailed);
    EXPECT_EQ(textfile::ReadWholeFile(dir.Path().string()).status, Status::OpenFailed);  // a folder
}

TEST(TextFileWrite, ReplacesWholeAndKeepsPermissions) {
    TempDir dir("text_file_write");
    const std::string path = dir.File("a.inf");
    EXPECT_EQ(textfile::WriteFileAtomically(path, "first, longer content"), Status::Ok);
    EXPECT_EQ(ReadBytes(path), "first, longer content");
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(textfile::WriteFileAtomically(path, "second"), Status::Ok);
    EXPECT_EQ(ReadBytes(path), "second");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(TextFileWrite, FollowsASymbolicLink) {
    TempDir dir("text_file_link");
    const std::string target = dir.File("target.inf");
    const std::string link = dir.File("link.inf");
    WriteBytes(target, "old");
    std::filesystem::create_symlink(target, link);
    EXPECT_EQ(textfile::WriteFileAtomically(link, "new"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST(TextFileWrite, FailureLeavesEverythingAsItWas) {
    TempDir dir("text_file_fail");
    std::filesystem::create_directory(dir.File("folder"));
    WriteBytes(dir.File("folder/inside"), "kept");
    const std::string paths[] = {dir.File("missing/a.inf"), dir.File("folder"), ""};
    for (const auto& path : paths) {
        int error = 0;
        EXPECT_EQ(textfile::WriteFileAtomically(path, "data", &error), Status::WriteFailed) << path;
        EXPECT_NE(error, 0) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
    EXPECT_EQ(ReadBytes(dir.File("folder/inside")), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
