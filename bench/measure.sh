#!/usr/bin/env bash
# Performance figures of the real game in a private Xvfb, measured with public tools only:
# xdotool (windows), /proc (processor time, memory), /usr/bin/time (peak memory).
#
#   bench/measure.sh [startup|idle|run|pacing|all] [BUILD_DIR]     (default: all build)
#
#   startup  start to menu mapped, 10 starts (MORVANE_BENCH_STARTS) (after one that writes the score file): median, spread,
#            beside one empty Qt window and one with a line of text started the same way, as ratios
#   idle     processor time of the game idle in the menu for 5 s
#   run      a whole normal run through the real windows (five landings, name entry, ranking
#            window, exit): peak resident memory, and processor time during the first flight
#   pacing   build/morvane-bench-flight offscreen and in the Xvfb, 5 runs each
#
# Figures are only as quiet as the machine: the load average is printed beside each of them.
# MORVANE_BENCH_NICE=-20 (root only) runs the game, the benchmark and the Xvfb at that niceness, so
# that on a machine busy with other work they are measured as if it were quiet; say so when quoting.
set -u
what=${1:-all}
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
GAME="$build/morvane-tesk"
SHOTS="$build/screenshots/bench"
[ -x "$GAME" ] || { echo "no game at $GAME: build first" >&2; exit 2; }
. "$(dirname "$0")/../tests/desktop/lib.sh"
export QT_MEDIA_BACKEND=gstreamer  # as the game chooses it

load() { cut -d' ' -f1-3 /proc/loadavg; }
favour=(nice -n "${MORVANE_BENCH_NICE:-0}")
now_ms() { local us=${EPOCHREALTIME/./}; echo $((us / 1000)); }  # bash's own clock: no process to start

