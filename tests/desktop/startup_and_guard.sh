#!/usr/bin/env bash
# Real copies of the game in a virtual X display: a second copy refused with its message, a killed
# copy, a first start in a folder where the score file cannot be written, a folder name that is not
# UTF-8, a path too long for the system to report, and a start through the dynamic loader.
GAME="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" SHOTS="$2"
game="$GAME"
. "$(dirname "$0")/lib.sh"

start_display

visible_windows() { xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null | wc -l; }
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

# 1. A first copy opens the play screen and the menu and writes the default score file.
copy=$(place guard)
"$copy" & first=$!; pids+=("$first")
menu=$(window_of "$first" '^Morvane-Tesk Menu$') || fail "the menu of the first copy did not appear"
# The class a task bar groups the game's windows under, and a desktop entry may name.
xprop -id "$menu" WM_CLASS | grep -q '= "morvane-tesk", "Morvane-Tesk"$' || fail "$(xprop -id "$menu" WM_CLASS)"
window_of "$first" '^Morvane-Tesk$' >/dev/null || fail "the play screen of the first copy did not appear"
[ "$(stat -c %s "$(dirname "$copy")/MTScore.dat")" = 2692 ] || fail "default score file missing or wrong size"
# The sound back end waits until the menu is up: the program does not need it to start, and opens
# it from beside itself soon after.
! readelf -d "$game" | grep -q 'NEEDED.*Multimedia' || fail "the program needs Qt Multimedia to start"
eventually 5 grep -q '/morvane-sound\.so$' /proc/"$first"/maps || fail "the sound back end was never opened"

# 2. A second copy from the same folder shows the refusal and nothing else, then ends; the first lives on.
"$copy" & second=$!; pids+=("$second")
box=$(window_of "$second" '^Morvane-Tesk$') || fail "the second copy showed no message"
[ "$(visible_windows "$second")" -eq 1 ] || fail "the second copy opened more than its message"
ok_and_end "$box" "$second" || fail "the second copy did not end after its message"
kill -0 "$first" 2>/dev/null || fail "the first copy was disturbed"

# 3. A copy killed outright leaves no lock behind.
kill -9 "$first"; wait "$first" 2>/dev/null
"$copy" & third=$!; pids+=("$third")
window_of "$third" '^Morvane-Tesk Menu$' >/dev/null || fail "a killed copy blocked the next start"
kill -9 "$third"

# 4. A first start where the score file cannot be written shows the write error and no game window.
copy=$(place unwritable)
mkdir "$(dirname "$copy")/MTScore.dat"  # not an ordinary file, and nothing can be written in its place
"$copy" & fourth=$!; pids+=("$fourth")
box=$(window_of "$fourth" '^Morvane-Tesk$') || fail "no write error shown"
[ "$(visible_windows "$fourth")" -eq 1 ] || fail "a game window appeared although the score file failed"
ok_and_end "$box" "$fourth" || fail "the program did not end after the write error"

# 5. A folder name that is not UTF-8: the score file goes into that folder, nowhere else.
root_file_before=$([ -e /MTScore.dat ] && echo yes || echo no)
copy=$(place $'game\xff')
"$copy" & fifth=$!; pids+=("$fifth")
window_of "$fifth" '^Morvane-Tesk Menu$' >/dev/null || fail "no menu from a folder that is not UTF-8"
[ "$(stat -c %s "$(dirname "$copy")/MTScore.dat")" = 2692 ] || fail "no score file in the folder that is not UTF-8"
[ "$root_file_before" = yes ] || [ ! -e /MTScore.dat ] || { rm -f /MTScore.dat; fail "the score file landed in the root folder"; }

kill -9 "$fifth"

# 6. A path longer than the system reports: the game says it cannot find its folder and ends, and
# writes nothing anywhere.
mkdir "$work/deep" && cd "$work/deep" || fail "no deep folder"
for _ in $(seq 24); do mkdir "$(printf 'd%.0s' $(seq 200))" && cd "$(printf 'd%.0s' $(seq 200))" || fail "cannot build the deep folder"; done
cp "$game" ./morvane-tesk
./morvane-tesk & sixth=$!; pids+=("$sixth")
box=$(window_of "$sixth" '^Morvane-Tesk$') || fail "no message for a folder that cannot be told"
[ "$(visible_windows "$sixth")" -eq 1 ] || fail "a game window appeared without a program folder"
ok_and_end "$box" "$sixth" || fail "the program did not end without its folder"
[ "$(ls -A)" = morvane-tesk ] || fail "files appeared beside the program: $(ls -A)"
[ "$root_file_before" = yes ] || [ ! -e /MTScore.dat ] || { rm -f /MTScore.dat; fail "the score file landed in the root folder"; }
cd / || exit 1

# 7. Started through the dynamic loader, which the system then names as the running program, the
# game still keeps its files beside itself and nowhere else.
loader=/lib64/ld-linux-x86-64.so.2
if [ -x "$loader" ]; then
  loader_folder=$(dirname "$(readlink -f "$loader")")
  beside_loader_before=$(ls "$loader_folder"/MTScore.* /lib64/MTScore.* 2>/dev/null)
  copy=$(place loader)
  "$loader" "$copy" & seventh=$!; pids+=("$seventh")
  window_of "$seventh" '^Morvane-Tesk Menu$' >/dev/null || fail "no menu when started through the dynamic loader"
  [ "$(stat -c %s "$(dirname "$copy")/MTScore.dat")" = 2692 ] || fail "no score file beside a game started through the loader"
  [ "$(ls "$loader_folder"/MTScore.* /lib64/MTScore.* 2>/dev/null)" = "$beside_loader_before" ] ||
    fail "files appeared beside the dynamic loader"
  kill -9 "$seventh"
else
  echo "skipped: the dynamic loader is not at $loader here"
fi

echo "desktop start-up: all cases passed"
