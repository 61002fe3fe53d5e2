#!/usr/bin/env bash
# Installs what is missing, builds Vornex and runs every test: once as it ships (warnings are
# errors), then its Debian package installed and used as a user (as root only), once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz target briefly.
# VORNEX_SKIP_SANITIZED=1 runs the plain suite only; VORNEX_SKIP_PACKAGE=1 and VORNEX_SKIP_FUZZ=1
# leave out the package test and the fuzz targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
timings=()
started=$SECONDS
# One apt-get update for every install of this run.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export VORNEX_APT_STAMP=$logs/apt-updated
bash "$root/tools/install-deps.sh"
timings+=("install-deps: $((SECONDS - started)) s")
# The package test's own tools (lintian brings many packages) install while the suite builds.
package_tools=
if [ "${VORNEX_SKIP_PACKAGE:-0}" != 1 ] && [ "$(id -u)" -eq 0 ]; then
  bash "$root/tools/package-test.sh" --install-tools > "$logs/package-tools.log" 2>&1 &
  package_tools=$!
fi
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# ccache, when there, keeps a second build on the same machine short; a clean machine gains nothing
# and loses nothing.
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi

run_suite() {
  local name=$1 build=$2; shift 2
  local started=$SECONDS
  cmake -S "$root" -B "$build" -G Ninja -DVORNEX_WERROR=ON -DVORNEX_BUILD_TESTS=ON "${launcher[@]}" "$@"
  cmake --build "$build" -j"$jobs"
  local built=$SECONDS
  (cd "$build" && ctest --output-on-failure -j"$jobs" --timeout 300)
  timings+=("$name: build $((built - started)) s, tests $((SECONDS - built)) s")
}

echo "== Test suite =="
# Optimised as it ships, without debug information: the tests need none and the build is shorter.
run_suite plain "$root/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"

if [ "${VORNEX_SKIP_PACKAGE:-0}" != 1 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "== The Debian package, installed and used as a user =="
    started=$SECONDS
    if ! wait "$package_tools"; then
      cat "$logs/package-tools.log"
      echo "the package test's tools did not install" >&2
      exit 1
    fi
    bash "$root/tools/package-test.sh" "$root/build"
    timings+=("package: $((SECONDS - started)) s")
  else
    timings+=("package: skipped, it installs the package and needs root")
  fi
fi

if [ "${VORNEX_SKIP_SANITIZED:-0}" != 1 ]; then
  echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Line tables are enough for the sanitizers' stack traces.
  run_suite sanitized "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DVORNEX_SANITIZE=ON
fi

if [ "${VORNEX_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== Fuzz targets: each over its corpus, then a few seconds of new inputs =="
  started=$SECONDS
  mkdir -p "$root/build-fuzz"
  bash "$root/tools/fuzz" "${VORNEX_FUZZ_SECONDS:-3}" | tee "$root/build-fuzz/fuzz.log"
  while IFS= read -r line; do
    timings+=("  $line")
  done < <(grep -E '^(fuzz build: |[a-z_]+: [0-9]+ executions)' "$root/build-fuzz/fuzz.log")
  timings+=("fuzz: $((SECONDS - started)) s")
fi

echo "== Durations =="
printf '%s\n' "${timings[@]}"
bash "$root/tools/test-ratio.sh"
