#!/usr/bin/env bash
# Idle cost of the program connected to the simulated IC-7300: its share of
# one core and its resident memory over a window of idle running, first with
# the meter poll alone, then with the mirror poll as well. Also counts the
# frames the radio received per second and the program's wake-ups. The
# simulated radio's own share, a process that does little more than wake
# for each frame, shows what one wake-up costs on the machine measured.
#
#   bench/idle_cost.sh [BUILD_DIR] [SECONDS] [TRACE]
#
# BUILD_DIR defaults to build, SECONDS to 30, TRACE (the [SPECIAL] level) to
# the program's default, 3. Needs build/qarv and build/qarv-sim-radio.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
secs=${2:-30}
trace=${3:-3}
# Time on the CPU in ns from the scheduler's own accounting: precise where
# the tick-sampled utime/stime of a process that runs briefly and often is not.
# Summed over the process's threads.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{n += $1} END {printf "%d", n}'; }
ctxt() { cat /proc/"$1"/task/*/status | awk '$1 == "voluntary_ctxt_switches:" {n += $2} END {print n}'; }
status_kb() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status"; }

measure() {
  local name=$1 mirror=$2
  local dir
  dir=$(mktemp -d)
  mkdir -p "$dir/ports"
  (cd "$dir" && exec "$build/qarv-sim-radio" --address 94 --baud 19200 --link ports/com1 --verbose 2>sim.log >/dev/null) &
  local sim=$!
  for _ in $(seq 50); do [ -e "$dir/ports/com1" ] && break; sleep 0.1; done
  printf '[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nMIRROR=%s\n[OPERATING STATUS]\nQARV=23\nMUTE ALWAYS=1\n[SPECIAL]\nTRACE=%s\n' \
    "$mirror" "$trace" >"$dir/qarv.ini"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen exec "$build/qarv" >qarv.log 2>&1) &
  local qarv=$!
  # First contact, initialisation and the pushes that follow it.
  sleep 5
  local c0 f0 t0 w0 s0 c1 f1 t1 w1 s1
  c0=$(cpu_ns "$qarv"); w0=$(ctxt "$qarv"); s0=$(cpu_ns "$sim")
  f0=$(wc -l <"$dir/sim.log"); t0=$(date +%s.%N)
  sleep "$secs"
  c1=$(cpu_ns "$qarv"); w1=$(ctxt "$qarv"); s1=$(cpu_ns "$sim")
  f1=$(wc -l <"$dir/sim.log"); t1=$(date +%s.%N)
  local rss hwm
  rss=$(status_kb "$qarv" VmRSS); hwm=$(status_kb "$qarv" VmHWM)
  kill -TERM "$qarv"; wait "$qarv" || true
  kill -TERM "$sim"; wait "$sim" || true
  awk -v n="$name" -v c=$((c1 - c0)) -v t0="$t0" -v t1="$t1" -v f=$((f1 - f0)) -v rss="$rss" -v hwm="$hwm" \
    -v w=$((w1 - w0)) -v s=$((s1 - s0)) \
    'BEGIN { d = t1 - t0
             printf "%-22s cpu %.2f%% of one core  rss %.1f MB (peak %.1f MB)\n", n, 100 * c / 1e9 / d, rss / 1024, hwm / 1024
             printf "%-22s %.1f frames/s to the radio, %.1f wake-ups/s; the simulated radio answering them: cpu %.2f%%\n",
                    "", f / d, w / d, 100 * s / 1e9 / d }'
  rm -rf "$dir"
}

echo "idle over ${secs} s, TRACE=${trace}, simulated IC-7300 at 19200 baud"
measure "meter poll" 0
measure "meter and mirror poll" 1