# Processor time of every thread of `pid` in nanoseconds (the scheduler's own count, finer than the
# clock ticks of /proc/PID/stat).
# Of every thread of `pid` so far: "RUNNING WAITING" milliseconds on a processor and runnable but
# kept waiting for one.
# The running time is the process's own processor clock, which keeps the time of threads that have
# already ended (the game's font set-up thread does); the waiting time is of the live threads only.
run_and_wait_ms() {
  local running
  running=$(python3 -c 'import sys, time; print(int(time.clock_gettime(((~int(sys.argv[1])) << 3) | 2) * 1e3))' "$1")
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk -v r="$running" '{w += $2} END {printf "%d %d", r, w / 1e6}'
}
cpu_ns() {
  local total=0 ns
  for task in /proc/"$1"/task/*/schedstat; do
    read -r ns _ <"$task" 2>/dev/null && total=$((total + ns))
  done
  echo "$total"
}
wakeups() {  # voluntary context switches of every thread
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'
}
stats() {  # numbers on stdin: "median M (min A, max B)"
  sort -n | awk '{v[NR] = $1} END {m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
    printf "median %s (min %s, max %s, %d runs)", m, v[1], v[NR], NR}'
}
stop() { kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null; }

machine() {
  echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
    "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), kernel $(uname -r)," \
    "Debian $(cat /etc/debian_version), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
}

# Every window mapped on the display, as "ID MICROSECONDS" lines in $work/maps.txt: xev reports
# each mapping as it happens, with no polling. A cross-check of the xdotool polling below, whose
# own cost on a busy machine blurs what it measures.
watch_mappings() {
  mkfifo "$work/xev"
  xev -root -event substructure >"$work/xev" 2>/dev/null &
  watchers=($!)
  local line mapping=""
  while IFS= read -r line; do
    [[ $line == "MapNotify event"* ]] && { mapping=1; continue; }
    if [ -n "$mapping" ] && [[ $line == *", window 0x"* ]]; then
      line=${line#*, window }
      echo "${line%%,*} ${EPOCHREALTIME/./}"
      mapping=""
    fi
  done <"$work/xev" >"$work/maps.txt" &
  watchers+=($!)
  pids+=("${watchers[@]}")
}

# One start of `program` (with its arguments) until a visible window of `title` is mapped:
# appends to the arrays `name`_times (polled), `name`_mapped (xev), `name`_runs and `name`_waits
# (schedstat), in ms.
start_once() {  # name title program [argument...]
  local name=$1 title=$2 start menu id mapped running waiting
  shift 2
  start=${EPOCHREALTIME/./}
  "${favour[@]}" "$@" & pid=$!
  pids+=("$pid")
  until id=$(xdotool search --onlyvisible --pid "$pid" --name "$title" 2>/dev/null); do
    kill -0 "$pid" 2>/dev/null || fail "$1 ended before its window"
  done
  menu=${EPOCHREALTIME/./}
  read -r running waiting < <(run_and_wait_ms "$pid")
  eval "${name}_times+=($(((menu - start) / 1000))) ${name}_runs+=($running) ${name}_waits+=($waiting)"
  sleep 0.2  # the mapping's line reaches the file
  # The first mapping after the start of any window of that title (Qt may map a helper too).
  mapped=$(awk -v ids="$(printf '0x%x ' $id)" -v t="$start" 'BEGIN {split(ids, list, " "); for (i in list) want[list[i]] = 1}
    want[$1] && $2 > t && (m == "" || $2 < m) {m = $2} END {print m}' "$work/maps.txt")
  [ -n "$mapped" ] && eval "${name}_mapped+=($(((mapped - start) / 1000)))"
  stop "$pid"
}

median() { sort -n | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { awk -v a="$(printf '%s\n' $1 | median)" -v b="$(printf '%s\n' $2 | median)" 'BEGIN {printf "%.2f", a / b}'; }

# The game beside the floor, one empty Qt Widgets window (morvane-bench-floor), and beside the same
# window with a line of Japanese text (the font set-up every window with text pays), all three
# started the same way and taking turns, so that they see the same load.
startup() {
  local copy folder floor before who
  local game_times=() game_mapped=() game_runs=() game_waits=()
  local floor_times=() floor_mapped=() floor_runs=() floor_waits=()
  local text_times=() text_mapped=() text_runs=() text_waits=()
  command -v python3 >/dev/null || fail "python3 reads the process clock: install it first"
  copy=$(place startup)
  folder=$(dirname "$copy")
  floor="$folder/morvane-bench-floor"
  cp "$build/morvane-bench-floor" "$floor" || fail "no morvane-bench-floor: build it first"
  watch_mappings
  # The first start writes the score file; the measured ones start as a player's usually does.
  "$copy" & pid=$!
  pids+=("$pid")
  window_of "$pid" '^Morvane-Tesk Menu$' >/dev/null || fail "no menu"
  stop "$pid"
  [ -s "$folder/MTScore.dat" ] || fail "no score file"
  before=$(load)
  for _ in $(seq "${MORVANE_BENCH_STARTS:-10}"); do
    start_once game '^Morvane-Tesk Menu$' "$copy"
    start_once floor '^Startup Floor$' "$floor"
    start_once text '^Startup Floor$' "$floor" text
  done
  # How finely the polling loop sees the menu: one xdotool search.
  local poll_start poll_end
  poll_start=${EPOCHREALTIME/./}
  for _ in $(seq 20); do xdotool search --onlyvisible --name '^none$' >/dev/null 2>&1; done
  poll_end=${EPOCHREALTIME/./}
  for who in game floor text; do
    local -n times=${who}_times mapped=${who}_mapped runs=${who}_runs waits=${who}_waits
    echo "$who: start to window mapped, polled with xdotool: $(printf '%s\n' "${times[@]}" | stats) ms; all: ${times[*]} ms"
    echo "  from xev's MapNotify: $(printf '%s\n' "${mapped[@]}" | stats) ms; ran on a processor" \
      "$(printf '%s\n' "${runs[@]}" | stats) ms, kept waiting for one $(printf '%s\n' "${waits[@]}" | stats) ms"
  done
  for who in floor text; do
    local -n times=${who}_times mapped=${who}_mapped runs=${who}_runs
    echo "game / $who, medians: polled $(ratio "${game_times[*]}" "${times[*]}"), xev $(ratio "${game_mapped[*]}" "${mapped[*]}")," \
      "processor time $(ratio "${game_runs[*]}" "${runs[*]}")"
  done
  echo "one poll takes $(((poll_end - poll_start) / 20000)) ms; load $before -> $(load)"
  kill "${watchers[@]}" 2>/dev/null
  wait "${watchers[@]}" 2>/dev/null
}

idle() {
  local copy before cpu0 cpu1 wake0 wake1 ticks0 ticks1 threads
  copy=$(place idle)
  "$copy" & pid=$!
  pids+=("$pid")
  window_of "$pid" '^Morvane-Tesk Menu$' >/dev/null || fail "no menu"
  sleep 1  # let start-up's own work finish
  before=$(load)
  cpu0=$(cpu_ns "$pid") wake0=$(wakeups "$pid")
  ticks0=$(awk '{print $14 + $15}' /proc/"$pid"/stat)
  sleep 5
  cpu1=$(cpu_ns "$pid") wake1=$(wakeups "$pid")
  ticks1=$(awk '{print $14 + $15}' /proc/"$pid"/stat)
  threads=$(ls /proc/"$pid"/task | wc -l)
  stop "$pid"
  echo "idle in the menu for 5 s: $(awk -v n=$((cpu1 - cpu0)) 'BEGIN {printf "%.3f ms of processor time = %.4f %%", n / 1e6, n / 5e9 * 100}')," \
    "$((wake1 - wake0)) wake-ups, $((ticks1 - ticks0)) clock ticks in /proc/PID/stat ($threads threads," \
    "$((cpu1 / 1000000)) ms of processor time since the start); load $before -> $(load)"
}

# Presses Enter in `window` (a window of the game that has just been mapped may not take keys at
# once, and the key is released whatever becomes of the window).
enter() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key --window "$1" Return 2>/dev/null
  xdotool keyup Return 2>/dev/null
}
click() {  # window x y
  xdotool mousemove --window "$1" "$2" "$3" click 1 2>/dev/null
}

# One flight from GO!!: Down twice at once and Up after 4.6 s land every stage on the pad, with a
# margin of several ticks either way (found with morvane-replay: 2:down 2:down 92:up).
fly() {  # prompt play
  local prompt=$1 play=$2
  enter "$prompt"
  gone "$pid" '^ $' || fail "GO!! did not start the flight"
  flight_start=$(now_ms)
  sleep 0.1
  xdotool key --window "$play" Down Down
  sleep 4.5
  xdotool key --window "$play" Up
}

run() {
  local copy folder menu prompt play ranking box cpu0 cpu1 t0 t1 before
  copy=$(place run)
  folder=$(dirname "$copy")
  rm -f "$work/time.txt"
  "${favour[@]}" /usr/bin/time -v -o "$work/time.txt" "$copy" & timer=$!
  pids+=("$timer")
  for _ in $(seq 50); do pid=$(cat /proc/"$timer"/task/"$timer"/children 2>/dev/null | cut -d' ' -f1); [ -n "$pid" ] && break; sleep 0.1; done
  [ -n "$pid" ] || fail "the game did not start"
  pids+=("$pid")
  before=$(load)
  menu=$(window_of "$pid" '^Morvane-Tesk Menu$') || fail "no menu"
  play=$(window_of "$pid" '^Morvane-Tesk$') || fail "no play screen"
  enter "$menu"
  prompt=$(window_of "$pid" '^ $') || fail "no prompt after START"
  for stage in 1 2 3 4 5; do
    if [ "$stage" -gt 1 ]; then
      enter "$prompt"  # "OK!! 次のステージへゴー!" sets the stage up and offers GO!! again
      gone "$pid" '^ $' >/dev/null
      window_of "$pid" '^ $' >/dev/null || fail "no GO!! for stage $stage"
    fi
    [ "$stage" -eq 1 ] && cpu0=$(cpu_ns "$pid")
    fly "$prompt" "$play"
    window_of "$pid" '^ $' >/dev/null || fail "no prompt after the flight of stage $stage"
    if [ "$stage" -eq 1 ]; then
      cpu1=$(cpu_ns "$pid") t1=$(now_ms)
      flight_cpu=$(awk -v n=$((cpu1 - cpu0)) -v ms=$((t1 - flight_start)) \
        'BEGIN {printf "%.0f ms of processor time in %.1f s = %.2f %%", n / 1e6, ms / 1e3, n / 1e4 / ms}')
    fi
    shot "run-stage$stage"
  done
  # Five landings rank: the name entry, then the ranking window.
  enter "$prompt"
  box=$(window_of "$pid" '^ランクインしたぞ$') || fail "no name entry after five landings"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool type --window "$box" BENCH 2>/dev/null
  enter "$box"
  ranking=$(window_of "$pid" '^ハイスコアランキング$') || fail "no ranking window"
  shot "run-ranking"
  click "$ranking" 52 284  # 戻る
  menu=$(window_of "$pid" '^Morvane-Tesk Menu$') || fail "no menu after the ranking window"
  local hwm
  hwm=$(awk '/^VmHWM/ {print $2}' /proc/"$pid"/status)
  click "$menu" 136 220  # 終了
  local box=""
  for _ in $(seq 20); do
    box=$(xdotool search --onlyvisible --pid "$pid" --name '^Morvane-Tesk$' 2>/dev/null | grep -vx "$play" | head -n 1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no farewell message"
  enter "$box"
  wait "$timer" 2>/dev/null
  local peak
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
  echo "whole normal run (5 landings, name entry, ranking window, exit): peak resident memory" \
    "$(awk -v k="$peak" 'BEGIN {printf "%.1f MB", k / 1024}') (/usr/bin/time; VmHWM before the exit $(awk -v k="$hwm" 'BEGIN {printf "%.1f MB", k / 1024}'));" \
    "first flight: $flight_cpu; load $before -> $(load)"
  grep -q BENCH "$folder/MTScore.dat" || fail "the run's name is not in the score file"
  # The same flights without windows: the replay tool, one stage each.
  local stage replay_peak=0 kb
  for stage in 1 2 3 4 5; do
    kb=$(/usr/bin/time -f %M "$build/morvane-replay" "$stage" 2:down 2:down 92:up 2>&1 >/dev/null | tail -n 1)
    [ "$kb" -gt "$replay_peak" ] && replay_peak=$kb
  done
  echo "replay tool, the same five flights: peak resident memory $(awk -v k="$replay_peak" 'BEGIN {printf "%.1f MB", k / 1024}')"
}

pacing() {
  local before
  before=$(load)
  echo "pacing offscreen (load $before):"
  QT_QPA_PLATFORM=offscreen "${favour[@]}" "$build/morvane-bench-flight" 5 2>/dev/null | sed 's/^/  /'
  before=$(load)
  echo "pacing in Xvfb (load $before):"
  QT_QPA_PLATFORM=xcb "${favour[@]}" "$build/morvane-bench-flight" 5 2>/dev/null | sed 's/^/  /'
}

machine
echo "load average before: $(load); niceness ${MORVANE_BENCH_NICE:-0}"
start_display
[ "${MORVANE_BENCH_NICE:-0}" = 0 ] || renice -n "$MORVANE_BENCH_NICE" -p "$xvfb" >/dev/null
case "$what" in
  startup | idle | run | pacing) "$what" ;;
  all) startup; idle; run; pacing ;;
  *) echo "usage: bench/measure.sh [startup|idle|run|pacing|all] [BUILD_DIR]" >&2; exit 2 ;;
esac
