#include "console/device_commands.h"

#include "platform/ini.h"

namespace console {

namespace {

constexpr char16_t kPanelPassword[] = u"kavunPL";

// The group commands are not one run: 13 sits apart from 1..12 and 14..16.
constexpr int kSaveCommands[kGroupCount] = {32794, 32795, 32796, 32797, 32798, 32799, 32800, 32801,
                                            32802, 32803, 32804, 32805, 32826, 32807, 32808, 32809};
constexpr int kFirstLoadCommand = 32844;

bool IsGroup(int group) {
    return group >= 1 && group <= kGroupCount;
}

}  // namespace

ZemCmd::Cmd PresetFrame(PresetOp op, int group, bool frameMode) {
    if (!IsGroup(group)) group = kFactoryGroup;
    if (frameMode) {
        const std::uint8_t code = op == PresetOp::Save ? ZemCmd::kGroupStore : ZemCmd::kGroupLoad;
        return ZemCmd::GroupCommand(code, static_cast<std::uint8_t>(group));
    }
    if (group == kFactoryGroup)
        return ZemCmd::SystemAction(op == PresetOp::Save ? ZemCmd::kActStoreFactory
                                                         : ZemCmd::kActLoadFactory);
    return ZemCmd::SystemAction(op == PresetOp::Save ? ZemCmd::StoreGroupAction(group)
                                                     : ZemCmd::LoadGroupAction(group));
}

ZemCmd::Cmd FactoryResetFrame() {
    return ZemCmd::SystemAction(ZemCmd::kActFactoryReset);
}

std::string PresetQuestion(PresetOp op, int group) {
    const bool save = op == PresetOp::Save;
    if (!IsGroup(group))
        return save ? "Save Effect to Factory Settings?" : "Load Effect From Factory Settings?";
    return std::string(save ? "Save" : "Load") + " Effect to Group" + std::to_string(group) + "?";
}

int SaveGroupCommand(int group) {
    return IsGroup(group) ? kSaveCommands[group - 1] : 0;
}

int LoadGroupCommand(int group) {
    return IsGroup(group) ? kFirstLoadCommand + group - 1 : 0;
}

int GroupOfSaveCommand(int command) {
    for (int g = 1; g <= kGroupCount; ++g)
        if (kSaveCommands[g - 1] == command) return g;
    return 0;
}

int GroupOfLoadCommand(int command) {
    const int group = command - kFirstLoadCommand + 1;
    return IsGroup(group) ? group : 0;
}

ZemCmd::Cmd VolumeLimitFrame(const VolumeLimits& v) {
    ZemCmd::Cmd cmd;
    const int bytes[] = {ZemCmd::kSync, 0x0B,         ZemCmd::kClassWrite, 0x1C,          v.micStart,
                         v.micEnd,      v.musicStart, v.musicEnd,          v.effectStart, v.effectEnd};
    for (std::size_t i = 0; i < std::size(bytes); ++i) cmd[i] = static_cast<std::uint8_t>(bytes[i]);
    cmd.Seal();
    return cmd;
}

bool WriteVolumeLimits(const std::string& path, const VolumeLimits& v) {
    const std::pair<const char*, int> keys[] = {
        {"musicstartvol", v.musicStart}, {"musicendvol", v.musicEnd},       {"micstartvol", v.micStart},
        {"micendvol", v.micEnd},         {"effectstartvol", v.effectStart}, {"effectendvol", v.effectEnd}};
    bool ok = true;
    for (const auto& [key, value] : keys)
        ok = ini::WritePrivateProfileString(kConfigSection, key, std::to_string(value), path) && ok;
    return ok;
}

VolumeLimits WithLimitMoved(VolumeLimits v, LimitField field, int value) {
    auto moveStart = [value](int& start, int& end) {
        start = value;
        if (value > end) end = value;
    };
    auto moveEnd = [value](int& start, int& end) {
        end = value;
        if (value < start) start = value;
    };
    switch (field) {
        case LimitField::MusicStart:
            moveStart(v.musicStart, v.musicEnd);
            break;
        case LimitField::MusicEnd:
            moveEnd(v.musicStart, v.musicEnd);
            break;
        case LimitField::MicStart:
            moveStart(v.micStart, v.micEnd);
            break;
        case LimitField::MicEnd:
            moveEnd(v.micStart, v.micEnd);
            break;
        case LimitField::EffectStart:
            moveStart(v.effectStart, v.effectEnd);
            break;
        case LimitField::EffectEnd:
            moveEnd(v.effectStart, v.effectEnd);
            break;
    }
    return v;
}

PasswordCheck CheckPassword(const std::u16string& password, const std::u16string& repeat) {
    if (password.empty()) return PasswordCheck::PasswordEmpty;
    if (repeat.empty()) return PasswordCheck::RepeatEmpty;
    if (password != repeat) return PasswordCheck::Different;
    if (password != kPanelPassword) return PasswordCheck::Wrong;
    return PasswordCheck::Accepted;
}

}  // namespace console
