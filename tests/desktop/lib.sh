# Shared steps of the desktop tests: a private X display (and a window manager where asked), real
# copies of the game in fresh folders, waits with short timeouts, screenshots.
# Source it with GAME (the built game) and SHOTS (where screenshots go) set.
set -u
unset QT_QPA_PLATFORM
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  cd / && rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  shot "failure" 2>/dev/null
  exit 1
}

# A display of our own: -noreset keeps it up between clients.
start_display() {
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY="$display"
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  fail "Xvfb did not start"
}

# openbox, as a small real window manager that decorates, places and focuses windows.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.1
  done
  fail "the window manager did not start"
}

# A copy of the game with its sounds and its sound back end in a folder of its own, as a player's
# program folder.
place() {
  mkdir -p "$work/$1"
  cp "$GAME" "$work/$1/morvane-tesk"
  cp "$(dirname "$GAME")"/*.wav "$(dirname "$GAME")"/morvane-sound.so "$work/$1/" 2>/dev/null
  echo "$work/$1/morvane-tesk"
}

# Waits for a visible window of `pid` whose title matches `pattern`; prints its id.
window_of() {
  local pid=$1 pattern=$2 id
  for _ in $(seq 150); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
# Waits until no visible window of `pid` matches `pattern`.
gone() {
  local pid=$1 pattern=$2
  for _ in $(seq 100); do
    [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
ends_within() {  # pid seconds
  for _ in $(seq $(($2 * 10))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
# Polls a condition (a command) for up to `seconds`.
eventually() {  # seconds command...
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The top-left corner of a window's frame on the screen: its client area less the frame the window
# manager drew around it.
frame_origin() {
  local id=$1 x y left top
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y)=')"
  read -r left _ top _ < <(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
  echo "$((X - ${left:-0})) $((Y - ${top:-0}))"
}

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
prompt_up() { window_of "$game" '^ $'; }  # the stage prompt of the game `game`

# From the stage prompt `prompt` with the keys, GO!! and a normal run that ranks at place 9: a
# landing on stage 1, a crash on stage 2, then OK to the name entry. Down twice within the first
# ticks, Up about 98 ticks later: a landing for an Up anywhere from tick 81 (98 when the Down
# presses came late) to 117, so a slow or busy machine still lands.
landing_then_crash() {  # shot name after the landing
  xdotool key Return
  gone "$game" '^ $' || fail "GO!! did not start the flight"
  xdotool key Down Down
  sleep 4.8
  xdotool key Up
  prompt_up >/dev/null || fail "no prompt after the landing"
  eventually 15 focused "$prompt" || fail "no prompt with the keys after the landing"
  shot "$1"
  xdotool key Return  # sets stage 2 up
  eventually 5 focused "$prompt" || fail "stage 2 not offered"
  xdotool key Return  # GO!! with no key: a crash on stage 2
  gone "$game" '^ $' || fail "GO!! did not start stage 2"
  prompt_up >/dev/null || fail "no prompt after stage 2"
  eventually 15 focused "$prompt" || fail "no game-over prompt with the keys"
  xdotool key Return  # to the name entry
}

shot() {  # name
  mkdir -p "$SHOTS"
  import -window root "$SHOTS/$1.png" 2>/dev/null
}
