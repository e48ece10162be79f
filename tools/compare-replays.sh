#!/usr/bin/env bash
# Flies the same scripted flights through two builds of the replay tool and reports any flight
# whose outcome line differs: a change that should not touch the game's rules must leave every
# line as it was.
#   tools/compare-replays.sh OLD_REPLAY NEW_REPLAY [FLIGHTS]
# The flights are the same on every run: stages 1..5 in turn, 0..6 presses each at slots drawn
# from a fixed seed, every key kind, presses in the fall and the count-up included, and every third
# flight a dive that levels out late.
set -euo pipefail
old=$1 new=$2 flights=${3:-500}
RANDOM=4711
keys=(down kp2 up kp8)
differ=0
for ((i = 0; i < flights; i++)); do
  args=($((i % 5 + 1)))
  # Every third flight dives and levels out late, so that many touch down on the pad.
  ((i % 3 == 0)) && args+=(1:down 1:down "$((RANDOM % 60 + 80)):up")
  for ((p = RANDOM % 7; p > 0; p--)); do args+=("$((RANDOM % 260 + 1)):${keys[RANDOM % 4]}"); done
  a=$("$old" "${args[@]}") b=$("$new" "${args[@]}")
  if [ "$a" != "$b" ]; then
    differ=$((differ + 1))
    printf 'differs: %s\n  old: %s\n  new: %s\n' "${args[*]}" "$a" "$b"
  fi
done
echo "$flights flights, $differ differ"
[ "$differ" -eq 0 ]
