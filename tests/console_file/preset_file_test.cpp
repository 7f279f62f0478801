#include "console/preset_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

using preset::MainSectionValues;

namespace {

using Levels = std::array<int, preset::kOutputCount>;

TEST(PresetText, MainSectionsComeFirstInTheirOrderThenEachPage) {
    preset::MainSections s;
    s.master = {60, 50, 70};
    s.music = {1, 2, 3, 4};
    s.direct = {5, 6, 7, 8};
    s.echo = {9, 10, 11, 12};
    s.reverb = {13, 14, 15, 16};
    s.delay = {17, 18, 19, 20, 21, 22};
    const std::string expected =
        "[vol]\n60\n50\n70\n"
        "\n[music vol]\n1,1,2,3,4,4\n\n"
        "\n[direct vol]\n5,5,6,7,8,8\n\n"
        "\n[echo vol]\n9,9,10,11,12,12\n\n"
        "\n[reverb vol]\n13,13,14,15,16,16\n\n"
        "\n[delay]\n17,18,19,20,21,22\n\n"
        "[a]\n1\n\n[b]\n2\n\n";
    EXPECT_EQ(preset::PresetText(s, {"[a]\n1\n", "[b]\n2\n"}), expected);
}

struct ParseCase {
    const char* name;
    std::vector<std::string> lines;
    MainSectionValues expected;
};

MainSectionValues Masters(std::optional<int> a, std::optional<int> b, std::optional<int> c) {
    MainSectionValues v;
    v.master = {a, b, c};
    return v;
}
MainSectionValues Music(Levels levels) {
    MainSectionValues v;
    v.music = levels;
    return v;
}

void ExpectSame(const MainSectionValues& got, const MainSectionValues& want, const char* name) {
    EXPECT_EQ(got.master, want.master) << name;
    EXPECT_EQ(got.music, want.music) << name;
    EXPECT_EQ(got.direct, want.direct) << name;
    EXPECT_EQ(got.echo, want.echo) << name;
    EXPECT_EQ(got.reverb, want.reverb) << name;
    EXPECT_EQ(got.delay, want.delay) << name;
    EXPECT_EQ(got.echoHighPass, want.echoHighPass) << name;
    EXPECT_EQ(got.echoLowPass, want.echoLowPass) << name;
    EXPECT_EQ(got.reverbHighPass, want.reverbHighPass) << name;
    EXPECT_EQ(got.reverbLowPass, want.reverbLowPass) << name;
}

TEST(PresetParse, MainSectionsAsTheFileHoldsThem) {
    MainSectionValues all = Masters(60, 50, 70);
    all.music = Levels{1, 3, 4, 5};
    all.direct = Levels{11, 13, 14, 15};
    all.echo = Levels{21, 23, 24, 25};
    all.reverb = Levels{31, 33, 34, 35};
    all.delay = std::array<int, 6>{1, 2, 3, 4, 5, 6};
    MainSectionValues filters;
    filters.echoHighPass = 120;
    filters.echoLowPass = 9000;
    filters.reverbHighPass = 80;
    filters.reverbLowPass = 12000;
    MainSectionValues echoOnly;
    echoOnly.echo = Levels{1, 3, 4, 5};

    const ParseCase cases[] = {
        {"every section",
         {"[vol]", "60", "50", "70", "[music vol]", "1,2,3,4,5,6", "[direct vol]", "11,12,13,14,15,16",
          "[echo vol]", "21,22,23,24,25,26", "[reverb vol]", "31,32,33,34,35,36", "[delay]", "1,2,3,4,5,6"},
         all},
        {"capitals", {"[VOL]", "1", "2", "3"}, Masters(1, 2, 3)},
        {"carriage returns match nothing",
         {"[vol]\r", "1\r", "2\r", "3\r", "[echo vol]\r", "1,2,3,4,5,6\r"},
         {}},
        {"byte-order mark before the first name", {"\xEF\xBB\xBF[vol]", "1", "2", "3"}, {}},
        {"vol as the last line but one", {"x", "[vol]", "7"}, Masters(7, {}, {})},
        {"vol as the last line", {"1", "[vol]"}, {}},
        {"vol cut short by the next section",
         {"[vol]", "9", "[music vol]", "10,20,30,40,50,60"},
         [] {
             auto v = Masters(9, {}, {});
             v.music = Levels{10, 30, 40, 50};
             return v;
         }()},
        {"not a number counts 0", {"[vol]", "abc", "-5x", " +8"}, Masters(0, -5, 8)},
        {"five pieces skipped", {"[music vol]", "10,20,30,40,50"}, {}},
        {"seven pieces skipped", {"[music vol]", "1,2,3,4,5,6,7"}, {}},
        {"empty piece dropped", {"[music vol]", "10,,20,30,40,50,60"}, Music({10, 30, 40, 50})},
        {"later section wins",
         {"[music vol]", "1,1,1,1,1,1", "[Music Vol]", "2,2,3,4,5,5"},
         Music({2, 3, 4, 5})},
        {"a skipped repeat keeps the earlier", {"[echo vol]", "1,2,3,4,5,6", "[echo vol]", "1,2"}, echoOnly},
        {"effect filters",
         {"[effect echo high pass]", "120", "[effect echo low pass]", "9000", "[effect reverb high pass]",
          "80", "[effect reverb low pass]", "12000"},
         filters},
        {"a filter without its value",
         {"[effect echo high pass]", "[effect echo low pass]", "900"},
         [] {
             MainSectionValues v;
             v.echoLowPass = 900;
             return v;
         }()},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) ExpectSame(preset::ParseMainSections(c.lines), c.expected, c.name);
}

TEST(PresetLines, SplitLikeTheFileReader) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"blank lines dropped", AsciiUtf16("[vol]\n\n\n60\n"), {"[vol]", "60"}},
        {"no final line end", AsciiUtf16("a\nb"), {"a", "b"}},
        {"carriage return stays", AsciiUtf16("a\r\nb\r\n"), {"a\r", "b\r"}},
        {"text ends at the first nul",
         AsciiUtf16("a\nb") + std::string(2, '\0') + AsciiUtf16("\nc"),
         {"a", "b"}},
        {"stray last byte dropped", AsciiUtf16("a\nbc") + "\n", {"a", "bc"}},
        {"byte-order mark stays", "\xFF\xFE" + AsciiUtf16("[vol]\n"), {"\xEF\xBB\xBF[vol]"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(preset::SplitFileLines(c.bytes), c.lines) << c.name;
}

TEST(PresetFile, WritesUtf16WithoutMarkAndReadsBack) {
    TempDir dir("preset_file_io");
    const std::string path = dir.File("zem");  // no extension: used as typed
    ASSERT_TRUE(preset::WriteTextFile(path, "[vol]\n60\n\n[x]\n"));
    EXPECT_EQ(ReadBytes(path), AsciiUtf16("[vol]\n60\n\n[x]\n"));
    const auto read = preset::ReadTextLines(path);
    EXPECT_EQ(read.status, preset::ReadStatus::Ok);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"[vol]", "60", "[x]"}));

    WriteBytes(path, AsciiUtf16("[vol]\n6") + "7");
    EXPECT_EQ(preset::ReadTextLines(path).status, preset::ReadStatus::Damaged);
    EXPECT_EQ(preset::ReadTextLines(path).lines, (std::vector<std::string>{"[vol]", "6"}));

    EXPECT_EQ(preset::ReadTextLines(dir.File("missing")).status, preset::ReadStatus::Unreadable);
    EXPECT_TRUE(preset::ReadTextLines(dir.File("missing")).lines.empty());
    EXPECT_FALSE(preset::WriteTextFile(dir.File("missing/zem.inf"), "x"));
}

}  // namespace
