#!/usr/bin/env bash
# The program with a CAT client that has stopped reading: a logger on COM5
# whose end of the line is open and never read, its input kept full, while
# the simulated IC-7300's knob turns 100 steps a second. Measures, with the
# real program, the meter polls per second the radio receives (the meter
# tick's 15 02; 5 a second at the default 200 ms), then the time from
# SIGTERM to the program's exit. The same with nobody on COM5 as reference.
#
#   bench/stalled_cat.sh [BUILD_DIR] [SECONDS]
#
# BUILD_DIR defaults to build, SECONDS (the measuring window) to 10. Needs
# build/qarv, build/qarv-sim-radio and python3; QARV=path measures another
# build of the program against the same simulated radio.
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
secs=${2:-10}
program=${QARV:-$build/qarv}
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { date +%s%3N; }
polls() { grep -c '^FE FE 94 E0 15 02 FD' "$1" || true; }

# run LABEL STALL: prints the polls per second and the close time.
run() {
  local label=$1 stall=$2 dir qarv sim client=
  dir=$(mktemp -d -p "$work")
  mkdir -p "$dir/ports"
  (cd "$dir" && exec "$build/qarv-sim-radio" --address 94 --baud 19200 --link ports/com1 --tune-rate 100 \
    --verbose 2>sim.log >/dev/null) &
  sim=$!
  pids+=("$sim")
  if [ "$stall" = 1 ]; then
    # The client: holds the line open, reads nothing, and keeps its input
    # full (the program's open purges it once).
    python3 - "$dir/ports/com5" <<'EOF' &
import fcntl, os, sys, time, tty
master, slave = os.openpty()
tty.setraw(slave)
os.symlink(os.ttyname(slave), sys.argv[1])
fcntl.fcntl(slave, fcntl.F_SETFL, os.O_NONBLOCK)
while True:
    try:
        while os.write(slave, b";" * 512) > 0:
            pass
    except BlockingIOError:
        pass
    time.sleep(0.5)
EOF
    client=$!
    pids+=("$client")
  fi
  for _ in $(seq 50); do [ -e "$dir/ports/com1" ] && { [ "$stall" = 0 ] || [ -e "$dir/ports/com5" ]; } && break; sleep 0.1; done
  printf '[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=%s\n[OPERATING STATUS]\nQARV=23\nTHP=1\n' \
    "$([ "$stall" = 1 ] && echo COM5 || echo COM0)" >"$dir/qarv.ini"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen exec "$program" >qarv.log 2>&1) &
  qarv=$!
  pids+=("$qarv")
  # First contact, the radio initialised, the client's line full.
  for _ in $(seq 200); do [ "$(polls "$dir/sim.log")" -gt 0 ] && break; sleep 0.1; done
  sleep 5
  local p0 p1
  p0=$(polls "$dir/sim.log")
  sleep "$secs"
  p1=$(polls "$dir/sim.log")
  local t0 t1
  t0=$(now_ms)
  kill -TERM "$qarv"
  (sleep 60 && kill -KILL "$qarv" 2>/dev/null) &
  local watchdog=$!
  wait "$qarv" 2>/dev/null || true
  t1=$(now_ms)
  kill "$watchdog" 2>/dev/null || true
  local behind
  behind=$(grep -c "not reading, its output left behind" "$dir/comms.txt" || true)
  awk -v l="$label" -v n=$((p1 - p0)) -v s="$secs" -v c=$((t1 - t0)) -v b="$behind" \
    'BEGIN { printf "%-26s meter polls %.1f/s, SIGTERM to exit %.2f s (port left behind %d times)\n", l, n / s, c / 1000, b }'
  kill "$sim" ${client:+"$client"} 2>/dev/null || true
}

run "nobody on COM5" 0
run "COM5 client not reading" 1
