#include "controls/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace controls {

#if defined(__x86_64__) || defined(__i386__)
namespace {

__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

bool HasAvx() {
    __builtin_cpu_init();  // may run before the library's own detection when called from a constructor
    return __builtin_cpu_supports("avx");
}

}  // namespace

void ClearUpperVectorState() {
    static const bool hasAvx = HasAvx();
    if (hasAvx) ZeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif

}  // namespace controls
