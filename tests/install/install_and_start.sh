#!/usr/bin/env bash
# Installs the game into a folder whose name needs quoting in a desktop entry, checks that the
# folder holds the game, its sound back end, its sounds, its icon and a desktop entry and nothing
# else, then starts the game the way the desktop entry says and waits for its menu and its score
# file beside it.
CMAKE="$1" BUILD="$2" SHOTS="$3"
GAME="$BUILD/morvane-tesk"
. "$(dirname "$0")/../desktop/lib.sh"

folder="$work/my games/odd \$x \"q\" 100% \`t\`"
(cd "$work" && "$CMAKE" --install "$BUILD" --prefix "my games/odd \$x \"q\" 100% \`t\`" >"$work/install.log" 2>&1) ||
  fail "cmake --install failed: $(tail -n 3 "$work/install.log")"

files=$(cd "$folder" && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ')
[ "$files" = "all.wav bonus.wav clear.wav fail.wav morvane-sound.so morvane-tesk morvane-tesk.desktop morvane-tesk.png " ] ||
  fail "the install folder holds: $files"
for sound in all bonus clear fail; do
  cmp -s "$BUILD/$sound.wav" "$folder/$sound.wav" || fail "$sound.wav differs from the one built"
done
[ "$(identify -format '%m %w x %h' "$folder/morvane-tesk.png" 2>/dev/null)" = "PNG 32 x 32" ] ||
  fail "the icon is not a 32 x 32 PNG"

# The desktop entry, read as a desktop reads it: a string value first (\\ is one backslash), then
# the quoted argument of Exec (\" \` \$ \\ as in a shell's double quotes, %% a single %).
entry="$folder/morvane-tesk.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || fail "invalid desktop entry: $(cat "$work/validate.log")"
fi
value() { local v; v=$(sed -n "s/^$1=//p" "$entry"); printf '%s' "${v//\\\\/\\}"; }
[ "$(value Name)" = "Morvane-Tesk" ] || fail "Name is $(value Name)"
[ "$(value Icon)" = "$folder/morvane-tesk.png" ] || fail "Icon is $(value Icon)"
exec_line=$(value Exec)
rest=${exec_line//%%/}
[[ $rest != *%* ]] || fail "Exec has a field code where the folder has a %: $exec_line"
eval "set -- ${exec_line//%%/%}"
[ $# -eq 1 ] && [ "$1" = "$folder/morvane-tesk" ] || fail "Exec is $(value Exec)"

# Started from elsewhere, as a desktop does: the game finds its files beside itself.
start_display
cd / || exit 1
"$1" & game=$!
pids+=("$game")
window_of "$game" '^Morvane-Tesk Menu$' >/dev/null || fail "the installed game shows no menu"
[ "$(stat -c %s "$folder/MTScore.dat" 2>/dev/null)" = 2692 ] || fail "no default score file beside the installed game"
shot "installed-menu"
echo "install and start: all checks passed"
