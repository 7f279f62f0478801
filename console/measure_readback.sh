#!/usr/bin/env bash
# Read-back time and outcome of the console against the simulated processor, one run per lateness.
#   console/measure_readback.sh [build-dir] [late-ms ...]      (default: 0 50 150 250 400)
# Per run: the time from the first read request to the end command, both as the simulator logged
# them, the requests it received, and whether the console connected (its heartbeat follows the
# read-back only after a read-back that finished).
set -euo pipefail
build=$(realpath "${1:-build/plain}")
shift || true
lates=("$@")
[ ${#lates[@]} -gt 0 ] || lates=(0 50 150 250 400)
console=$build/console/k417b
sim=$build/sim/k417b-sim
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The first line of the log whose frame starts with these bytes: its time stamp in ms.
first_ms() { # <log> <hex prefix> [after-ms]
  awk -v pre="$2" -v after="${3:--1}" '$2 == "rx" && $1 > after && index(substr($0, index($0, "rx") + 3), pre) == 1 { print $1; exit }' "$1"
}

printf '%-8s %-10s %-9s %-10s %s\n' late-ms readback-s requests connected bound-ratio
for late in "${lates[@]}"; do
  dir=$work/late$late
  mkdir -p "$dir"
  "$sim" --link "$dir/tty" --log "$dir/sim.log" --late "$late" >/dev/null 2>&1 &
  sim_pid=$!
  pids+=("$sim_pid")
  for _ in $(seq 50); do [ -e "$dir/tty" ] && break; sleep 0.1; done
  (cd "$dir" && K417B_PORTS=$dir/tty QT_QPA_PLATFORM=offscreen exec "$console" >/dev/null 2>&1) &
  console_pid=$!
  pids+=("$console_pid")
  # The first connect starts 2 s after start-up; a read-back takes about 15 s, retries more.
  start=""
  finish=""
  heartbeat=""
  for _ in $(seq 600); do
    sleep 0.1
    start=$(first_ms "$dir/sim.log" "A5 09 F4 02 80")
    finish=$(first_ms "$dir/sim.log" "A5 09 F1 F0 77")
    [ -n "$finish" ] && heartbeat=$(first_ms "$dir/sim.log" "A5 06 F9 03 06" "$finish")
    [ -n "$heartbeat" ] && break
    # A failed read-back sends nothing more: stop waiting once the log has been still for 3 s.
    if [ -n "$start" ] && [ $(( $(date +%s) - $(stat -c %Y "$dir/sim.log") )) -gt 3 ]; then break; fi
  done
  kill "$console_pid" "$sim_pid" 2>/dev/null || true
  wait "$console_pid" "$sim_pid" 2>/dev/null || true
  requests=$(grep -c ' rx A5 09 F4 ' "$dir/sim.log" || true)
  if [ -n "$start" ] && [ -n "$finish" ]; then
    span=$((finish - start))
    seconds=$(awk -v s="$span" 'BEGIN { printf "%.2f", s / 1000 }')
    ratio=$(awk -v s="$span" 'BEGIN { printf "%.3f", s / 13300 }')
  else
    seconds=-
    ratio=-
  fi
  printf '%-8s %-10s %-9s %-10s %s\n' "$late" "$seconds" "$requests" "$([ -n "$heartbeat" ] && echo yes || echo no)" "$ratio"
done
