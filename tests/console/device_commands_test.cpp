#include "console/device_commands.h"

#include <gtest/gtest.h>

#include "tests/console/support.h"

using namespace console;
using testbytes::FromHex;
using testbytes::Of;

namespace {

// The preset bar's own cases are checked through the main window; these are the rest.
TEST(DeviceCommands, FramesMatchTheWire) {
    // clang-format off
    const struct { const char* name; PresetOp op; int group; bool frameMode; const char* hex; } rows[] = {
        {"save group 1", PresetOp::Save, 1, false, "A5 06 F9 03 11 B8"},
        {"save group 15", PresetOp::Save, 15, false, "A5 06 F9 03 F1 98"},
        {"load group 16", PresetOp::Load, 16, false, "A5 06 F9 03 FE A5"},
        {"load group 17, outside 1..16: no stray action byte", PresetOp::Load, 17, false, "A5 06 F9 03 05 AC"},
        {"load the factory group as a frame", PresetOp::Load, kFactoryGroup, true, "A5 09 F1 F0 74 00 00 00 03"},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(Of(PresetFrame(r.op, r.group, r.frameMode)), FromHex(r.hex)) << r.name;
    EXPECT_EQ(Of(FactoryResetFrame()), FromHex("A5 06 F9 03 0F B6"));
    // music 10..70, mic 5..60, effect 0..50: mic pair first, then music, then effect.
    EXPECT_EQ(Of(VolumeLimitFrame({10, 70, 5, 60, 0, 50})), FromHex("A5 0B F1 1C 05 3C 0A 46 00 32 80"));
}

TEST(DeviceCommands, GroupCommandIds) {
    struct Row {
        const char* name;
        int group, save, load;
    };
    const Row rows[] = {{"first", 1, 32794, 32844},
                        {"12", 12, 32805, 32855},
                        {"13, whose save id is out of line", 13, 32826, 32856},
                        {"14", 14, 32807, 32857},
                        {"last", 16, 32809, 32859}};
    for (const Row& r : rows) {
        EXPECT_EQ(SaveGroupCommand(r.group), r.save) << r.name;
        EXPECT_EQ(LoadGroupCommand(r.group), r.load) << r.name;
        EXPECT_EQ(GroupOfSaveCommand(r.save), r.group) << r.name;
        EXPECT_EQ(GroupOfLoadCommand(r.load), r.group) << r.name;
    }
    for (int stranger : {32806, 32793, 32810, 32843, 32860, 0}) {
        EXPECT_EQ(GroupOfSaveCommand(stranger), 0) << "command " << stranger << " taken as a save";
        EXPECT_EQ(GroupOfLoadCommand(stranger), 0) << "command " << stranger << " taken as a load";
    }
    EXPECT_EQ(SaveGroupCommand(17), 0) << "group 17 has no save command";
    EXPECT_EQ(LoadGroupCommand(0), 0) << "group 0 has no load command";
}

TEST(DeviceCommands, MovingOneLimitPushesItsPartner) {
    const VolumeLimits base{0, 84, 10, 50, 20, 40};
    // clang-format off
    const struct { const char* name; VolumeLimits before; LimitField field; int value; VolumeLimits after; } rows[] = {
        {"mic start past mic end pushes it up", base, LimitField::MicStart, 60, {0, 84, 60, 60, 20, 40}},
        {"mic end below mic start pulls it down", base, LimitField::MicEnd, 5, {0, 84, 5, 5, 20, 40}},
        {"mic start inside its range", base, LimitField::MicStart, 30, {0, 84, 30, 50, 20, 40}},
        {"music end below music start", {30, 40, 10, 50, 20, 40}, LimitField::MusicEnd, 12, {12, 12, 10, 50, 20, 40}},
        {"effect end below effect start", base, LimitField::EffectEnd, 3, {0, 84, 10, 50, 3, 3}},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(WithLimitMoved(r.before, r.field, r.value), r.after) << r.name;
}

}  // namespace
