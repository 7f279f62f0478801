#include "pages/channel_sliders.h"

#include <algorithm>

#include "controls/band_limits.h"
#include "controls/notices.h"
#include "platform/numbers.h"

namespace chan {

std::string FormatValue(ValueText text, int position) {
    switch (text) {
        case ValueText::Decimal:
            return num::Format("%d", position);
        case ValueText::Db:
            return num::Format("%ddb", position);
        case ValueText::GateStart:
            return position == -81 ? std::string("Off") : num::Format("%ddb", position);
        case ValueText::Attack:
            return num::Format("Atk x %d", position);
        case ValueText::Percent:
            return num::Format("%d%%", position);
        case ValueText::Ms:
            return num::Format("%dms", position);
        case ValueText::Hz:
            return num::Format("%dHz", position);
        case ValueText::HighPassHz:
            return position == controls::kMinFreq ? std::string("OFF") : num::Format("%dHz", position);
        case ValueText::LowPassHz:
            return position == controls::kMaxFreq ? std::string("OFF") : num::Format("%dHz", position);
    }
    return {};
}

std::vector<std::string> ValueSamples(const SliderSpec& s) {
    return {FormatValue(s.text, s.min), FormatValue(s.text, s.min + 1), FormatValue(s.text, s.max - 1),
            FormatValue(s.text, s.max)};
}

namespace {

using V = ValueText;

const SliderSpec kLimiter[] = {
    {id::kLimit, -34, 20, 20, 10, 1086, V::Db, {}, notice::kLimiter},
    {id::kStartTime, 1, 90, 50, 100, 1087, V::Ms, {}, notice::kLimiter},
    {id::kReleaseMultiplier, 1, 32, 2, 100, 1088, V::Attack, {}, notice::kLimiter},
    {id::kRatio, 0, 100, 5, 10, 1089, V::Percent, {}, notice::kLimiter},
};

const SliderSpec kLevels[] = {
    {id::kMusicLevel, 0, 200, 50, 5, 1092, V::Percent, {}, notice::kMusicLevels},
    {id::kDirectLevel, 0, 200, 50, 5, 1093, V::Percent, {}, notice::kDirectLevels},
    {id::kEchoLevel, 0, 200, 50, 5, 1094, V::Percent, {}, notice::kEchoLevels},
    {id::kReverbLevel, 0, 200, 50, 5, 1100, V::Percent, {}, notice::kReverbLevels},
};

const SliderSpec kLeftDelay{id::kLeftDelay, 0, 50, 0, 30, 1275, V::Ms, {}, notice::kDelays};
const SliderSpec kRightDelay{id::kRightDelay, 0, 50, 0, 30, 1276, V::Ms, {}, notice::kDelays};
const SliderSpec kDelay{id::kDelay, 0, 50, 0, 30, 1279, V::Ms, {}, notice::kDelays};
const SliderSpec kCrossover{id::kCrossover, 20, 300, 100, 0, 1280, V::Hz, {}, notice::kCrossover};
const SliderSpec kMicHighPass{id::kHighPass, 20, 300, 20, 0, 1084, V::HighPassHz, {}, notice::kPassBand};

const SliderSpec kGates[] = {
    {id::kGateStart, -81, -40, -81, 0, 1095, V::GateStart, {}, notice::kNoiseGate},
    {id::kGateRelease, -80, -20, -20, 0, 1096, V::Db, {}, notice::kNoiseGate},
};

// Effect captions: Chinese, English, Thai, Vietnamese, Indonesian.
const char* const kEchoDelayText[] = {
    "回声延时时间:", "Echo delay:", "หน่วงเวลา  เอคโค่:", "Độ trễ:", "Memperlambat Gema:"};
const char* const kEchoDecayText[] = {
    "回声重复比:", "Echo decay:", "สลาย เอคโค่:", "Độ suy giảm:", "Gema Menyeluruh:"};
const char* const kEchoDirectText[] = {"回声直达声音量:", "Echo Direct Volume:", "เพิ่ม-ลด เสียงเอคโค่โดยตรง:",
                                       "Âm lượng giọng thật:", "Suara Menggema Langsung:"};
const char* const kEchoEffectText[] = {
    "回声效果音量:", "Echo Effect Volume:", "เพิ่ม-ลด เอฟเฟค เอคโค่:", "Âm lượng echo:", "Efek Suara Menggema:"};
const char* const kEchoPreDelayText[] = {"回声预延时：", "ECHO PreDelay:", "เอคโค่ ก่อนหน่วงเวลา:",
                                         "Độ trễ trước echo:", "Memperlambat Sebelum Gema:"};
const char* const kEchoHighPassText[] = {
    "回声高通：", "Echo High Pass:", "เอคโค่  ตัดเสียงต่ำ:", "Cắt tần số thấp:", "Menggema Tingkat Tinggi:"};
const char* const kEchoLowPassText[] = {
    "回声低通：", "Echo Low Pass:", "เอคโค่  ตัดเสียงสูง:", "Cắt tần số cao:", "Menggema Tingkat Rendah:"};
const char* const kReverbDirectText[] = {"混响直达声音量:", "Reverb Direct Volume:", "เพิ่ม-ลด เสียงก้อง โดยตรง:",
                                         "Âm lượng giọng thật:", "Suara Berkumandang Langsung:"};
const char* const kReverbEffectText[] = {"混响效果音量：", "Reverb Effect Volume:", "เพิ่ม-ลด เอฟเฟค เสียงก้อง:",
                                         "Âm lượng reverb:", "Efek Suara Berkumandang:"};
const char* const kWidthText[] = {"立体声宽度：", "Width:", "ความกว้างห้อง:", "Chiều rộng:", "Lebar:"};
const char* const kRoomSizeText[] = {"房间大小：",
                                     "RoomSize:", "ขนาดห้อง:", "Kích thước phòng:", "Ukuran Ruangan:"};
const char* const kDampText[] = {"湿度：", "Damp:", "เสียงชื้น:", "Suy giảm tần số cao:", "Memperkecil:"};
const char* const kReverbPreDelayText[] = {"混响预延时：", "REVERB PreDelay:", "เสียงก้อง ก่อนหน่วงเวลา:",
                                           "Độ trễ trước reverb:", "Memperlambat Sebelum Berkumandang:"};
const char* const kReverbHighPassText[] = {"混响高通：", "Reverb High Pass:", "เสียงก้อง ตัดเสียงต่ำ:",
                                           "Cắt tần số thấp:", "Berkumandang Tingkat Tinggi:"};
const char* const kReverbLowPassText[] = {
    "混响低通：", "Reverb Low Pass:", "เสียงก้อง ตัดเสียสูง:", "Cắt tần số cao:", "Berkumandang Tingkat Rendah:"};
// Chinese, English and Thai only; the lookup falls back to English.
const char* const kEchoInDryText[] = {"VOL2：", "Echo In Dry:", "ก้องแห้ง:"};
const char* const kEchoInReverbText[] = {"VOL3：", "Echo In Reverb:", "เสียงสะท้อนในการสะท้อน:"};

const SliderSpec kEffect[] = {
    {fx::kReverbDirect, 0, 100, 0, 1, 1196, V::Percent, kReverbDirectText, notice::kEffectBlock},
    {fx::kReverbEffect, 0, 100, 100, 1, 1197, V::Percent, kReverbEffectText, notice::kEffectBlock},
    {fx::kWidth, 0, 100, 100, 1, 1103, V::Percent, kWidthText, notice::kEffectBlock},
    {fx::kRoomSize, 0, 100, 90, 1, 1104, V::Ms, kRoomSizeText, notice::kEffectBlock},
    {fx::kDamp, 0, 100, 30, 1, 1105, V::Percent, kDampText, notice::kEffectBlock},
    {fx::kEchoInDry, 0, 100, 50, 1, 1106, V::Percent, kEchoInDryText, notice::kEffectBlock},
    {fx::kEchoInReverb, 0, 100, 50, 1, 1109, V::Percent, kEchoInReverbText, notice::kEffectBlock},
    {fx::kEchoDelay, 0, 500, 200, 1, 1121, V::Ms, kEchoDelayText, notice::kEffectBlock},
    {fx::kEchoDecay, 0, 90, 30, 1, 1123, V::Percent, kEchoDecayText, notice::kEffectBlock},
    {fx::kEchoEffect, 0, 100, 60, 1, 1416, V::Percent, kEchoEffectText, notice::kEffectBlock},
    {fx::kEchoDirect, 0, 100, 40, 1, 1414, V::Percent, kEchoDirectText, notice::kEffectBlock},
    {fx::kEchoHighPass, 20, 1000, 20, 10, 1423, V::HighPassHz, kEchoHighPassText, notice::kEchoHighPass},
    {fx::kEchoLowPass, 5000, 20000, 20000, 10, 1424, V::LowPassHz, kEchoLowPassText, notice::kEchoLowPass},
    {fx::kReverbHighPass, 20, 1000, 20, 10, 1427, V::HighPassHz, kReverbHighPassText,
     notice::kReverbHighPass},
    {fx::kReverbLowPass, 5000, 20000, 20000, 10, 1428, V::LowPassHz, kReverbLowPassText,
     notice::kReverbLowPass},
    {fx::kEchoPreDelay, 0, 200, 0, 1, 1114, V::Ms, kEchoPreDelayText, notice::kEchoLowPass},
    {fx::kReverbPreDelay, 0, 200, 0, 1, 1116, V::Ms, kReverbPreDelayText, notice::kReverbLowPass},
};

}  // namespace

std::span<const SliderSpec> LimiterSliders() {
    return kLimiter;
}
std::span<const SliderSpec> LevelSliders() {
    return kLevels;
}
const SliderSpec& LeftDelaySlider() {
    return kLeftDelay;
}
const SliderSpec& RightDelaySlider() {
    return kRightDelay;
}
const SliderSpec& DelaySlider() {
    return kDelay;
}
const SliderSpec& CrossoverSlider() {
    return kCrossover;
}
const SliderSpec& MicHighPassSlider() {
    return kMicHighPass;
}
std::span<const SliderSpec> GateSliders() {
    return kGates;
}
std::span<const SliderSpec> EffectSliders() {
    return kEffect;
}

const SliderSpec* FindSpec(std::span<const SliderSpec> specs, int id) {
    for (const auto& s : specs)
        if (s.id == id) return &s;
    return nullptr;
}

void SliderBank::Add(const SliderSpec& spec) {
    if (Entry* e = Find(spec.id)) {
        e->spec = &spec;
        e->pos = spec.def;
        return;
    }
    entries_.push_back({&spec, spec.def});
}

void SliderBank::Add(std::span<const SliderSpec> specs) {
    for (const auto& s : specs) Add(s);
}

const SliderBank::Entry* SliderBank::Find(int id) const {
    for (const auto& e : entries_)
        if (e.spec->id == id) return &e;
    return nullptr;
}

SliderBank::Entry* SliderBank::Find(int id) {
    return const_cast<Entry*>(static_cast<const SliderBank*>(this)->Find(id));
}

int SliderBank::Get(int id) const {
    const Entry* e = Find(id);
    return e ? e->pos : 0;
}

int SliderBank::Set(int id, int position) {
    Entry* e = Find(id);
    if (!e) return 0;
    e->pos = std::clamp(position, e->spec->min, e->spec->max);
    return e->pos;
}

void SliderBank::Reset(int id) {
    if (Entry* e = Find(id)) e->pos = e->spec->def;
}

void SliderBank::ResetAll() {
    for (auto& e : entries_) e.pos = e.spec->def;
}

const SliderSpec* SliderBank::Spec(int id) const {
    const Entry* e = Find(id);
    return e ? e->spec : nullptr;
}

std::vector<int> SliderBank::Ids() const {
    std::vector<int> ids;
    for (const auto& e : entries_) ids.push_back(e.spec->id);
    return ids;
}

}  // namespace chan
