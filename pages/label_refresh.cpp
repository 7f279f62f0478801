// The value labels beside a page's sliders: caption in the page's language, value from the slider.

#include "pages/page.h"
#include "platform/lang.h"
#include "platform/numbers.h"

namespace {

using Captions = const char* const[5];

Captions kLimit = {"压限启动电平：", "Limit:", "จำกัด:", "Giới hạn:", "Terbatas"};
Captions kStartTime = {"压限启动时间：", "Start time:", "เวลาเริ่ม:", "Thời gian bắt đầu:", "Waktu Memulai"};
Captions kAttack = {"压限释放时间：", "Attack:", "เวลาทำงาน:", "Kích:", "Attack:"};
Captions kRatio = {"压限比例：", "Ratio:", "อัตราส่วน:", "Tỉ lệ:", "Rasio"};
Captions kGateStart = {"门限启动电平：", "NoiscGate Start Level:", "เกณฑ์การเริ่มต้นระดับ:", "Ngưỡng bắt đầu cấp:",
                       "Tingkat awal ambang batas:"};
Captions kGateRelease = {"门限释放电平：", "NoiscGate Release Level:", "เกณฑ์ปล่อยระดับ:", "Cấp phóng Ngưỡng:",
                         "Tingkat rilis ambang batas:"};
Captions kMusicLevel = {"音乐音量:", "Music Volume:", "เพิ่ม-ลด เสียงเพลง:", "Âm lượng nhạc:", "Volume Musik:"};
Captions kDirectLevel = {
    "直达声音量:", "Direct sound Volume:", "เพิ่ม-ลด เสียงโดยตรง:", "Âm lượng micro:", "Volume Suara Langsung:"};
Captions kEchoLevel = {
    "回声效果音量:", "Echo Volume:", "เพิ่ม-ลด เสียงเอคโค่:", "Âm lượng echo:", "Volume Gema:"};
Captions kReverbLevel = {
    "混响效果音量:", "Reverb Volume:", "เพิ่ม-ลด เสียงก้อง:", "Âm lượng reverb:", "Volume Berkumandang:"};
Captions kDelay = {"延时:", "Delay:", "หน่วงเวลา:", "Độ trễ:", "Memperlambat:"};
Captions kLeftDelay = {"左声道延时：", "Left channel delay:", "หน่วงเวลา ช่องซ้าย:", "Độ trễ kênh trái:",
                       "Saluran Memperlambat Kiri:"};
Captions kRightDelay = {"右声道延时：", "Right channel delay:", "หน่วงเวลา ช่องขวา:", "Độ trễ kênh phải:",
                        "Saluran Memperlambat Kanan:"};
Captions kBassLowPass = {"低通：", "LP:", "ตัดเสียสูง:", "Cắt tần số cao:", "Tingkat Rendah:"};

std::string Db(int pos) {
    return num::Format("%ddb", pos);
}
std::string Ms(int pos) {
    return num::Format("%dms", pos);
}
std::string Percent(int pos) {
    return num::Format("%d%%", pos);
}
std::string Hz(int pos) {
    return num::Format("%dHz", pos);
}
std::string Attack(int pos) {
    return num::Format("Atk x %d", pos);
}
std::string GateStart(int pos) {
    return pos == -81 ? std::string("Off") : Db(pos);
}

// A range's ends and their neighbours: with digits of one width, among them is the widest text the
// label can show, whose room the caption keeps.
std::vector<std::string> EndSamples(int min, int max, std::string (*value)(int pos)) {
    return {value(min), value(min + 1), value(max - 1), value(max)};
}

struct VolumePair {
    int slider;
    int label;
    const char* const* captions;
};
const VolumePair kVolumes[levelkind::kCount] = {
    {pageid::kMusicLevelSlider, pageid::kMusicLevelLabel, kMusicLevel},
    {pageid::kDirectLevelSlider, pageid::kDirectLevelLabel, kDirectLevel},
    {pageid::kEchoLevelSlider, pageid::kEchoLevelLabel, kEchoLevel},
    {pageid::kReverbLevelSlider, pageid::kReverbLevelLabel, kReverbLevel},
};

}  // namespace

