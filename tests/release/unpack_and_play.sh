#!/usr/bin/env bash
# The downloadable archive on a desktop without Qt or Japanese fonts: builds the package, unpacks it
# into a folder whose name needs quoting, adds it to the menu and starts it by that entry in a mount
# namespace where the system's Qt, every library the archive carries and every font with Japanese
# are hidden; flies a normal run (a landing, a crash, a name for place 9) by real keys, and checks
# the score file beside the game, the fonts it drew with, the sound it sent to a sound server of
# the test's own, and that every library it loaded came from its folder or from the system set.
#   unpack_and_play.sh CMAKE BUILD SHOTS SANITIZED
#   unpack_and_play.sh --hidden LISTS PROGRAM...   (inside the namespace: hide, then run PROGRAM)
set -u

# The libraries the archive leaves to the system (the README's "Download and play" says why), as
# extended regular expressions on file names; what these load for themselves is theirs.
system_libraries=(
  '^ld-linux' '^lib(c|m|dl|pthread|rt|resolv)\.so' '^libstdc\+\+\.so' '^libgcc_s\.so' '^lib(z|zstd)\.so'
  '^libX' '^libxcb\.so' '^lib(SM|ICE)\.so'
  '^lib(GL|GLX|GLdispatch|EGL|OpenGL)\.so'
  '^lib(fontconfig|freetype|png16|expat|brotli(common|dec))\.so'
  '^libpulse\.so'
  '^libglib-2\.0\.so' '^libdbus-1\.so'
)
system_set=$(IFS='|'; echo "${system_libraries[*]}")

# Inside the namespace: an empty file over every file listed, an empty folder over every folder,
# fontconfig's caches out of sight so that it looks at the fonts afresh, then the program.
if [ "${1:-}" = --hidden ]; then
  lists=$2
  shift 2
  while read -r file; do mount --bind "$lists/empty" "$file" || exit 3; done <"$lists/files"
  while read -r folder; do mount -t tmpfs -o ro,size=4k none "$folder" || exit 3; done <"$lists/folders"
  if [ -n "$(fc-list :lang=ja)" ]; then
    echo "FAIL: fonts with Japanese are still there: $(fc-list :lang=ja file)" >&2
    exit 3
  fi
  LD_DEBUG=files LD_DEBUG_OUTPUT="$lists/loader" exec "$@"
fi

CMAKE="$1" BUILD="$2" SHOTS="$3" SANITIZED="$4"
self=$(readlink -f "$0")
if [ "$SANITIZED" = 1 ]; then
  echo "SKIP: a sanitizer build needs the sanitizer's runtime from the compiler: it is no archive for players"
  exit 77
fi
if [ "$(id -u)" -ne 0 ] || ! unshare --mount --propagation private true 2>/dev/null; then
  echo "SKIP: hiding the system's Qt and fonts needs a mount namespace, which is refused here (not root, or no unshare)"
  exit 77
fi
. "$(dirname "$0")/../desktop/lib.sh"
. "$(dirname "$0")/../desktop/scorefile.sh"

"$CMAKE" --build "$BUILD" --target package >"$work/package.log" 2>&1 ||
  fail "the package was not built: $(tail -n 5 "$work/package.log")"
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
archive="$BUILD/$name.tar.gz"

# Unpacked as a player would, into a folder of their own: one folder comes out.
games="$work/my games/odd \$x \"q\" 100% \`t\`"
mkdir -p "$games"
tar -xzf "$archive" -C "$games" || fail "$archive does not unpack"
[ "$(ls -A "$games")" = "$name" ] || fail "the archive holds more than its one folder $name: $(ls -A "$games")"
folder="$games/$name"

