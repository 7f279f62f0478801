#include "platform/ini.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct FindCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* expected;  // null: not found
};

class IniFind : public testing::TestWithParam<FindCase> {};

TEST_P(IniFind, FindsTheValueOfTheFirstMatchingSection) {
    const FindCase& c = GetParam();
    const auto value = ini::FindValue(c.text, c.section, c.key);
    if (c.expected == nullptr) {
        EXPECT_FALSE(value.has_value()) << *value;
    } else {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IniFind,
    testing::Values(
        FindCase{"plain", "[Config]\nLanguage=3\n", "Config", "Language", "3"},
        FindCase{"case_of_section_and_key", "[config]\nLANGUAGE=2\n", "Config", "Language", "2"},
        FindCase{"crlf", "[Config]\r\nmicendvol=40\r\nmicstartvol=10\r\n", "Config", "micendvol", "40"},
        FindCase{"blanks_around", "  [ Config ]  \n  micendvol =  40  \n", "Config", "micendvol", "40"},
        FindCase{"no_final_line_end", "[Config]\nLanguage=4", "Config", "Language", "4"},
        FindCase{"other_section", "[Other]\nLanguage=3\n", "Config", "Language", nullptr},
        FindCase{"key_in_later_section", "[Config]\na=1\n[Other]\nLanguage=3\n", "Config", "Language",
                 nullptr},
        FindCase{"first_section_wins", "[Config]\na=1\n[Config]\na=2\n", "Config", "a", "1"},
        FindCase{"comment_is_no_key", "[Config]\n;Language=3\n", "Config", "Language", nullptr},
        FindCase{"key_before_any_section", "Language=3\n[Config]\n", "Config", "Language", nullptr},
        FindCase{"empty_value", "[Config]\nLanguage=\n", "Config", "Language", ""},
        FindCase{"prefix_is_not_the_key", "[Config]\nLanguageX=3\n", "Config", "Language", nullptr},
        FindCase{"empty_text", "", "Config", "Language", nullptr}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    const char* before;
    const char* after;  // writing Language=3 into [Config]
};

class IniWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, KeepsEveryOtherLine) {
    EXPECT_EQ(ini::WithValue(GetParam().before, "Config", "Language", "3"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniWrite,
    testing::Values(
        WriteCase{"empty_file", "", "[Config]\nLanguage=3\n"},
        WriteCase{"replace_in_place", "; top\n[Config]\nmusicendvol=80\nLanguage=1\nmicendvol=40\n",
                  "; top\n[Config]\nmusicendvol=80\nLanguage=3\nmicendvol=40\n"},
        WriteCase{"replace_keeps_spelling_and_crlf", "[CONFIG]\r\nlanguage = 0\r\nx=1\r\n",
                  "[CONFIG]\r\nlanguage=3\r\nx=1\r\n"},
        WriteCase{"add_after_last_entry", "[Config]\nmicendvol=40\n\n[Other]\nk=v\n",
                  "[Config]\nmicendvol=40\nLanguage=3\n\n[Other]\nk=v\n"},
        WriteCase{"add_crlf", "[Config]\r\nmicendvol=40\r\n", "[Config]\r\nmicendvol=40\r\nLanguage=3\r\n"},
        WriteCase{"add_to_unterminated_last_line", "[Config]\nmicendvol=40",
                  "[Config]\nmicendvol=40\nLanguage=3\n"},
        WriteCase{"new_section_at_end", "[Other]\nk=v\n", "[Other]\nk=v\n[Config]\nLanguage=3\n"},
        WriteCase{"new_section_crlf_unterminated", "[Other]\r\nk=v",
                  "[Other]\r\nk=v\r\n[Config]\r\nLanguage=3\r\n"},
        WriteCase{"only_first_section_changes", "[Config]\nLanguage=1\n[Config]\nLanguage=2\n",
                  "[Config]\nLanguage=3\n[Config]\nLanguage=2\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

// Files in the test's working directory, removed afterwards.
class IniFile : public testing::Test {
  protected:
    void TearDown() override {
        std::remove(path.c_str());
        std::remove((path + ".tmp").c_str());
    }
    void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path = "ini_test_profile.ini";
};

TEST_F(IniFile, MissingFileGivesTheDefault) {
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "micendvol", 84, path), 84);
}

TEST_F(IniFile, ValuesAreTheirLeadingInteger) {
    Write("[Config]\r\na=40abc\r\nb=  -7\r\nc=abc\r\nd=99999999999\r\n");
    EXPECT_EQ(ini::GetPrivateProfileInt("config", "A", 1, path), 40);
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "b", 1, path), -7);
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "c", 1, path), 0);
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "d", 1, path), 2147483647);
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "e", 5, path), 5);
}

TEST_F(IniFile, WriteCreatesFileAndSectionAndReadsBack) {
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "2", path));
    EXPECT_EQ(Read(), "[Config]\nLanguage=2\n");
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "4", path));
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "Language", 0, path), 4);
}

TEST_F(IniFile, WriteKeepsOtherBytes) {
    const std::string before =
        "; volume limits\r\n[Config]\r\nmicendvol=40\r\nLanguage=0\r\n\r\n[X]\r\ny=\xE4\xB8\xAD\r\n";
    Write(before);
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "Language", "1", path));
    std::string expected = before;
    expected.replace(expected.find("Language=0"), 10, "Language=1");
    EXPECT_EQ(Read(), expected);
}

TEST_F(IniFile, WriteIntoAMissingFolderFailsCleanly) {
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "1", "no-such-folder/config.ini"));
}

TEST_F(IniFile, OversizedFileIsNeitherReadNorRewritten) {
    Write("[Config]\nLanguage=3\n" + std::string(ini::kMaxFileSize, ';'));
    EXPECT_EQ(ini::GetPrivateProfileInt("Config", "Language", 9, path), 9);
    EXPECT_FALSE(ini::WritePrivateProfileString("Config", "Language", "1", path));
    EXPECT_EQ(Read().size(), ini::kMaxFileSize + 20);
}

}  // namespace
