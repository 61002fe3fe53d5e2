#!/usr/bin/env bash
# Applies the mutants of tools/mutants.txt to the tree one at a time, rebuilds, runs the tests and
# prints for each whether a test caught it. A tool to run by hand (it builds once per mutant),
# never a CI step; the machine's cores are shared, so it runs niced:
#
#     nice -n 10 tools/mutants.sh [-o TABLE] [--list FILE] [--build DIR] [--ctest] [ID...]
#
#   -o TABLE     also writes the table to TABLE
#   --list FILE  another mutant list (default tools/mutants.txt)
#   --build DIR  the build folder (default build-mutants, made on the first run)
#   --ctest      runs the suite through ctest (-j2 --stop-on-failure --timeout 120) instead of
#                running the test programs straight, each stopping at its first failure
#   ID...        only these mutants
#
# Results: caught (a test failed; the first failing test is named), MISSED (every test passed),
# build fails (the mutant does not compile: mend the list), does not apply (its text is not in the
# file any more: mend the list). The file is restored after each mutant, and on an interrupt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/tools/mutants.txt
build=$root/build-mutants
table=
use_ctest=0
ids=()
while [ $# -gt 0 ]; do
  case $1 in
    -o) table=$2; shift 2 ;;
    --list) list=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --ctest) use_ctest=1; shift ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) ids+=("$1"); shift ;;
  esac
done
helper=(python3 "$root/tools/mutants.py")
selected=$("${helper[@]}" list "$list" "${ids[@]}")
export QT_QPA_PLATFORM=offscreen
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
work=$(mktemp -d)
original=$work/original
mutated_file=

restore() {
  if [ -n "$mutated_file" ]; then
    # A fresh modification time, so that the next build recompiles the restored file.
    cat "$original" > "$root/$mutated_file"
    mutated_file=
  fi
}
cleanup() {
  restore
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "interrupted: $mutated_file restored" >&2; exit 130' INT TERM

build_tree() {
  cmake --build "$build" -j2 < /dev/null > "$work/build.log" 2>&1
}

# The test programs in the order most likely to fail first for a change in the given file.
programs_for() {
  case $1 in
    simulator/*) echo simulator_tests vornex_tests pcsc_reader_tests ;;
    # The PC/SC library's successes of the main buttons are the end-to-end run's, through pcscd.
    readers/*) echo pcsc_reader_tests pcsc_end_to_end_tests vornex_tests simulator_tests ;;
    *) echo vornex_tests pcsc_reader_tests simulator_tests ;;
  esac
}

# Runs the suite; prints the first failing test and returns 1 when one fails.
run_suite() {
  local file=$1 program log=$work/test.log
  if [ "$use_ctest" = 1 ]; then
    if (cd "$build" && ctest -j2 --stop-on-failure --timeout 120) < /dev/null > "$log" 2>&1; then
      return 0
    fi
    grep -m1 -E '\*\*\*(Failed|Timeout|Exception)|Not Run' "$log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: //; s/ +\.+.*//' || true
    return 1
  fi
  for program in $(programs_for "$file"); do
    if (cd "$build/bin" && timeout --kill-after=10 900 "./$program" --gtest_fail_fast --gtest_brief=1) < /dev/null > "$log" 2>&1; then
      continue
    fi
    local failed
    failed=$(grep -m1 -E '^\[  FAILED  \] [A-Za-z_0-9/.]+' "$log" | awk '{print $4}' || true)
    echo "${failed:-$program (exit $(tail -c 300 "$log" | tr '\n' ' ' | cut -c1-60))}"
    return 1
  done
  return 0
}

# The table grows row by row, so that an interrupted run keeps what it found.
out=${table:-$work/table}
row() {
  printf '%-26s %-15s %s\n' "$1" "$2" "$3" | tee -a "$out"
}

started=$SECONDS
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DVORNEX_WERROR=ON -DVORNEX_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > "$work/configure.log" \
    || { cat "$work/configure.log"; exit 1; }
fi
echo "building the unchanged tree in $build ..."
build_tree || { tail -40 "$work/build.log"; echo "the unchanged tree does not build" >&2; exit 1; }
echo "running the suite on the unchanged tree ..."
if ! baseline=$(run_suite src); then
  echo "the unchanged tree fails its tests ($baseline): no mutant can be judged" >&2
  exit 1
fi
echo "baseline built and passed in $((SECONDS - started)) s"

: > "$out"
row id result "description (the test that caught it)"
caught=0 missed=0 broken=0 stale=0 total=0
while IFS=$'\t' read -r id file what; do
  total=$((total + 1))
  mutant_started=$SECONDS
  cp "$root/$file" "$original"
  if ! reason=$("${helper[@]}" apply "$list" "$root" "$id"); then
    row "$id" "does not apply" "$what ($reason)"
    stale=$((stale + 1))
    continue
  fi
  mutated_file=$file
  if ! build_tree; then
    restore
    error=$(grep -m1 -E 'error:' "$work/build.log" | sed -E 's/.*error: //' | cut -c1-80 || true)
    row "$id" "build fails" "$what ($error)"
    broken=$((broken + 1))
    continue
  fi
  if failed=$(run_suite "$file"); then
    row "$id" MISSED "$what"
    missed=$((missed + 1))
  else
    row "$id" caught "$what ($failed)"
    caught=$((caught + 1))
  fi
  restore
  echo "  ($id: $((SECONDS - mutant_started)) s)" >&2
done <<< "$selected"

# The tree as it was, and its build up to date again.
build_tree || echo "warning: the restored tree did not rebuild; see $build" >&2
summary="caught $caught of $((caught + missed)) (missed $missed; build fails $broken; do not apply $stale; $total listed) in $(((SECONDS - started) / 60)) min"
echo "$summary" | tee -a "$out"
