#pragma once
// Colours written as 0x00BBGGRR (GDI COLORREF) and 0xAARRGGBB (GDI+ ARGB).

#include <QColor>
#include <cstdint>

namespace win {

// RGB(r, g, b) as a COLORREF value.
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

// 0x00BBGGRR -> QColor. QColor(0xEAD999) would read the bytes the wrong way round.
inline QColor ColorRef(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// 0xAARRGGBB -> QColor.
inline QColor Argb(std::uint32_t argb) {
    return QColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                  static_cast<int>(argb & 0xFF), static_cast<int>((argb >> 24) & 0xFF));
}

}  // namespace win
