#pragma once
// What the console keeps in "config.ini": the six volume limits and the language.

#include <string>

namespace console {

inline const char* const kConfigPath = "./config.ini";
inline const char* const kConfigSection = "Config";

constexpr int kMusicMaxVol = 84;
constexpr int kMicMaxVol = 84;
constexpr int kEffectMaxVol = 70;

struct VolumeLimits {
    int musicStart = 0;
    int musicEnd = kMusicMaxVol;
    int micStart = 0;
    int micEnd = kMicMaxVol;
    int effectStart = 0;
    int effectEnd = kEffectMaxVol;

    bool operator==(const VolumeLimits&) const = default;
};

// Ends into 0..84 (music, microphone) and 0..70 (effect), starts into 0..end.
VolumeLimits Clamped(VolumeLimits limits);

// The six keys of section "Config" (missing keys take the defaults), clamped.
VolumeLimits ReadVolumeLimits(const std::string& path);

// "Language" of section "Config"; a missing key or a value outside 0..4 is 0 (Chinese).
int ReadLanguage(const std::string& path);
bool WriteLanguage(const std::string& path, int language);

}  // namespace console
