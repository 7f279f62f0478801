#pragma once
// Control ids of the "Volume limit" dialog.

namespace volid {

constexpr int kMusicStartSlider = 1001;
constexpr int kMicEndSlider = 1002;
constexpr int kMicStartSlider = 1003;
constexpr int kMusicEndSlider = 1004;
constexpr int kEffectStartSlider = 1005;
constexpr int kEffectEndSlider = 1006;

constexpr int kMusicStartCaption = 1453;
constexpr int kMicEndCaption = 1454;
constexpr int kEffectStartCaption = 1455;
constexpr int kMusicEndCaption = 1456;
constexpr int kEffectEndCaption = 1457;
constexpr int kMicStartCaption = 1458;

constexpr int kMusicStartValue = 1459;
constexpr int kMicStartValue = 1460;
constexpr int kMicEndValue = 1461;
constexpr int kMusicEndValue = 1462;
constexpr int kEffectStartValue = 1463;
constexpr int kEffectEndValue = 1464;

constexpr int kOk = 1;
constexpr int kCancel = 2;

}  // namespace volid
