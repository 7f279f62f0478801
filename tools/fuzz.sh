#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (seconds, default 30),
# starting from its seed corpus in fuzz/seeds/<name>. A crash fails the run and leaves the input in
# build/fuzz/artifacts. JOBS=n limits the build to n parallel jobs (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
  echo "fuzzing skipped: clang++ is not installed"; exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long){return 0;}' \
     | clang++ -x c++ -fsanitize=fuzzer - -o "$probe/probe" 2>/dev/null; then
  echo "fuzzing skipped: clang's libFuzzer runtime is not installed"; exit 0
fi
[ -f fuzz/CMakeLists.txt ] || { echo "fuzzing skipped: no fuzz targets"; exit 0; }
cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DK417B_FUZZ=ON -DK417B_BENCH=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/fuzz -j "${JOBS:-$(nproc)}" --target fuzz_targets
mkdir -p build/fuzz/artifacts
# Leaks inside system libraries (fontconfig under the preset import's window) are not ours.
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  dirs=("$corpus")
  seeds=fuzz/seeds/${name#fuzz_}
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "fuzzing $name for ${seconds}s"
  log=build/fuzz/artifacts/$name.log
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ \
       "${dirs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" || tail -n 2 "$log"
  else
    echo "FUZZ FAILURE in $name:"; tail -n 40 "$log"; status=1
  fi
done
exit $status
