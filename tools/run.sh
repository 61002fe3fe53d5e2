#!/usr/bin/env bash
# Installs what is missing, builds Vornex with the simulated reader and starts it.
# Extra arguments are passed to the program. A first start (no settings file yet) connects to the
# simulated reader on COM1 by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNEX_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target vornex zentrava-sim
exec "$build/bin/vornex" "$@"
