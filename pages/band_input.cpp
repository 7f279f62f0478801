#include "pages/band_input.h"

#include <cmath>

#include "pages/page_model.h"
#include "platform/ascii_text.h"
#include "platform/lang.h"
#include "platform/numbers.h"

namespace {

// `word` is lower case.
bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    return ascii::EqualIgnoringCase(text.substr(at, word.size()), word);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

DecimalRead ReadDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (StartsWithNoCase(text, i, "inf") || StartsWithNoCase(text, i, "nan") ||
        StartsWithNoCase(text, i, "0x"))
        return {NumberRead::kRefused, 0};
    if (const auto v = num::ParseLeadingDecimal(text)) return {NumberRead::kValue, *v};
    // Digits that do not make a finite double (1e999) are refused; no digits at all is no number.
    const bool digits = (i < text.size() && text[i] >= '0' && text[i] <= '9') ||
                        (i + 1 < text.size() && text[i] == '.' && text[i + 1] >= '0' && text[i + 1] <= '9');
    return {digits ? NumberRead::kRefused : NumberRead::kNone, 0};
}

EditCheck CheckBandEdit(BandEdit kind, std::string_view text) {
    EditCheck out;
    switch (kind) {
        case BandEdit::kFreq: {
            const int v = num::ParseLeadingInt(text);
            if (v < kMinFreq || v > kMaxFreq) return out;
            out.verdict = EditVerdict::kAccept;
            out.hz = v;
            return out;
        }
        case BandEdit::kGain: {
            const DecimalRead r = ReadDecimal(text);
            if (r.kind == NumberRead::kNone) {
                out.verdict = EditVerdict::kInvalidInput;
                return out;
            }
            if (r.kind == NumberRead::kRefused) return out;
            const float g = static_cast<float>(r.value);
            if (!(g >= kMinGain && g <= kMaxGain)) return out;
            out.tenths = GainTenths(g);
            // The rounding may step just past an end (12.01 -> 12.1); keep the range.
            if (out.tenths > kMaxGainTenths) out.tenths = kMaxGainTenths;
            if (out.tenths < kMinGainTenths) out.tenths = kMinGainTenths;
            out.value = static_cast<float>(out.tenths) / 10.0f;
            out.verdict = EditVerdict::kAccept;
            return out;
        }
        case BandEdit::kQ: {
            const DecimalRead r = ReadDecimal(text);
            const float q = r.kind == NumberRead::kValue ? static_cast<float>(r.value) : 0.0f;
            if (r.kind == NumberRead::kRefused || !(q >= kMinQ && q <= kMaxQ)) return out;
            out.tenths = QTenths(q);
            if (out.tenths > kMaxQTenths) out.tenths = kMaxQTenths;
            out.value = static_cast<float>(out.tenths) / 10.0f;
            out.verdict = EditVerdict::kAccept;
            return out;
        }
    }
    return out;
}

std::string GainText(float gain) {
    if (gain == 0.0f) gain = 0.0f;  // -0 shows as +0.0
    return gain >= 0.0f ? num::Format("+%.1f dB", static_cast<double>(gain))
                        : num::Format("%.1f dB", static_cast<double>(gain));
}

std::string FreqText(int hz) {
    return num::Format("%d Hz", hz);
}

std::string QText(float q) {
    return num::Format("%1.1f", static_cast<double>(q));
}

std::string RangeBoxCaption(int language) {
    static const char* const kCaptions[] = {"无效值", "Invalid Value", "ค่าไม่ถูกต้อง", "giá trị không hợp",
                                            "Nilai tidak valid"};
    return lang::Pick(kCaptions, language);
}

std::string RangeBoxMessage(BandEdit kind, int language) {
    static const char* const kFormats[] = {"超出范围%s。", "Out of range%s.", "เกินขอบเขต%s.",
                                           "Ngoài phạm vi%s", "Di luar jangkauan%s"};
    std::string range;
    switch (kind) {
        case BandEdit::kGain:
            range = num::Format("(%d - %ddB)", static_cast<int>(kMinGain), static_cast<int>(kMaxGain));
            break;
        case BandEdit::kFreq:
            range = num::Format("(%d - %dHz)", kMinFreq, kMaxFreq);
            break;
        case BandEdit::kQ:
            range = num::Format("(%1.1f - %1.1f)", static_cast<double>(kMinQ), static_cast<double>(kMaxQ));
            break;
    }
    std::string text = lang::Pick(kFormats, language);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, range);
    return text;
}

std::string InvalidInputText(int language) {
    // Three languages only; the others fall back to English.
    static const char* const kTexts[] = {"非法输入", "Invalid input.", "ข้อมูลที่ผิดกฎหมาย"};
    return lang::Pick(kTexts, language);
}