# The menu entry that add-to-menu writes for this folder, read as a desktop reads it: a string value
# first (\\ is one backslash), then the quoted argument of Exec.
export XDG_DATA_HOME="$work/data"
"$folder/add-to-menu" >/dev/null || fail "add-to-menu failed"
entry="$XDG_DATA_HOME/applications/morvane-tesk.desktop"
desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || fail "invalid desktop entry: $(cat "$work/validate.log")"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
exec_line=${exec_line//\\\\/\\}
eval "set -- ${exec_line//%%/%}"
[ $# -eq 1 ] && [ "$1" = "$folder/morvane-tesk" ] || fail "Exec is $exec_line"
program=$1

# What the namespace hides: the system's Qt libraries and plugins, its copy of every library in the
# archive, every font with Japanese, fontconfig's caches.
lists="$work/lists"
mkdir -p "$lists" "$work/home"
: >"$lists/empty"
{
  for library in /usr/lib/x86_64-linux-gnu/libQt6* "$folder"/lib/*; do
    [ -e "/usr/lib/x86_64-linux-gnu/${library##*/}" ] && readlink -f "/usr/lib/x86_64-linux-gnu/${library##*/}"
  done
  fc-list :lang=ja file | sed 's/: *$//' | xargs -r -d '\n' readlink -f
} | sort -u >"$lists/files"
printf '%s\n' /usr/lib/x86_64-linux-gnu/qt6 /var/cache/fontconfig >"$lists/folders"

# A sound server of our own with one silent output, where the machine has one to run.
sound=""
if command -v pulseaudio >/dev/null && command -v pactl >/dev/null; then
  export XDG_RUNTIME_DIR="$work/run" PULSE_SERVER="unix:$work/run/pulse/native"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  HOME="$work/home" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L module-null-sink -L module-native-protocol-unix >"$work/pulseaudio.log" 2>&1 &
  pids+=($!)
  eventually 10 pactl info >/dev/null 2>&1 || fail "the sound server did not start: $(tail -n 3 "$work/pulseaudio.log")"
  pactl subscribe >"$work/sound-events" 2>&1 &
  pids+=($!)
  sound=yes
else
  echo "note: pulseaudio is not installed, the sound is not checked"
fi

start_display
cd / || exit 1
unset LD_LIBRARY_PATH QT_PLUGIN_PATH QT_QPA_PLATFORM_PLUGIN_PATH
HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" unshare --mount --propagation private "$self" --hidden "$lists" \
  "$program" 2>"$work/game.log" &
game=$!
pids+=("$game")
menu=$(window_of "$game" '^Morvane-Tesk Menu$') || fail "the unpacked game shows no menu: $(tail -n 5 "$work/game.log")"
eventually 5 test -s "$folder/MTScore.dat" || fail "no score file beside the unpacked game"
shot "1-menu"

# A normal run: the landing on stage 1 by the keys of the desktop test, a crash on stage 2, a name.
eventually 5 focused "$menu" || fail "the menu does not have the keys"
xdotool key Return
prompt=$(prompt_up) || fail "no stage prompt"
eventually 5 focused "$prompt" || fail "the prompt does not have the keys"
landing_then_crash "2-landed"
entry_box=$(window_of "$game" '^ランクインしたぞ$') || fail "no name entry: the landing did not rank"
eventually 5 focused "$entry_box" || fail "the name entry does not have the keys"
xdotool type --delay 100 'Tesk'
xdotool key Return
window_of "$game" '^ハイスコアランキング$' >/dev/null || fail "no ranking window after the name entry"
sleep 0.5
shot "3-ranking"

# The scores beside the game: the run at place 9 under its name, with the landing the memo tells.
run=$(sed -n 2p "$folder/MTSCmemo.txt" | tr -d '\r')
[[ "$run" =~ ^([0-9]+)00\ \(([0-9]+)00/31300/000/000/000\)$ ]] || fail "memo of the run: $(cat -A "$folder/MTSCmemo.txt")"
landing=${BASH_REMATCH[2]}
{
  for _ in $(seq 8); do player 0 ""; done
  for e in $(seq 0 7); do house_entry "$e"; done
  entry 4 5465736b "$landing" 313 0 0 0
  house_entry 8
} >"$work/expected.dat"
cmp -s "$folder/MTScore.dat" "$work/expected.dat" || fail "the score file beside the game is not the run's: $(cmp "$folder/MTScore.dat" "$work/expected.dat")"

# The two faces the windows drew the Japanese text with came from the folder.
maps=$(sed -n 's|^[^ ]* [^ ]* [^ ]* [^ ]* [^ ]* *\(/.*\)$|\1|p' "/proc/$game/maps" | sort -u)
for font in ipagp.ttf ipag.ttf; do
  grep -qxF "$folder/fonts/$font" <<<"$maps" || fail "$font was not drawn from the folder: $(grep -E '\.(ttf|otf)' <<<"$maps")"
done

# Every shared object in the game's memory is the folder's, one of the system set, or one a library
# outside the folder asked for itself (the loader's log names who asked first: "file=NAME [0];
# needed by WHO" or "dynamically loaded by WHO").
log="$lists/loader.$game"
[ -s "$log" ] || fail "no loader log"
while read -r object; do
  [[ $object == "$folder"/* ]] && continue
  base=${object##*/}
  [[ $base =~ $system_set ]] && continue
  asker=$(sed -n 's/.*file=\(.*\) \[0\]; *\(needed\|dynamically loaded\) by \(.*\) \[0\]$/\1\t\3/p' "$log" |
    awk -F '\t' -v object="$object" -v base="$base" '
      { n = $1; sub(/.*\//, "", n) }
      $1 == object || index(base, n) == 1 { print $2; exit }')
  [ -n "$asker" ] || fail "$object is loaded, but the loader's log does not say for whom"
  [[ $asker != "$folder"/* ]] || fail "$object came from the system for $asker, and is neither carried nor of the system set"
done < <(grep -E '\.so(\.[0-9.]+)?$' <<<"$maps")
grep -q "$folder/lib/libQt6Core.so" <<<"$maps" || fail "Qt did not come from the folder"
grep -q "$folder/plugins/platforms/libqxcb.so" <<<"$maps" || fail "the X platform plugin did not come from the folder"

# The landing's sound reached the sound server as a stream of the game's.
if [ -n "$sound" ]; then
  grep -q "'new' on sink-input" "$work/sound-events" || fail "no sound reached the sound server"
  pactl list clients | grep -q "application.process.id = \"$game\"" || fail "the game is no client of the sound server"
fi
echo "unpack and play: all checks passed"
