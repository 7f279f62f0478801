#!/usr/bin/env bash
# Start-up time to the first painted main window, and idle CPU with no device, on a virtual display.
#   console/measure_startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build/plain}
runs=${2:-5}
console=$(realpath "$build/console/k417b")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

display=:97
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display K417B_PORTS=/nonexistent

echo "start-up to first paint (ms):"
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  K417B_REPORT_FIRST_PAINT=1 "$console" 2>err.txt &
  pid=$!
  for _ in $(seq 100); do grep -q first-paint-ns err.txt 2>/dev/null && break; sleep 0.05; done
  painted=$(sed -n 's/^first-paint-ns //p' err.txt)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "  run $i: $(( (painted - start) / 1000000 ))"
done

echo "idle CPU over 10 s (after 3 s of settling):"
"$console" 2>/dev/null &
pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
t0=$(ticks "$pid")
sleep 10
t1=$(ticks "$pid")
kill "$pid"; wait "$pid" 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN { printf "  %.2f %% of one core\n", 100 * d / hz / 10 }'
