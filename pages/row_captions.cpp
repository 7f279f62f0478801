#include "pages/row_captions.h"

#include "platform/lang.h"

namespace rowcaption {
namespace {

const char* const kTexts[kRows][5] = {
    {"增益：", "Gain: ", "เกน:", "Biên độ:", "Gain:"},
    {"类型：", "Type: ", "ชนิด:", "Loại:", "Tipe:"},
    {"频率：", "Freq: ", "ความถี่:", "Tần số:", "Freq:"},
    {"Q值：", "Q: ", "Q:", "Độ nhọn", "Q:"},
};

}  // namespace

const char* Text(int row, int language) {
    if (row < 0 || row >= kRows) return "";
    return lang::Pick(kTexts[row], language);
}

}  // namespace rowcaption
