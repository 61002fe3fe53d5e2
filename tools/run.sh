#!/usr/bin/env bash
# Installs what is missing, builds Vornex with the simulated reader and starts it.
# Extra arguments are passed to the program. On a first start (no settings file yet) the program
# is pointed at the simulated reader on COM1 at the default rate, so it starts connected; those
# values are then saved like a Port Set choice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNEX_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target vornex zentrava-sim
config="${XDG_CONFIG_HOME:-}"
[[ "$config" == /* ]] || config="$HOME/.config"
settings="$config/Corvale/IORFCard.reg"
first_start=()
if [ ! -e "$settings" ]; then
  first_start=(--port 1 --baud 14400)
fi
exec "$build/bin/vornex" "${first_start[@]}" "$@"
