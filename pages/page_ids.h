#pragma once
// Control ids shared by every channel page and the main dialog (their notices: controls/notices.h).

namespace pageid {

// Band controls of band i (computed at run time; bands 0 and n-1 have none).
constexpr int kGainEdit = 1600;    // + i
constexpr int kGainSlider = 1700;  // + i
constexpr int kFreqEdit = 1800;    // + i
constexpr int kQEdit = 1900;       // + i
constexpr int kQButton = 2000;     // + 2i minus, + 2i + 1 plus
constexpr int kTypeButton = 2100;  // + 3i, + 3i + 1, + 3i + 2 for types 1, 2, 3
constexpr int kRowCaption = 0xFFFF;

// Template sliders with a value label (the same id may be a label on another page).
constexpr int kHighPassSlider = 1078;
constexpr int kLowPassSlider = 1079;
constexpr int kStartTimeSlider = 1080;
constexpr int kAttackSlider = 1081;
constexpr int kRatioSlider = 1082;
constexpr int kLimitSlider = 1083;
constexpr int kDirectLevelSlider = 1084;
constexpr int kEchoLevelSlider = 1085;
constexpr int kGateStartSlider = 1090;
constexpr int kGateReleaseSlider = 1091;
constexpr int kMusicLevelSlider = 1101;
constexpr int kReverbLevelSlider = 1102;
constexpr int kLeftDelaySlider = 1273;
constexpr int kRightDelaySlider = 1274;
constexpr int kDelaySlider = 1277;
constexpr int kBassLowPassSlider = 1278;

// Value labels.
constexpr int kFilterSlopeLabel = 1019;
constexpr int kHighPassLabel = 1084;
constexpr int kLowPassLabel = 1085;
constexpr int kLimitLabel = 1086;
constexpr int kStartTimeLabel = 1087;
constexpr int kAttackLabel = 1088;
constexpr int kRatioLabel = 1089;
constexpr int kMusicLevelLabel = 1092;
constexpr int kDirectLevelLabel = 1093;
constexpr int kEchoLevelLabel = 1094;
constexpr int kGateStartLabel = 1095;
constexpr int kGateReleaseLabel = 1096;
constexpr int kReverbLevelLabel = 1100;
constexpr int kLeftDelayLabel = 1275;
constexpr int kRightDelayLabel = 1276;
constexpr int kDelayLabel = 1279;
constexpr int kBassLowPassLabel = 1280;

// Drop-down lists of single pages.
constexpr int kFbcModeCombo = 1432;     // microphone: feedback-cancel modes
constexpr int kMusicSlopeCombo = 1439;  // music: "12db" / "24db"
constexpr int kBassSlopeCombo = 1441;   // subwoofer: "12db" / "24db"

// Template captions that SetLanguage re-captions.
constexpr int kHighPassCaption = 1369;
constexpr int kLowPassCaption = 1370;
constexpr int kLeftChannelCaption = 1408;
constexpr int kRightChannelCaption = 1409;
constexpr int kMuteButtons[] = {1406, 1407, 1411, 1427, 1428, 1429};

}  // namespace pageid
