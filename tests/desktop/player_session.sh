#!/usr/bin/env bash
# A new player's session with the real program in an X display of its own, by real key presses and
# clicks: the first start, a crashed normal run (under a window manager with the prompt placed over
# the play screen wherever that is), a normal run that ranks with a Japanese name typed into the input
# box, the ranking window and back, a score attack with registration, retry and "終", and "終了". Run bare, and with `wm` under a real window manager, where
# every dialog must also come up in front and take the keys.
GAME="$1" SHOTS="$2" MODE="${3:-bare}"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/scorefile.sh"
SHOTS="$SHOTS/$MODE"
start_display
if [ "$MODE" = wm ]; then
  command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 0; }
  start_window_manager
fi

copy=$(place "$MODE")
folder=$(dirname "$copy")
score="$folder/MTScore.dat"
memo="$folder/MTSCmemo.txt"
# A dialog is up in front of the game's windows and has the keys (under a window manager).
in_front() {
  focused "$1" || return 1
  [ "$MODE" = wm ] || return 0
  local stack
  stack=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, /\n/g' | tail -n 1)
  [ "$((stack))" -eq "$1" ]
}
same_bytes() { cmp -s "$1" "$2" || { cmp "$1" "$2" | head -n 3; return 1; }; }
# A window's client area on the screen, "x y width height" (xdotool adds the frame's offset twice
# under a window manager), and its frame, "left top right bottom".
client_of() { xwininfo -id "$1" | awk '/Absolute upper-left [XY]|Width|Height/ {printf "%s ", $NF}'; }
frame_of() {
  local x y width height left right top bottom
  read -r x y width height < <(client_of "$1")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
  echo "$((x - ${left:-0})) $((y - ${top:-0})) $((x + width + ${right:-0})) $((y + height + ${bottom:-0}))"
}
# The play screen a step in from the corner, and the menu clear of the chart and the mode caption
# it previews (the play screen's 409 x 140 pixels at the top left).
menu_leaves_the_chart() {
  local X Y left top right bottom
  read -r X Y _ < <(client_of "$play")
  read -r left top right bottom < <(frame_of "$menu")
  [ "$(frame_of "$play" | cut -d' ' -f1-2)" = "22 22" ] &&
    { [ "$right" -le "$X" ] || [ "$left" -ge $((X + 409)) ] || [ "$bottom" -le "$Y" ] || [ "$top" -ge $((Y + 140)) ]; }
}
# A fixed-size dialog without minimise and maximise buttons is what the game asks for (Motif
# hints, equal minimum and maximum sizes); the window manager's answer allows no maximising or
# resizing. Minimising may still be offered: openbox grants it to every dialog whatever it asks.
fixed_dialog() {
  local flags functions decorations sizes
  read -r flags functions decorations _ < <(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.*= //p' | tr -d ',')
  (( (flags & 1) && !(functions & (1 | 8 | 16)) && (!(flags & 2) || !(decorations & (1 | 32 | 64))) )) || return 1
  sizes=$(xprop -id "$1" WM_NORMAL_HINTS | sed -n 's/.*imum size: //p' | sort -u)
  [ -n "$sizes" ] && [ "$(wc -l <<<"$sizes")" -eq 1 ] || return 1
  ! xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -qE 'MAXIMIZE|RESIZE'
}

# 1. First start: the default score file, the play screen and the menu, the menu with the keys.
"$copy" & game=$!; pids+=("$game")
menu=$(window_of "$game" '^Morvane-Tesk Menu$') || fail "no menu"
play=$(window_of "$game" '^Morvane-Tesk$') || fail "no play screen"
default_score_file >"$work/expected.dat"
eventually 5 test -s "$score" || fail "no score file"
same_bytes "$score" "$work/expected.dat" || fail "the first score file differs from the one built here"
[ "$(stat -c %s "$score")" = 2692 ] || fail "the first score file is not 2692 bytes"
eventually 5 focused "$menu" || fail "the menu does not have the keys"
eventually 5 menu_leaves_the_chart || fail "play screen at $(frame_of "$play"), menu at $(frame_of "$menu")"
[ "$MODE" = bare ] || fixed_dialog "$menu" || fail "the menu is no fixed dialog: $(xprop -id "$menu")"
shot "1-first-start"

# 2. A normal run started with Enter and flown with no key: game over, the memo, back to the menu.
#    Under a window manager the prompt stands at (46, 174) from the play screen's frame once the
#    manager has placed it, and again after the player moved the play screen.
xdotool key Return
prompt=$(prompt_up) || fail "no stage prompt"
eventually 5 focused "$prompt" || fail "the prompt does not have the keys"
if [ "$MODE" = wm ]; then
  fixed_dialog "$prompt" || fail "the prompt is no fixed dialog: $(xprop -id "$prompt")"
  over_play_screen() {
    read -r px py < <(frame_origin "$play")
    read -r fx fy < <(frame_origin "$prompt")
    [ "$((fx - px))" -eq 46 ] && [ "$((fy - py))" -eq 174 ]
  }
  eventually 5 over_play_screen || fail "prompt at $(frame_origin "$prompt"), play screen at $(frame_origin "$play")"
  xdotool windowmove "$play" 300 200
  eventually 5 over_play_screen || fail "the prompt did not follow the moved play screen"
  shot "2-prompt-moved"
  eventually 5 focused "$prompt" || xdotool windowactivate "$prompt"
fi
xdotool key Return
gone "$game" '^ $' || fail "GO!! did not start the flight"
sleep 4
shot "2-flight"
eventually 15 test -s "$memo" || fail "no memo after the crash"
grep -qx $'38600 (38600/000/000/000/000)\r' "$memo" || fail "memo of the crash: $(cat -A "$memo")"
prompt_up >/dev/null || fail "no prompt after the crash"
eventually 5 focused "$prompt" || fail "the game-over prompt does not have the keys"
shot "2-game-over"
xdotool key Return
eventually 5 focused "$menu" || fail "not back to the menu after the game over"

# 3. A normal run that ranks: a landing on stage 1 (down, down, up near the end), a crash on stage 2;
#    the name typed in Japanese; the score file holds the run at place 9; the ranking window shows it.
xdotool key Return
prompt_up >/dev/null || fail "no prompt for the second run"
eventually 5 focused "$prompt" || fail "the prompt does not have the keys"
landing_then_crash "3-landed"
entry_box=$(window_of "$game" '^ランクインしたぞ$') || fail "no name entry"
eventually 5 in_front "$entry_box" || fail "the name entry is not in front with the keys"
# Each character beyond the keyboard's own is typed through a key remapped for it; give the
# toolkit time to see each new mapping before its key arrives.
xdotool type --delay 150 'ミナミ'
shot "3-name-entry"
xdotool key Return
ranking=$(window_of "$game" '^ハイスコアランキング$') || fail "no ranking window after the name entry"
# The landing's score depends on when the keys arrived; the memo of the run tells it.
run=$(sed -n '5p' "$memo" | tr -d '\r')
[[ "$run" =~ ^([0-9]+)00\ \(([0-9]+)00/31300/000/000/000\)$ ]] || fail "memo of the ranked run: $(cat -A "$memo")"
landing=${BASH_REMATCH[2]}
[ "${BASH_REMATCH[1]}" -eq $((landing + 313)) ] && [ "$landing" -gt 1687 ] && [ "$landing" -le 2687 ] ||
  fail "a run of $landing + 313 would not take place 9"
# The normal ranking from here on: the run, named ミナミ, at place 9 among the house entries.
ranking_with_the_run() {
  for e in $(seq 0 7); do house_entry "$e"; done
  entry 3 837e8369837e "$landing" 313 0 0 0
  house_entry 8
}
{
  for _ in $(seq 8); do player 0 ""; done
  ranking_with_the_run
} >"$work/expected.dat"
same_bytes "$score" "$work/expected.dat" || fail "the score file after the name entry differs"
eventually 5 focused "$ranking" || fail "the ranking window does not have the keys"
sleep 0.5
shot "3-ranking"
xdotool key Return  # "戻る" has the keys
eventually 5 focused "$menu" || fail "not back to the menu from the ranking window"
gone "$game" '^ハイスコアランキング$' || fail "the ranking window stayed"

# 4. Score attack: register a player, fly, the retry question, "終" back to the menu.
xdotool key Down  # score attack
sleep 0.3
xdotool key Return
select=$(window_of "$game" '^プレイヤーセレクト$') || fail "no player select"
eventually 5 focused "$select" || fail "the player select does not have the keys"
[ "$MODE" = bare ] || fixed_dialog "$select" || fail "the player select is no fixed dialog: $(xprop -id "$select")"
xdotool key shift+Tab Return  # "新規登録"
register=$(window_of "$game" '^プレイヤー登録$') || fail "no registration box"
eventually 5 in_front "$register" || fail "the registration box is not in front with the keys"
xdotool type --delay 100 'Tester'
xdotool key Return
eventually 5 focused "$select" || fail "not back in the player select after registering"
shot "5-player-select"
xdotool key Return  # START
gone "$game" '^プレイヤーセレクト$' || fail "START did not leave the player select"
prompt=$(prompt_up) || fail "no prompt for the score attack"
sleep 0.5
xdotool mousemove --window "$prompt" 88 51 click 1  # GO!!
gone "$game" '^ $' || fail "GO!! did not start the score attack"
prompt_up >/dev/null || fail "no prompt after the score-attack flight"
eventually 15 focused "$prompt" || fail "the result does not have the keys"
shot "5-attack-result"
xdotool key Return  # the retry question
eventually 5 focused "$prompt" || fail "no retry question"
shot "5-retry"
xdotool mousemove --window "$prompt" 160 51 click 1  # "終"
eventually 5 focused "$menu" || fail "終 did not lead back to the menu"
{
  player 6 546573746572 2:386
  for _ in $(seq 7); do player 0 ""; done
  ranking_with_the_run
} >"$work/expected.dat"
same_bytes "$score" "$work/expected.dat" || fail "the score file after the score attack differs"

# 5. "終了": the farewell box, then the process ends and nothing is written.
cp "$score" "$work/before.dat"
cp "$memo" "$work/memo-before.txt"
xdotool mousemove --window "$menu" 136 220 click 1  # "終了"
farewell=$(window_of "$game" '^お疲れ様でした$') || fail "no farewell box"
eventually 5 in_front "$farewell" || fail "the farewell box is not in front with the keys"
shot "7-farewell"
xdotool key Return
ends_within "$game" 5 || fail "the program did not end after the farewell"
same_bytes "$score" "$work/before.dat" || fail "the score file changed at the end"
same_bytes "$memo" "$work/memo-before.txt" || fail "the memo changed at the end"
[ "$(ls "$folder" | grep -c '^MTScore.dat.tmp')" -eq 0 ] || fail "a temporary file stayed"
echo "player session ($MODE): all steps passed"
