#!/usr/bin/env bash
# Installs what is missing, builds Vornex and runs every test: once as it ships (warnings are
# errors) and once under AddressSanitizer and UndefinedBehaviorSanitizer.
# VORNEX_SKIP_SANITIZED=1 runs the plain suite only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {
  local build=$1; shift
  cmake -S "$root" -B "$build" -DVORNEX_WERROR=ON -DVORNEX_BUILD_TESTS=ON "$@"
  cmake --build "$build" -j"$jobs"
  (cd "$build" && ctest --output-on-failure -j"$jobs" --timeout 300)
}

echo "== Test suite =="
run_suite "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ "${VORNEX_SKIP_SANITIZED:-0}" != 1 ]; then
  echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_suite "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVORNEX_SANITIZE=ON
fi
