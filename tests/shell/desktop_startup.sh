#!/usr/bin/env bash
# Real copies of the game in a virtual X display: the single-copy guard, a killed copy, no display,
# and a first start in a folder where the score file cannot be written.
set -u
game="$1"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
unset QT_QPA_PLATFORM

# The game keeps its files beside itself, so each case runs a copy in a folder of its own.
place() { mkdir -p "$work/$1" && cp "$game" "$work/$1/morvane-tesk" && echo "$work/$1/morvane-tesk"; }

# 1. No display: one clear line, non-zero status, no Qt abort.
copy=$(place nodisplay)
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$copy" 2>&1); status=$?
[ "$status" -ne 0 ] || fail "started without a display and exited 0"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "expected one line without a display, got: $out"
grep -q "no display" <<<"$out" || fail "unclear message without a display: $out"
out=$(DISPLAY=:97 "$copy" 2>&1); status=$?
[ "$status" -ne 0 ] && grep -q "no display" <<<"$out" || fail "unreachable display not reported: $out"

for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"

# Waits for a visible window of `pid` whose title matches `pattern`; prints its id.
window_of() {
  local pid=$1 pattern=$2
  for _ in $(seq 150); do
    local id
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
visible_windows() { xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null | wc -l; }
ends_within() {  # pid seconds
  for _ in $(seq $(($2 * 10))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
# Presses Enter in the message box of `pid` until the process ends (a box that has just been mapped
# may not take keys yet); fails when it is still running after ten tries.
ok_and_end() {  # window pid
  for _ in $(seq 10); do
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key --window "$1" Return 2>/dev/null
    # A box that closes on the press takes its window with it, and xdotool then fails to send the
    # release: the key would stay down in the server and auto-repeat into the next copy's box.
    xdotool keyup Return 2>/dev/null
    ends_within "$2" 1 && return 0
  done
  return 1
}

# 2. A first copy opens the play screen and the menu and writes the default score file.
copy=$(place guard)
"$copy" & first=$!; pids+=("$first")
window_of "$first" '^Morvane-Tesk Menu$' >/dev/null || fail "the menu of the first copy did not appear"
window_of "$first" '^Morvane-Tesk$' >/dev/null || fail "the play screen of the first copy did not appear"
[ "$(stat -c %s "$(dirname "$copy")/MTScore.dat")" = 2692 ] || fail "default score file missing or wrong size"

# 3. A second copy from the same folder shows the refusal and nothing else, then ends; the first lives on.
"$copy" & second=$!; pids+=("$second")
box=$(window_of "$second" '^Morvane-Tesk$') || fail "the second copy showed no message"
[ "$(visible_windows "$second")" -eq 1 ] || fail "the second copy opened more than its message"
ok_and_end "$box" "$second" || fail "the second copy did not end after its message"
kill -0 "$first" 2>/dev/null || fail "the first copy was disturbed"

# 4. A copy killed outright leaves no lock behind.
kill -9 "$first"; wait "$first" 2>/dev/null
"$copy" & third=$!; pids+=("$third")
window_of "$third" '^Morvane-Tesk Menu$' >/dev/null || fail "a killed copy blocked the next start"
kill -9 "$third"

# 5. A first start where the score file cannot be written shows the write error and no game window.
copy=$(place unwritable)
mkdir "$(dirname "$copy")/MTScore.dat"  # not an ordinary file, and nothing can be written in its place
"$copy" & fourth=$!; pids+=("$fourth")
box=$(window_of "$fourth" '^Morvane-Tesk$') || fail "no write error shown"
[ "$(visible_windows "$fourth")" -eq 1 ] || fail "a game window appeared although the score file failed"
ok_and_end "$box" "$fourth" || fail "the program did not end after the write error"

echo "desktop start-up: all cases passed"
