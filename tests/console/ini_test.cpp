#include "platform/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <optional>

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

// "Unicode" as a Windows editor saves it: the UTF-16LE byte-order mark, then ASCII as UTF-16LE.
std::string Utf16File(const std::string& ascii) {
    return "\xFF\xFE" + AsciiUtf16(ascii);
}

TEST(Ini, MarkedProfileIsReadAndRewrittenInItsOwnEncodingOthersAreLeftAlone) {
    const std::string path = "ini_test_utf16.ini";
    // Non-ASCII lines written out as UTF-16LE units: "; 设置" and a microphone emoji (a surrogate pair).
    const std::string comment = AsciiUtf16("; ") + "\xBE\x8B\x6E\x7F" + AsciiUtf16("\r\n");
    const std::string emoji = AsciiUtf16("[Mic ") + "\x3C\xD8\xA4\xDF" + AsciiUtf16("]\r\nk=v\r\n");
    // clang-format off
    // the file, the Language read (-1: default), the file after writing Language=3 (null: refused, unchanged)
    const struct { const char* name; std::string before; int language; std::optional<std::string> after; } rows[] = {
        {"CRLF, other sections kept", Utf16File("[Other]\r\nk=v\r\n[Config]\r\nLanguage=2\r\nmicendvol=40\r\n"), 2,
         Utf16File("[Other]\r\nk=v\r\n[Config]\r\nLanguage=3\r\nmicendvol=40\r\n")},
        {"LF, key added to its section", Utf16File("[config]\nmicendvol=40\n\n[Other]\nLanguage=4\n"), -1,
         Utf16File("[config]\nmicendvol=40\nLanguage=3\n\n[Other]\nLanguage=4\n")},
        {"section added in UTF-16", Utf16File("[Other]\r\nk=v"), -1,
         Utf16File("[Other]\r\nk=v\r\n[Config]\r\nLanguage=3\r\n")},
        {"non-ASCII lines kept unit for unit", "\xFF\xFE" + comment + emoji + AsciiUtf16("[Config]\r\nLanguage=1\r\n"), 1,
         "\xFF\xFE" + comment + emoji + AsciiUtf16("[Config]\r\nLanguage=3\r\n")},
        {"just the mark", "\xFF\xFE", -1, Utf16File("[Config]\nLanguage=3\n")},
        {"an unpaired surrogate", Utf16File("[Config]\r\nLanguage=2\r\n;") + std::string("\x00\xD8", 2), 2, std::nullopt},
        {"a stray last byte", Utf16File("[Config]\r\nLanguage=2\r\n") + "\x41", 2, std::nullopt},
        {"UTF-8 behind its mark", "\xEF\xBB\xBF[Config]\r\nLanguage=2\r\n", 2,
         "\xEF\xBB\xBF[Config]\r\nLanguage=3\r\n"},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", -1, "\xEF\xBB\xBF[Config]\nLanguage=3\n"},
        {"UTF-16BE", std::string("\xFE\xFF\0", 3) + AsciiUtf16("[Config]\r\nLanguage=2\r\n").substr(0, 43), -1,
         std::nullopt},
        {"UTF-16LE without a mark", AsciiUtf16("[Config]\r\nLanguage=2\r\n"), -1, std::nullopt},
        {"UTF-16BE without a mark", std::string(1, '\0') + AsciiUtf16("[Config]\r\nLanguage=2\r\n").substr(0, 43), -1,
         std::nullopt},
        {"UTF-8, a crash's zeros for a tail", "[Config]\nLanguage=2\nmicendvol=40\n" + std::string(64, '\0'), 2,
         "[Config]\nLanguage=3\nmicendvol=40\n"},
        {"UTF-8, zeros in a line end it", "[Config]\r\nmicen" + std::string(7, '\0') + "Language=2" + std::string(3, '\0'), 2,
         "[Config]\r\nmicen\r\nLanguage=3\r\n"},
        {"UTF-8, all zeros", std::string(64, '\0'), -1, "[Config]\nLanguage=3\n"},
    };
    // clang-format on
    auto hex = [](const std::string& bytes) {
        return testbytes::Hex(testbytes::Bytes(bytes.begin(), bytes.end()));
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        WriteBytes(path, r.before);
        EXPECT_EQ(ini::GetPrivateProfileInt("Config", "Language", -1, path), r.language) << "Language read";
        EXPECT_EQ(ini::WritePrivateProfileString("Config", "Language", "3", path), r.after.has_value());
        EXPECT_EQ(hex(ReadBytes(path)), hex(r.after.value_or(r.before))) << "the file after the write";
    }
    std::remove(path.c_str());
}

// The main window reads its language and limits from a config.ini a Windows editor saved (UTF-16LE
// or UTF-8 behind a byte-order mark) or a crash left zeros in, and its language switch rewrites that
// file in its own encoding with every other section and line as it was.
TEST(Ini, MainWindowKeepsAMarkedConfigInItsEncodingAndWhole) {
    // [Config] first: the mark stands right before its name.
    const std::string text = std::string("[Config]\r\nmicendvol=40\r\nLanguage=2\r\nmusicendvol=60\r\n\r\n") +
                             "; K417B\r\n[Window]\r\nx=10\r\n[Tail]\r\nk=v\r\n";
    using Form = std::string (*)(const std::string&);
    const Form marked = [](const std::string& t) { return "\xEF\xBB\xBF" + t; };
    const Form plain = [](const std::string& t) { return t; };
    // the file as saved, and as the console writes it back (a crash's zeros go)
    const struct {
        const char* name;
        Form file, written;
    } forms[] = {{"UTF-16LE", Utf16File, Utf16File},
                 {"UTF-8 with a mark", marked, marked},
                 {"UTF-8 with a crash's zeros for a tail",
                  [](const std::string& t) { return t + std::string(64, '\0'); }, plain}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.name);
        TempDir dir("ini_marked_window");
        const std::string path = dir.File("config.ini");
        WriteBytes(path, form.file(text));
        auto dialog = StartMainWindow(path);
        EXPECT_EQ(dialog->Language(), 2) << "Language of the config.ini";
        auto* mic = win::FindControlAs<QSlider>(dialog->Client(), console::kIdMicSlider);
        ASSERT_TRUE(mic);
        EXPECT_EQ(mic->maximum(), 40) << "micendvol of the config.ini";
        EXPECT_EQ(ReadBytes(path), form.written(text)) << "the start's own write changed the file";
        dialog->SetLanguage(3);
        std::string switched = text;
        switched.replace(switched.find("Language=2"), 10, "Language=3");
        EXPECT_EQ(ReadBytes(path), form.written(switched))
            << "the switch did not keep the file's encoding and lines";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1)
            << "a temporary file was left";
    }
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
