#!/usr/bin/env bash
# Checks that every file of the program includes only its own folder and the layers below it,
# as src/layers.txt lists them. Prints each offending include; exits 1 when there is one.
set -euo pipefail
src=$(cd "${1:-$(dirname "$0")/../src}" && pwd)

declare -A allowed
while IFS= read -r line; do
  [[ $line =~ ^([a-z]+):(.*)$ ]] || continue
  allowed[${BASH_REMATCH[1]}]="${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
done < "$src/layers.txt"

status=0
for folder in "$src"/*/; do
  layer=$(basename "$folder")
  if [ -z "${allowed[$layer]+set}" ]; then
    echo "src/$layer: a folder that src/layers.txt does not list"
    status=1
    continue
  fi
  while IFS=: read -r file line include; do
    [[ $include =~ \"([^\"]*)\" ]] || continue
    path=${BASH_REMATCH[1]}
    # A path that starts with a dot names a file beside the including one, and "layer/../" leads
    # out of a layer: the layer is the folder the path ends in.
    if [[ $path == .* ]]; then
      path=$(realpath -m --relative-to="$src" "$(dirname "$file")/$path")
    elif [[ $path == */../* ]]; then
      path=$(realpath -m --relative-to="$src" "$src/$path")
    fi
    [[ $path == */* ]] || continue
    target=${path%%/*}
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "${file#"$src"/}:$line: $layer may not include $target ($include)"
      status=1
    fi
  done < <(grep -nHE '^[[:space:]]*#[[:space:]]*include "' "$folder"* 2>/dev/null || true)
done
exit $status
