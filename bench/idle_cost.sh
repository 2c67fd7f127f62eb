#!/usr/bin/env bash
# Idle cost of the program connected to the simulated IC-7300: its share of
# one core, its resident memory and its wake-ups over a window of idle
# running, with the meter poll at its default 200 ms. Measured offscreen,
# under Xvfb with the radio window shown, and offscreen with the mirror poll
# as well; then, when flrig is installed, flrig against the same simulated
# radio under the same Xvfb, as the reference the program is held to.
#
#   bench/idle_cost.sh [BUILD_DIR] [SECONDS] [TRACE]
#
# BUILD_DIR defaults to build, SECONDS to 30, TRACE (the [SPECIAL] level) to
# the program's default, 3. Needs build/qarv, build/qarv-sim-radio and Xvfb;
# flrig is the Debian package (sudo apt-get install -y flrig); without it
# the reference is skipped.
#
# Wake-ups are the voluntary context switches of all the process's threads:
# every time one of them went to sleep and was woken again. Per meter tick is
# over the meter ticks the program ran (counted in its trace log; without a
# trace, as many as the cycle gives). Frames go to the radio one per write,
# each after the radio's answer to the one before (or a pump period), so the
# goal is one wake-up per frame sent in a tick plus the tick's own: each qarv
# line without the mirror poll (whose own ticks wake it) says whether it
# holds. The CPU goal: at most 0.45 of flrig's under the same Xvfb.
set -euo pipefail
# Times and sums are read and written with a '.', whatever the locale.
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
secs=${2:-30}
trace=${3:-3}
cycle_ms=200
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Per thread: its id, time on the CPU in ns from the scheduler's own
# accounting (precise where the tick-sampled utime/stime of a process that
# runs briefly and often is not) and its voluntary context switches. Shell
# built-ins only: a snapshot that started a process or two per thread would
# take longer, on a loaded machine, the more threads there are, and the
# wake-ups counted would cover a longer window than the one timed.
threads() {
  local t c v k val
  for t in /proc/"$1"/task/*; do
    c= v=
    read -r c _ 2>/dev/null <"$t/schedstat" || continue
    while read -r k val _; do
      [ "$k" = voluntary_ctxt_switches: ] && { v=$val; break; }
    done 2>/dev/null <"$t/status"
    [ -n "$c" ] && [ -n "$v" ] && echo "${t##*/} $c $v"
  done | sort
}
# CPU ns and wake-ups between two snapshots, summed over the threads in both
# (a pool thread that ends in between takes its counts with it).
deltas() { join "$1" "$2" | awk '{c += $4 - $2; w += $5 - $3} END {printf "%d %d", c, w}'; }
status_kb() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status"; }

# Starts the simulated radio in $1; sets $sim and $port (the pty it serves).
start_sim() {
  mkdir -p "$1/ports"
  (cd "$1" && exec "$build/qarv-sim-radio" --address 94 --baud 19200 --link ports/com1 --verbose 2>sim.log >/dev/null) &
  sim=$!
  for _ in $(seq 50); do [ -e "$1/ports/com1" ] && break; sleep 0.1; done
  port=$(readlink -f "$1/ports/com1")
}

# The programs measured run side by side over the same window, so that what
# else the machine does weighs on each of them alike.
names=() pids=() dirs=() sims=()
declare -A cpu

# Starts the simulated radio in $1 and registers program PID ($3) as NAME ($2).
register() { names+=("$2"); pids+=("$3"); dirs+=("$1"); sims+=("$sim"); }

# start_qarv NAME PLATFORM MIRROR: PLATFORM offscreen, or xcb on the Xvfb display.
start_qarv() {
  local name=$1 platform=$2 mirror=$3 dir
  dir=$(mktemp -d -p "$work")
  start_sim "$dir"
  printf '[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nMIRROR=%s\n[OPERATING STATUS]\nQARV=23\nMUTE ALWAYS=1\nMETER CYCLE=%s\n[SPECIAL]\nTRACE=%s\n' \
    "$mirror" "$cycle_ms" "$trace" >"$dir/qarv.ini"
  (cd "$dir" && QT_QPA_PLATFORM=$platform DISPLAY=${display:-} exec "$build/qarv" >qarv.log 2>&1) &
  register "$dir" "$name" $!
}

# flrig set up through its own preferences in a directory of its own (and a
# temporary HOME), on the simulated radio's pty at 19200 baud, CI-V address 94.
start_flrig() {
  local dir cfg
  dir=$(mktemp -d -p "$work")
  cfg=$dir/flrig
  mkdir -p "$cfg" "$dir/home"
  start_sim "$dir"
  printf '; FLTK preferences file format 1.0\n; vendor: w1hkj.com\n; application: flrig\n\n[.]\n\nxcvr_name:IC-7300\n' \
    >"$cfg/flrig.prefs"
  # comm_baudrate is an index into flrig's list: 6 is 19200.
  printf '; FLTK preferences file format 1.0\n; vendor: w1hkj.com\n; application: IC-7300\n\n[.]\n\nversion:%s\nxcvr_serial_port:%s\ncomm_baudrate:6\ncivadr:148\ncomm_echo:1\n' \
    "$(flrig --version 2>/dev/null | awk '{print $NF; exit}')" "$port" >"$cfg/IC-7300.prefs"
  (cd "$dir" && HOME=$dir/home DISPLAY=$display exec flrig --config-dir "$cfg/" >flrig.log 2>&1) &
  register "$dir" "flrig (Xvfb)" $!
}

