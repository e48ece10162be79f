#!/usr/bin/env bash
# How big the tests are beside the code they guard: lines of C++ and shell per source folder and
# per test suite, and the whole ratio, counting neither blank lines nor comment lines. Fixture files (expected texts, tables, transcripts) are
# counted apart: they are data the tests read, not test code.
#   tools/test-size.sh        print the report
set -euo pipefail
cd "$(dirname "$0")/.."

lines() {  # files... -> lines that are neither blank nor only a comment (0 for none)
  (($#)) || { echo 0; return; }
  cat "$@" | grep -cvE '^[[:space:]]*(//.*|#([^!a-z].*)?|\*.*|/\*.*)?$' || true
}

sources() {  # folder -> the program's C++ in it (the fuzz harness is a test)
  find "$1" -type f \( -name '*.cpp' -o -name '*.h' \) -not -path '*/fuzz/*' | sort
}

tests_of() {  # tests/folder -> its test code
  [ -d "$1" ] || return 0
  find "$1" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' \) | sort
}

code_total=0
test_total=0
printf '%-12s %6s %6s %6s\n' folder code tests ratio
for folder in app flight menus viewer scores shell controls platform linux base resources tools bench; do
  mapfile -t code_files < <(sources "$folder")
  mapfile -t test_files < <(tests_of "tests/$folder")
  [ "$folder" = scores ] && test_files+=(scores/fuzz/ScoreFileFuzz.cpp)
  code=$(lines "${code_files[@]}")
  tests=$(lines "${test_files[@]}")
  code_total=$((code_total + code))
  test_total=$((test_total + tests))
  ratio="-"
  ((code > 0)) && ratio="$((100 * tests / code))%"
  printf '%-12s %6d %6d %6s\n' "$folder" "$code" "$tests" "$ratio"
done
# Suites that guard the whole program rather than one folder, and the fixtures they share.
for suite in desktop install release support; do
  mapfile -t test_files < <(tests_of "tests/$suite")
  tests=$(lines "${test_files[@]}")
  test_total=$((test_total + tests))
  printf '%-12s %6s %6d\n' "$suite" "" "$tests"
done
printf '%-12s %6d %6d %5d%%\n' total "$code_total" "$test_total" "$((100 * test_total / code_total))"
mapfile -t fixture_files < <(find tests/fixtures -type f -name '*.txt' | sort)
echo "fixtures: $(lines "${fixture_files[@]}") lines of expectations in ${#fixture_files[@]} text files (not counted above)"
