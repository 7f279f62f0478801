#include "platform/lang.h"

namespace lang {

const char* Pick(const char* const* table, std::size_t size, int language) {
    const std::size_t order[] = {static_cast<std::size_t>(Clamp(language)), kEnglish, kChinese};
    for (std::size_t index : order) {
        if (index < size && table[index] != nullptr) return table[index];
    }
    return "";
}

}  // namespace lang
