#pragma once
// Control, command and timer ids of the main window.

#include <cstdint>

#include "pages/page_index.h"

namespace console {

// Controls of the main window.
constexpr int kIdTab = 1000;
constexpr int kIdMicValue = 1004;
constexpr int kIdEffectValue = 1005;
constexpr int kIdMusicValue = 1006;
constexpr int kIdMicSlider = 1015;
constexpr int kIdEffectSlider = 1016;
constexpr int kIdMusicSlider = 1017;
constexpr int kIdGraph = 1090;
constexpr int kIdEqReset = 1364;
constexpr int kIdMicCaption = 1365;
constexpr int kIdEffectCaption = 1366;
constexpr int kIdMusicCaption = 1367;
constexpr int kIdEqPass = 1412;
constexpr int kIdPresetCombo = 1433;
constexpr int kIdSave = 1434;
constexpr int kIdLoad = 1435;
constexpr int kIdStatusLamp = 1437;

// Menu commands (the same in every language).
constexpr int kCmdImport = 57601;
constexpr int kCmdExport = 57603;
constexpr int kCmdConnect = 32792;
constexpr int kCmdExit = 32777;
constexpr int kCmdChinese = 32780;
constexpr int kCmdEnglish = 32781;
constexpr int kCmdThai = 32884;
constexpr int kCmdVietnamese = 32888;
constexpr int kCmdIndonesian = 32893;
constexpr int kCmdResetFactory = 32878;
constexpr int kCmdDspUpdate = 32880;
constexpr int kCmdVolumeLimit = 32899;
// Sends the whole state again; no menu item carries it.
constexpr int kCmdSyncAll = 32789;
// The panel lock; only the item it writes into the Operation menu carries it.
constexpr int kCmdLock = 32786;
// The About item of the window menu.
constexpr int kCmdAbout = 0x0010;

// Timers of the main window.
constexpr std::uint32_t kTimerFirstConnect = 104;
constexpr std::uint32_t kTimerHeartbeat = 1224;
constexpr std::uint32_t kTimerStatusLamp = 1226;
constexpr int kFirstConnectDelayMs = 2000;
constexpr int kStatusLampDelayMs = 200;

// Private messages.
constexpr unsigned kMsgConnect = 0x400 + 201;

// Tab items: every page but the set-up page (pages/page_index.h).
constexpr int kTabCount = pageindex::kSetUp;

}  // namespace console
