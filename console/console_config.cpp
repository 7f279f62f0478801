#include "console/console_config.h"

#include <algorithm>

#include "platform/ini.h"
#include "platform/lang.h"

namespace console {

VolumeLimits Clamped(VolumeLimits v) {
    v.musicEnd = std::clamp(v.musicEnd, 0, kMusicMaxVol);
    v.micEnd = std::clamp(v.micEnd, 0, kMicMaxVol);
    v.effectEnd = std::clamp(v.effectEnd, 0, kEffectMaxVol);
    v.musicStart = std::clamp(v.musicStart, 0, v.musicEnd);
    v.micStart = std::clamp(v.micStart, 0, v.micEnd);
    v.effectStart = std::clamp(v.effectStart, 0, v.effectEnd);
    return v;
}

VolumeLimits ReadVolumeLimits(const std::string& path) {
    auto read = [&](const char* key, int fallback) {
        return ini::GetPrivateProfileInt(kConfigSection, key, fallback, path);
    };
    VolumeLimits v;
    v.musicStart = read("musicstartvol", 0);
    v.musicEnd = read("musicendvol", kMusicMaxVol);
    v.micStart = read("micstartvol", 0);
    v.micEnd = read("micendvol", kMicMaxVol);
    v.effectStart = read("effectstartvol", 0);
    v.effectEnd = read("effectendvol", kEffectMaxVol);
    return Clamped(v);
}

int ReadLanguage(const std::string& path) {
    return lang::Clamp(ini::GetPrivateProfileInt(kConfigSection, "Language", 0, path));
}

bool WriteLanguage(const std::string& path, int language) {
    return ini::WritePrivateProfileString(kConfigSection, "Language", std::to_string(language), path);
}

}  // namespace console
