#pragma once
// Window-free logic behind the master-volume limits, the device presets and the panel lock:
// the frames they send, the texts they ask with, the limits file and the password check.

#include <string>

#include "console/console_config.h"
#include "link/frame.h"

namespace console {

// ---- device presets ----

enum class PresetOp { Save, Load };

// Group 1..16, or 0 for the device's factory settings.
constexpr int kFactoryGroup = 0;
constexpr int kGroupCount = 16;

// The store/recall frame. While the link is in frame mode the processor expects the long group
// form (A5 09 F1 F0); otherwise the short system action (A5 06 F9 03).
ZemCmd::Cmd PresetFrame(PresetOp op, int group, bool frameMode);
// A5 06 F9 03 0F: the device goes back to its factory state (short form only).
ZemCmd::Cmd FactoryResetFrame();

// "Save Effect to Group7?", "Load Effect From Factory Settings?", ...
std::string PresetQuestion(PresetOp op, int group);
inline const char* const kPresetQuestionCaption = "Yes/No";

// Save and load commands of the sixteen groups; 0 for any other command.
int SaveGroupCommand(int group);
int LoadGroupCommand(int group);
// The group (1..16) a command stores or recalls, 0 when it is neither.
int GroupOfSaveCommand(int command);
int GroupOfLoadCommand(int command);

// ---- volume limits ----

// A5 0B F1 1C: mic start/end, music start/end, effect start/end, checksum.
ZemCmd::Cmd VolumeLimitFrame(const VolumeLimits& limits);

// Writes the six keys of section "Config"; false when a write failed.
bool WriteVolumeLimits(const std::string& path, const VolumeLimits& limits);

// Which of the six limits the user moved.
enum class LimitField { MusicStart, MusicEnd, MicStart, MicEnd, EffectStart, EffectEnd };

// The limits with `field` set to `value` and its partner pushed along so start <= end stays true.
VolumeLimits WithLimitMoved(VolumeLimits limits, LimitField field, int value);

// ---- panel lock ----

enum class PasswordCheck { Accepted, PasswordEmpty, RepeatEmpty, Different, Wrong };

// The typed password and its repeat against the fixed one (exact, case-sensitive).
PasswordCheck CheckPassword(const std::u16string& password, const std::u16string& repeat);

}  // namespace console
