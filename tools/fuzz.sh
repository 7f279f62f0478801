#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (seconds, default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
  echo "fuzzing skipped: clang++ is not installed"; exit 0
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long){return 0;}' \
     | clang++ -x c++ -fsanitize=fuzzer - -o /tmp/k417b-fuzzprobe 2>/dev/null; then
  echo "fuzzing skipped: clang's libFuzzer runtime is not installed"; exit 0
fi
[ -f fuzz/CMakeLists.txt ] || { echo "fuzzing skipped: no fuzz targets"; exit 0; }
cmake -S . -B build/fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DK417B_FUZZ=ON -DK417B_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target fuzz_targets
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/seeds/${name#fuzz_}
  echo "fuzzing $name for ${seeds:+seeded }${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds")} 2>&1 | tail -n 3
done