void Page::RefreshSliderLabel(int sliderId, int labelId, const char* const* captions,
                              std::string (*value)(int pos)) {
    const std::optional<int> pos = SliderPos(sliderId);
    if (!pos || !HasLabel(labelId)) return;
    const SliderModel* range = Slider(sliderId);
    SetLabelValueSamples(labelId, EndSamples(range->min, range->max, value));
    SetLabelCaption(labelId, lang::Pick(captions, 5, model_.language));
    SetLabelValue(labelId, value(*pos));
}

std::vector<std::string> Page::FilterSamples(int sliderId) const {
    const SliderModel* range = Slider(sliderId);
    std::vector<std::string> samples =
        EndSamples(range ? range->min : kMinFreq, range ? range->max : kMaxFreq, Hz);
    samples.push_back("OFF");
    return samples;
}

void Page::UpdateHighPassLabel() {
    if (!HasLabel(pageid::kHighPassLabel) || model_.bandCount < 1) return;
    const int hz = model_.band.freq[0];
    SetLabelValueSamples(pageid::kHighPassLabel, FilterSamples(pageid::kHighPassSlider));
    SetLabelCaption(pageid::kHighPassLabel, hpTitle[lang::Clamp(model_.language)]);
    SetLabelValue(pageid::kHighPassLabel, hz > kMinFreq ? Hz(hz) : std::string("OFF"));
}

void Page::UpdateLowPassLabel() {
    if (!HasLabel(pageid::kLowPassLabel) || model_.bandCount < 1) return;
    const int hz = model_.band.freq[model_.bandCount - 1];
    SetLabelValueSamples(pageid::kLowPassLabel, FilterSamples(pageid::kLowPassSlider));
    SetLabelCaption(pageid::kLowPassLabel, lpTitle[lang::Clamp(model_.language)]);
    SetLabelValue(pageid::kLowPassLabel, hz < kMaxFreq ? Hz(hz) : std::string("OFF"));
}

void Page::UpdateLimitLabel() {
    RefreshSliderLabel(pageid::kLimitSlider, pageid::kLimitLabel, kLimit, Db);
}
void Page::UpdateStartTimeLabel() {
    RefreshSliderLabel(pageid::kStartTimeSlider, pageid::kStartTimeLabel, kStartTime, Ms);
}
void Page::UpdateAttackLabel() {
    RefreshSliderLabel(pageid::kAttackSlider, pageid::kAttackLabel, kAttack, Attack);
}
void Page::UpdateRatioLabel() {
    RefreshSliderLabel(pageid::kRatioSlider, pageid::kRatioLabel, kRatio, Percent);
}
void Page::UpdateGateStartLabel() {
    RefreshSliderLabel(pageid::kGateStartSlider, pageid::kGateStartLabel, kGateStart, GateStart);
}
void Page::UpdateGateReleaseLabel() {
    RefreshSliderLabel(pageid::kGateReleaseSlider, pageid::kGateReleaseLabel, kGateRelease, Db);
}
void Page::UpdateDelayLabel() {
    RefreshSliderLabel(pageid::kDelaySlider, pageid::kDelayLabel, kDelay, Ms);
}
void Page::UpdateLeftDelayLabel() {
    RefreshSliderLabel(pageid::kLeftDelaySlider, pageid::kLeftDelayLabel, kLeftDelay, Ms);
}
void Page::UpdateRightDelayLabel() {
    RefreshSliderLabel(pageid::kRightDelaySlider, pageid::kRightDelayLabel, kRightDelay, Ms);
}

void Page::UpdateVolumeLabel(int which) {
    if (which < 0 || which >= levelkind::kCount) return;
    const VolumePair& v = kVolumes[which];
    RefreshSliderLabel(v.slider, v.label, v.captions, Percent);
}

void Page::UpdateBassLowPassLabel() {
    const std::optional<int> pos = SliderPos(pageid::kBassLowPassSlider);
    if (!pos) return;
    RefreshSliderLabel(pageid::kBassLowPassSlider, pageid::kBassLowPassLabel, kBassLowPass, Hz);
    // Band 0 of the subwoofer's record is the crossover low-pass that this slider sets.
    if (model_.bandCount < 1) return;
    model_.band.freq[0] = *pos;
    model_.band.type[0] = kTypeLowPass;
}
