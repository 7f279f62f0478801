// Fuzz target: the receive-side frame parser. Whatever the bytes, every frame it hands out is
// well formed, and the same bytes give the same frames however the reads are split.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/frame_parser.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::vector<ZemCmd::Cmd> ParseInChunks(const std::uint8_t* data, std::size_t size, std::size_t chunk,
                                       int& errors) {
    ZemCmd::FrameParser parser;
    std::vector<ZemCmd::Cmd> frames;
    for (std::size_t at = 0; at < size; at += chunk) {
        const std::size_t n = size - at < chunk ? size - at : chunk;
        parser.Feed(
            data + at, n, [&](const ZemCmd::Cmd& f) { frames.push_back(f); }, [&] { ++errors; });
        Check(parser.Position() >= 0 && parser.Position() < ZemCmd::kMaxFrame);
    }
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int errorsWhole = 0;
    const auto whole = ParseInChunks(data, size, size ? size : 1, errorsWhole);
    for (const auto& f : whole) {
        const int len = f.Length();
        Check(f[0] == ZemCmd::kSync && len >= 5 && len <= ZemCmd::kMaxFrame);
        Check(f[len - 1] == f.CheckSum());
        for (int i = len; i < ZemCmd::kMaxFrame; ++i) Check(f[i] == 0);
    }
    const std::size_t chunk = size ? 1 + data[0] % 17 : 1;
    int errorsSplit = 0;
    const auto split = ParseInChunks(data, size, chunk, errorsSplit);
    Check(split.size() == whole.size() && errorsSplit == errorsWhole);
    for (std::size_t i = 0; i < whole.size(); ++i) Check(split[i].b == whole[i].b);
    return 0;
}
