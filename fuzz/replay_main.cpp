// Runs a fuzz target once over each file named on the command line (the seed corpus), so the
// targets are exercised by every compiler and sanitizer build, not only clang's libFuzzer. A target
// with a mutator of its own also runs a few of its mutants of each file, so the mutator is too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) __attribute__((weak));

namespace {
constexpr unsigned kMutantsPerFile = 8;
}  // namespace

int main(int argc, char** argv) {
    int replayed = 0, mutants = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++replayed;
        if (!LLVMFuzzerCustomMutator) continue;
        for (unsigned seed = 1; seed <= kMutantsPerFile; ++seed) {
            std::vector<std::uint8_t> mutant = bytes;
            mutant.resize(std::max<std::size_t>(2 * bytes.size(), 4096));
            mutant.resize(LLVMFuzzerCustomMutator(mutant.data(), bytes.size(), mutant.size(), seed));
            LLVMFuzzerTestOneInput(mutant.data(), mutant.size());
            ++mutants;
        }
    }
    std::printf("replayed %d inputs", replayed);
    if (mutants) std::printf(" and %d mutants of them", mutants);
    std::printf("\n");
    return replayed > 0 ? 0 : 1;
}
