#include "console/preset_file.h"

#include <gtest/gtest.h>

#include "tests/console/support.h"

namespace {

// What a parse found, compactly: "-" for an unset entry.
std::string Found(const preset::MainSectionValues& v) {
    auto one = [](const std::optional<int>& x) { return x ? std::to_string(*x) : std::string("-"); };
    auto many = [](const auto& x) {
        std::string s = x ? "" : "-";
        for (std::size_t i = 0; x && i < x->size(); ++i) s += (i ? "," : "") + std::to_string((*x)[i]);
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

}  // namespace
