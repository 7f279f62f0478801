#include "console/device_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/ini.h"

using namespace console;

namespace {

std::vector<int> Bytes(const ZemCmd::Cmd& cmd) {
    return std::vector<int>(cmd.b.begin(), cmd.b.begin() + cmd.Length());
}

// The preset bar's own cases are checked through the main window; these are the rest.
TEST(DeviceCommands, PresetFramesMatchTheWire) {
    const struct {
        PresetOp op;
        int group;
        bool frameMode;
        std::vector<int> frame;
    } cases[] = {
        {PresetOp::Save, 1, false, {0xA5, 0x06, 0xF9, 0x03, 0x11, 0xB8}},
        {PresetOp::Save, 15, false, {0xA5, 0x06, 0xF9, 0x03, 0xF1, 0x98}},
        {PresetOp::Load, 16, false, {0xA5, 0x06, 0xF9, 0x03, 0xFE, 0xA5}},
        // A group outside 1..16 never reaches the wire as a stray action byte.
        {PresetOp::Load, 17, false, {0xA5, 0x06, 0xF9, 0x03, 0x05, 0xAC}},
        {PresetOp::Load, kFactoryGroup, true, {0xA5, 0x09, 0xF1, 0xF0, 0x74, 0, 0, 0, 0x03}},
    };
    for (const auto& c : cases) EXPECT_EQ(Bytes(PresetFrame(c.op, c.group, c.frameMode)), c.frame) << c.group;
}

TEST(DeviceCommands, FactoryResetAndVolumeLimitFrames) {
    EXPECT_EQ(Bytes(FactoryResetFrame()), (std::vector<int>{0xA5, 0x06, 0xF9, 0x03, 0x0F, 0xB6}));
    // music 10..70, mic 5..60, effect 0..50: mic pair first, then music, then effect.
    EXPECT_EQ(Bytes(VolumeLimitFrame({10, 70, 5, 60, 0, 50})),
              (std::vector<int>{0xA5, 0x0B, 0xF1, 0x1C, 0x05, 0x3C, 0x0A, 0x46, 0x00, 0x32, 0x80}));
}

TEST(DeviceCommands, GroupCommandIds) {
    const struct {
        int group, save, load;
    } rows[] = {
        {1, 32794, 32844}, {12, 32805, 32855}, {13, 32826, 32856}, {14, 32807, 32857}, {16, 32809, 32859}};
    for (const auto& r : rows) {
        EXPECT_EQ(SaveGroupCommand(r.group), r.save);
        EXPECT_EQ(LoadGroupCommand(r.group), r.load);
        EXPECT_EQ(GroupOfSaveCommand(r.save), r.group);
        EXPECT_EQ(GroupOfLoadCommand(r.load), r.group);
    }
    for (int stranger : {32806, 32793, 32810, 32843, 32860, 0})
        EXPECT_EQ(GroupOfSaveCommand(stranger) + GroupOfLoadCommand(stranger), 0) << stranger;
    EXPECT_EQ(SaveGroupCommand(17), 0);
    EXPECT_EQ(LoadGroupCommand(0), 0);
}

struct MoveCase {
    VolumeLimits before;
    LimitField field;
    int value;
    VolumeLimits after;
};

TEST(DeviceCommands, MovingOneLimitPushesItsPartner) {
    const VolumeLimits base{0, 84, 10, 50, 20, 40};
    const MoveCase cases[] = {
        {base, LimitField::MicStart, 60, {0, 84, 60, 60, 20, 40}},
        {base, LimitField::MicEnd, 5, {0, 84, 5, 5, 20, 40}},
        {base, LimitField::MicStart, 30, {0, 84, 30, 50, 20, 40}},
        {{30, 40, 10, 50, 20, 40}, LimitField::MusicEnd, 12, {12, 12, 10, 50, 20, 40}},
        {base, LimitField::EffectStart, 70, {0, 84, 10, 50, 70, 70}},
        {base, LimitField::EffectEnd, 3, {0, 84, 10, 50, 3, 3}},
    };
    for (const MoveCase& c : cases) EXPECT_EQ(WithLimitMoved(c.before, c.field, c.value), c.after) << c.value;
}

TEST(DeviceCommands, PasswordChecks) {
    const struct {
        std::u16string password, repeat;
        PasswordCheck want;
    } cases[] = {
        {u"kavunPL", u"kavunPL", PasswordCheck::Accepted},  {u"", u"kavunPL", PasswordCheck::PasswordEmpty},
        {u"", u"", PasswordCheck::PasswordEmpty},           {u"kavunPL", u"", PasswordCheck::RepeatEmpty},
        {u"kavunPL", u"kavunPl", PasswordCheck::Different}, {u"KAVUNPL", u"KAVUNPL", PasswordCheck::Wrong},
        {u"kavunPL ", u"kavunPL ", PasswordCheck::Wrong},   {u"kavun", u"kavun", PasswordCheck::Wrong},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckPassword(c.password, c.repeat), c.want);
}

TEST(DeviceCommands, LimitsAreWrittenBesideOtherKeys) {
    const std::string path = "device_commands_limits.ini";
    std::ofstream(path, std::ios::binary) << "[Config]\r\nLanguage=1\r\nmicendvol=84\r\n";
    ASSERT_TRUE(WriteVolumeLimits(path, {1, 41, 2, 42, 3, 43}));
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(
        text.str(),
        "[Config]\r\nLanguage=1\r\nmicendvol=42\r\nmusicstartvol=1\r\nmusicendvol=41\r\nmicstartvol=2\r\n"
        "effectstartvol=3\r\neffectendvol=43\r\n");
    EXPECT_EQ(ReadVolumeLimits(path), (VolumeLimits{1, 41, 2, 42, 3, 43}));
    std::remove(path.c_str());
    EXPECT_FALSE(WriteVolumeLimits("no_such_folder/config.ini", {}));
}

}  // namespace
