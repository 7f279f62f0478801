#include "platform/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "console/console_config.h"
#include "support.h"

namespace {

TEST(Ini, FindsTheValueInTheFirstMatchingSection) {
    // clang-format off
    // expected null: not found; always [Config] Language
    const struct { const char *text, *expected; } rows[] = {
        {"[Config]\nLanguage=3\n", "3"},
        {"[config]\nLANGUAGE=2\n", "2"},
        {"  [ Config ]  \n  Language =  40  \n", "40"},
        {"[Config]\nLanguage=4", "4"},
        {"[Config]\nLanguage=\n", ""},
        {"[Config]\nLanguage=1\n[Config]\nLanguage=2\n", "1"},
        {"[Config]\na=1\n[Other]\nLanguage=3\n", nullptr},
        {"[Config]\n;Language=3\n", nullptr},
        {"Language=3\n[Config]\n", nullptr},
        {"[Config]\nLanguageX=3\n", nullptr},
        // clang-format on
    };
    for (const auto& r : rows) {
        const auto value = ini::FindValue(r.text, "Config", "Language");
        EXPECT_EQ(value.value_or("<none>"), r.expected ? r.expected : "<none>") << r.text;
    }
}

TEST(Ini, WritingKeepsEveryOtherLine) {
    // clang-format off
    // writing Language=3 into [Config]
    const struct { const char *before, *after; } rows[] = {
        {"", "[Config]\nLanguage=3\n"},
        {"; top\n[Config]\nm=80\nLanguage=1\nx=40\n", "; top\n[Config]\nm=80\nLanguage=3\nx=40\n"},
        {"[CONFIG]\r\nlanguage = 0\r\nx=1\r\n", "[CONFIG]\r\nlanguage=3\r\nx=1\r\n"},
        {"[Config]\nm=40\n\n[Other]\nk=v\n", "[Config]\nm=40\nLanguage=3\n\n[Other]\nk=v\n"},
        {"[Config]\r\nm=40\r\n", "[Config]\r\nm=40\r\nLanguage=3\r\n"},
        {"[Config]\nm=40", "[Config]\nm=40\nLanguage=3\n"},
        {"[Other]\r\nk=v", "[Other]\r\nk=v\r\n[Config]\r\nLanguage=3\r\n"},
        {"[Config]\nLanguage=1\n[Config]\nLanguage=2\n", "[Config]\nLanguage=3\n[Config]\nLanguage=2\n"},
        // clang-format on
    };
    for (const auto& r : rows)
        EXPECT_EQ(ini::WithValue(r.before, "Config", "Language", "3"), r.after) << r.before;
}

TEST(Ini, ProfileFile) {
    const std::string path = "ini_test_profile.ini";
    std::remove(path.c_str());
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "micendvol", 84, path), 84);        // no file
    WriteBytes(path, "[Config]\r\na=40abc\r\nb=  -7\r\nc=abc\r\nd=99999999999\r\n");  // leading integers
    const std::pair<const char*, int> rows[] = {{"A", 40}, {"b", -7}, {"c", 0}, {"d", 2147483647}, {"e", 5}};
    for (const auto& [key, value] : rows)
        EXPECT_EQ(ini::GetPrivateProfileInt("config", key, 5, path), value) << "key " << key;
    std::remove(path.c_str());  // a write creates file and section; what it keeps is checked above
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "2", path));
    EXPECT_EQ(ReadBytes(path), "[Config]\nLanguage=2\n");
    // Failures change nothing.
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "1", "no-such-folder/config.ini"));
    WriteBytes(path, "[Config]\nLanguage=3\n" + std::string(ini::kMaxFileSize, ';'));
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "Language", 9, path), 9);
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "1", path));
    EXPECT_EQ(ReadBytes(path).size(), ini::kMaxFileSize + 20);
    std::remove(path.c_str());
}

// The profile's writer is the preset files' safe writer: nothing but config.ini itself is touched.
TEST(Ini, WriterKeepsModeLinksAndReadOnlyFilesAndFollowsNoPlantedLink) {
    TempDir dir("ini_writer");
    const std::string path = dir.File("config.ini");
    WriteBytes(dir.File("victim"), "keep");
    std::filesystem::create_symlink(dir.File("victim"), path + ".tmp");  // where a fixed name would go
    WriteBytes(path, "[Config]\nLanguage=1\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "2", path));
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(ReadBytes(path), "[Config]\nLanguage=2\n");
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the mode was not kept";
    EXPECT_EQ(ReadBytes(dir.File("victim")), "keep") << "a planted link was followed";

    ::chmod(path.c_str(), 0444);  // read-only: refused and left read-only, also for root
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "3", path));
    ::stat(path.c_str(), &st);
    EXPECT_EQ(ReadBytes(path), "[Config]\nLanguage=2\n");
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    const std::string link = dir.File("linked.ini");  // a link stays a link
    std::filesystem::create_symlink(dir.File("real.ini"), link);
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "4", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(dir.File("real.ini")), "[Config]\nLanguage=4\n");

    // A pipe reads as defaults at once and is never written.
    const std::string pipe = dir.File("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "Language", 7, pipe), 7);
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "1", pipe));
}

// Ends to 0..84 (music, microphone) and 0..70 (effect), starts to 0..end. Reading garbage from the
// file is checked on the main window.
TEST(VolumeLimits, EndsToTheirRangeStartsToTheirEnd) {
    using console::VolumeLimits;
    // clang-format off
    const struct { const char* name; VolumeLimits in, out; } rows[] = {
        {"the whole ranges", {0, 84, 0, 84, 0, 70}, {0, 84, 0, 84, 0, 70}},
        {"above the ranges", {85, 85, 85, 85, 71, 71}, {84, 84, 84, 84, 70, 70}},
        {"below zero", {-1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 0, 0}},
        {"starts above their ends", {60, 50, 41, 40, 33, 32}, {50, 50, 40, 40, 32, 32}}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(console::Clamped(r.in), r.out) << r.name;
}

}  // namespace
