#include "pages/page_model.h"

#include <cmath>

namespace {

// Float -> int toward zero without undefined behaviour for huge or non-finite values.
int TruncToInt(float v) {
    if (!std::isfinite(v)) return 0;
    if (v >= 2.0e9f) return 2000000000;
    if (v <= -2.0e9f) return -2000000000;
    return static_cast<int>(v);
}

}  // namespace

int DeviceCode(int type) {
    static constexpr int kCodes[] = {0, 0, 6, 7, 5, 4};
    return (type >= kTypeOff && type <= kTypeLowPass) ? kCodes[type] : 0;
}

std::optional<int> TypeFromDeviceCode(int code) {
    switch (code) {
        case 0:
            return kTypePeaking;
        case 6:
            return kTypeLowShelf;
        case 7:
            return kTypeHighShelf;
        default:
            return std::nullopt;
    }
}

int GainTenths(float gain) {
    const int h = TruncToInt(gain * 100.0f);
    const int t = h > 0 ? h + 9 : h - 9;
    return t / 10;
}

std::uint16_t GainField(float gain) {
    return static_cast<std::uint16_t>((2560 + GainTenths(gain)) * 10);
}

float QuantiseGain(float gain) {
    return static_cast<float>(GainTenths(gain)) / 10.0f;
}

int QTenths(float q) {
    const int h = TruncToInt(q * -100.0f);
    return (9 - h) / 10;
}

std::uint16_t QField(float q) {
    return static_cast<std::uint16_t>(QTenths(q) * 10);
}

float QuantiseQ(float q) {
    return static_cast<float>(QTenths(q)) / 10.0f;
}

int GainSliderPos(float gain) {
    if (!std::isfinite(gain)) return 0;
    const float p = std::round(gain * 10.0f);
    if (p >= 1.0e6f) return -1000000;
    if (p <= -1.0e6f) return 1000000;
    const int pos = -static_cast<int>(p);
    return pos == 0 ? 0 : pos;  // no "-0"
}

PageModel::PageModel(int n) : bandCount(n < 0 ? 0 : (n > kMaxBands ? kMaxBands : n)) {}

std::optional<ZemCmd::EqFrame> PageModel::BandFrame(int b) const {
    if (!IsBand(b)) return std::nullopt;
    ZemCmd::EqFrame f;
    f[5] = static_cast<std::uint8_t>(b);
    std::uint8_t on = static_cast<std::uint8_t>(band.enabled[b] & 0xFF);
    if ((b == 0 && band.freq[0] == kMinFreq) || (b == bandCount - 1 && band.freq[b] == kMaxFreq)) on = 0;
    f[6] = on;
    const std::uint16_t g = GainField(band.gain[b]);
    f[7] = static_cast<std::uint8_t>(g & 0xFF);
    f[8] = static_cast<std::uint8_t>(g >> 8);
    const std::uint32_t hz = static_cast<std::uint32_t>(band.freq[b]);
    f[9] = static_cast<std::uint8_t>(hz & 0xFF);
    f[10] = static_cast<std::uint8_t>((hz >> 8) & 0xFF);
    f[14] = static_cast<std::uint8_t>((hz >> 16) & 0xFF);
    const std::uint16_t qf = QField(band.q[b]);
    f[11] = static_cast<std::uint8_t>(qf & 0xFF);
    f[12] = static_cast<std::uint8_t>(qf >> 8);
    f[13] = 0xFF;
    f[15] = static_cast<std::uint8_t>(DeviceCode(band.type[b]));
    f[16] = 0;
    return f;
}

void PageModel::ResetPeakingBand(int b, int enabledFlag) {
    band.freq[b] = defaultFreq[b];
    band.enabled[b] = enabledFlag;
    band.gain[b] = 0.0f;
    band.q[b] = 1.0f;
    band.type[b] = kTypePeaking;
}

void PageModel::ResetAll() {
    for (int b = 0; b < kMaxBands; ++b) {
        if (b < bandCount) {
            ResetPeakingBand(b, 1);
        } else {
            band.freq[b] = kMinFreq;
            band.gain[b] = 0.0f;
            band.q[b] = 1.0f;
        }
    }
    if (bandCount < 1) return;
    const int last = bandCount - 1;
    for (int b : {0, last}) {
        band.freq[b] = b == 0 ? kMinFreq : kMaxFreq;
        band.gain[b] = kMinGain;
        band.q[b] = 0.7f;
        band.type[b] = kTypeOff;
        band.enabled[b] = 1;
    }
}

void PageModel::ResetPeq() {
    for (int b = 1; b < bandCount - 1; ++b) ResetPeakingBand(b, bypass ? 0 : 1);
}

void PageModel::SetBypass(bool on) {
    bypass = on;
    for (int b = 1; b < bandCount - 1; ++b) band.enabled[b] = on ? 0 : 1;
}

bool PageModel::RecomputeBypass() {
    bool anyOn = false;
    for (int b = 1; b < bandCount - 1; ++b) anyOn = anyOn || band.enabled[b] != 0;
    bypass = !anyOn;
    return bypass;
}

void PageModel::CopyCurve(CurveRecord& out) const {
    for (int i = 0; i < kMaxBands; ++i) {
        if (i < bandCount) {
            out.freq[i] = band.freq[i];
            out.gain[i] = band.gain[i];
            out.q[i] = band.q[i];
            out.type[i] = band.type[i];
            out.shown[i] = 1;
            out.enabled[i] = band.enabled[i];
        } else {
            out.freq[i] = kMaxFreq;
            out.gain[i] = 0.0f;
            out.q[i] = 1.0f;
            out.type[i] = kTypePeaking;
            out.shown[i] = 1;
            out.enabled[i] = 0;
        }
    }
}

void PageModel::QuantiseBands() {
    for (int b = 0; b < bandCount; ++b) {
        band.gain[b] = QuantiseGain(band.gain[b]);
        band.q[b] = QuantiseQ(band.q[b]);
    }
}

void PageModel::TakeFrameFreq(const ZemCmd::EqFrame& frame) {
    const int b = frame[5];
    if (!IsBand(b)) return;
    band.freq[b] = frame[14] * 65536 + frame[10] * 256 + frame[9];
}

bool PageModel::SetEnabled(int b, int on) {
    if (!IsBand(b)) return false;
    band.enabled[b] = on != 0 ? 1 : 0;
    return true;
}

ZemCmd::Cmd BaseAlcFrame() {
    return ZemCmd::Frame(0x0E, ZemCmd::kClassWrite, 0x18);
}