stop() { kill -TERM "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# Meter ticks the program ran, from its trace log ("OnTimer called 2", over
# the log and its continuations); 0 without a trace. Under load the ticks
# come later than the cycle says, so the figures per tick count real ones.
meter_ticks() {
  cat "$1"/comms*.txt 2>/dev/null | tr -d '\r' | grep -c ' OnTimer called 2$' || true
}

# Idle figures of every registered program over $secs; frames counted in
# each one's sim.log. Fills cpu[NAME] with the share of one core.
measure_all() {
  local k n=${#pids[@]} t0 t1 rss hwm nthreads c w s dir pid
  # First contact, initialisation and the pushes that follow it.
  sleep 10
  for ((k = 0; k < n; k++)); do
    dir=${dirs[k]}
    echo "$EPOCHREALTIME" >"$dir/t0"
    threads "${pids[k]}" >"$dir/p0"; threads "${sims[k]}" >"$dir/s0"; wc -l <"$dir/sim.log" >"$dir/f0"
    meter_ticks "$dir" >"$dir/m0"
  done
  sleep "$secs"
  for ((k = 0; k < n; k++)); do
    dir=${dirs[k]}; pid=${pids[k]}
    t1=$EPOCHREALTIME; t0=$(cat "$dir/t0")
    threads "$pid" >"$dir/p1"; threads "${sims[k]}" >"$dir/s1"; wc -l <"$dir/sim.log" >"$dir/f1"
    meter_ticks "$dir" >"$dir/m1"
    rss=$(status_kb "$pid" VmRSS); hwm=$(status_kb "$pid" VmHWM)
    nthreads=$(wc -l <"$dir/p1")
    read -r c w <<<"$(deltas "$dir/p0" "$dir/p1")"
    read -r s _ <<<"$(deltas "$dir/s0" "$dir/s1")"
    cpu[${names[k]}]=$(awk -v c="$c" -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.4f", 100 * c / 1e9 / (t1 - t0) }')
    awk -v n="${names[k]}" -v c="${cpu[${names[k]}]}" -v t0="$t0" -v t1="$t1" -v f=$(($(cat "$dir/f1") - $(cat "$dir/f0"))) \
      -v rss="$rss" -v hwm="$hwm" -v w="$w" -v s="$s" -v cyc="$cycle_ms" -v th="$nthreads" \
      -v m=$(($(cat "$dir/m1") - $(cat "$dir/m0"))) \
      'BEGIN { d = t1 - t0
               printf "%-30s cpu %.2f%% of one core  rss %.1f MB (peak %.1f MB)  %d threads\n", n, c, rss / 1024, hwm / 1024, th
               # Ticks counted in the trace, else as many as the cycle gives.
               ticks = m > 0 ? m : d * 1000 / cyc
               fpt = f / ticks; wpt = w / ticks
               printf "%-30s %.1f frames/s to the radio = %.2f per meter tick, %.1f wake-ups/s = %.2f per meter tick (%d ticks%s); the simulated radio: cpu %.2f%%\n",
                      "", f / d, fpt, w / d, wpt, ticks, (m > 0 ? " run" : " by the cycle"), 100 * s / 1e9 / d
               # The three counts are read one after another, so a window may
               # hold one wake-up of a tick whose frame or tick it does not.
               if (n ~ /^qarv/ && n !~ /mirror/)
                 printf "%-30s wake-ups per tick %.2f against one per frame plus one, %.2f: %s\n",
                        "", wpt, fpt + 1, (w <= f + ticks + 1 ? "holds" : "falls short") }'
  done
  for ((k = 0; k < n; k++)); do stop "${pids[k]}"; stop "${sims[k]}"; done
}

echo "idle over ${secs} s, side by side, TRACE=${trace}, METER CYCLE=${cycle_ms} ms, simulated IC-7300 at 19200 baud"
echo "machine load (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
display=
start_qarv "qarv offscreen" offscreen 0
start_qarv "qarv offscreen, mirror poll" offscreen 1
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=:$(head -1 "$work/display")
  start_qarv "qarv Xvfb, radio window shown" xcb 0
  if command -v flrig >/dev/null; then
    start_flrig
  else
    echo "flrig not installed, reference skipped (Debian: sudo apt-get install -y flrig)"
  fi
else
  echo "Xvfb not installed: the shown-window run and the reference are skipped"
fi
measure_all
if [ -n "${cpu[flrig (Xvfb)]:-}" ]; then
  awk -v a="${cpu[qarv Xvfb, radio window shown]}" -v o="${cpu[qarv offscreen]}" -v f="${cpu[flrig (Xvfb)]}" \
    'BEGIN { if (f > 0) printf "cpu against flrig: %.2f under Xvfb, %.2f offscreen (goal at most 0.45: %s)\n",
                               a / f, o / f, a / f <= 0.45 ? "holds" : "falls short" }'
fi
