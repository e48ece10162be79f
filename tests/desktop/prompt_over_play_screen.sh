#!/usr/bin/env bash
# Under a real window manager: the stage prompt stands at (46, 174) from the play screen's frame
# once the window manager has placed it, and again after the player moves the play screen; a short
# game started from the menu with Enter runs to its end and returns to the menu.
GAME="$1" SHOTS="$2"
. "$(dirname "$0")/lib.sh"
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 0; }
start_display
start_window_manager

copy=$(place wm)
"$copy" & game=$!; pids+=("$game")
menu=$(window_of "$game" '^Morvane-Tesk Menu$') || fail "no menu"
play=$(window_of "$game" '^Morvane-Tesk$') || fail "no play screen"
eventually 5 sh -c "xdotool getactivewindow 2>/dev/null | grep -qx $menu" || fail "the menu does not have the keyboard"
shot "wm-menu"

# Enter presses START: the prompt comes up over the play screen.
xdotool key Return
prompt=$(window_of "$game" '^ $') || fail "no stage prompt after Enter in the menu"
check_place() {
  read -r px py < <(frame_origin "$play")
  read -r fx fy < <(frame_origin "$prompt")
  [ "$((fx - px))" -eq 46 ] && [ "$((fy - py))" -eq 174 ]
}
eventually 5 check_place || fail "prompt at $(frame_origin "$prompt"), play screen at $(frame_origin "$play")"
shot "wm-prompt"

xdotool windowmove "$play" 300 200
eventually 5 check_place || fail "the prompt did not follow the moved play screen"
shot "wm-prompt-moved"

# GO!!, a flight with no key, and the game over leads back to the menu.
eventually 5 sh -c "xdotool getactivewindow 2>/dev/null | grep -qx $prompt" || fail "the prompt does not have the keyboard"
xdotool key Return
gone "$game" '^ $' || fail "GO!! did not start the flight"
sleep 3
shot "wm-flight"
window_of "$game" '^ $' >/dev/null || fail "no prompt after the flight"
for _ in $(seq 150); do [ -s "$(dirname "$copy")/MTSCmemo.txt" ] && break; sleep 0.1; done
grep -q "^38600 (38600/000/000/000/000)" "$(dirname "$copy")/MTSCmemo.txt" || fail "no memo of the crashed run"
eventually 5 sh -c "xdotool getactivewindow 2>/dev/null | grep -qx $prompt" || fail "the game-over prompt does not have the keyboard"
xdotool key Return
eventually 5 sh -c "xdotool search --onlyvisible --pid $game --name '^Morvane-Tesk Menu$' >/dev/null" || fail "no menu after the game"
shot "wm-menu-again"
echo "prompt over the play screen: all cases passed"
