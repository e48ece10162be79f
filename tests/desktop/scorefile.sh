# Score files built by the desktop tests themselves, byte by byte, from the record layout:
# 8 player records (length byte, code page 932 name, 75 little-endian int32), then 10 ranking
# records (length byte, name, 5 int32). Names are given as their code page 932 bytes in hex.
bytes() { local hex=$1; while [ -n "$hex" ]; do printf "\\x${hex:0:2}"; hex=${hex:2}; done; }
le32() { local v=$(($1 & 0xffffffff)); bytes "$(printf '%02x%02x%02x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))"; }
# player LENGTH NAMEHEX [INDEX:VALUE ...]: the 75 values are 0 but those given.
player() {
  local length=$1 name=$2 k
  shift 2
  declare -A values=()
  for pair in "$@"; do values[${pair%%:*}]=${pair##*:}; done
  bytes "$(printf '%02x' "$length")$name"
  for k in $(seq 0 74); do le32 "${values[$k]:-0}"; done
}
# entry LENGTH NAMEHEX S1 S2 S3 S4 S5
entry() { bytes "$(printf '%02x' "$1")$2"; shift 2; for s in "$@"; do le32 "$s"; done; }
# The ten house names of a first start, 1st place first, as "LENGTH NAMEHEX".
house_names=(
  "4 82c482f182d592e0" "3 82a982c282e2" "4 82b182c382bf82e2" "3 96a1e05f89ae" "3 969c906c89ae"
  "4 88ea90538ef58e69" "6 93568be78389815b83818393" "4 9253815896cb89ae" "4 82dc82e982b582f1" "2 938c89a1")
house_entry() {  # e: the e-th house entry with its first-start scores
  local s=$((2000 - 200 * $1))
  # shellcheck disable=SC2086
  entry ${house_names[$1]} $s $s $s $s $s
}
default_score_file() {
  for _ in $(seq 8); do player 0 ""; done
  for e in $(seq 0 9); do house_entry "$e"; done
}
