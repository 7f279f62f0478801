#pragma once
// Structure-aware mutation of preset files for the import fuzz target. A random change of bytes in a
// UTF-16 file almost always gives a file the import refuses whole, so the code that applies a file
// would hardly run; these edits work on the text's lines the way a user, an editor or a damaged copy
// changes a file, so most results still pass the import's checks, and some do not.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace presetfuzz {

// libFuzzer's own byte mutator (LLVMFuzzerMutate), or null where there is none.
using RawMutate = std::size_t (*)(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// Edits preset files starting from `base`, a preset file's text (UTF-8): the console's own export.
class Mutator {
  public:
    explicit Mutator(std::string_view base);
    ~Mutator();

    // The file's bytes after one to four edits: values replaced, nudged or made odd; fields added or
    // dropped; lines removed, doubled, swapped or cut short; sections moved, doubled, renamed or
    // written in other case; line ends and the byte-order mark switched; a NUL put in; now and then
    // `raw` on one line or on the whole file. A file that is not UTF-16LE text holding every section
    // of the base is mostly replaced by the base first. Empty when no result fits in `maxSize` bytes.
    std::string Mutate(std::string_view file, std::size_t maxSize, std::uint32_t seed, RawMutate raw) const;

  private:
    struct Base;
    std::unique_ptr<Base> base_;
};

}  // namespace presetfuzz
