#!/usr/bin/env bash
# Regenerates the manual's pictures of the pages with the program's screenshot command, against
# the simulated reader. Run after building vornex (tools/run.sh or cmake --build build):
#   tools/manual-pictures.sh [build folder]
# Pages that the program cannot show yet are skipped; the manual shows the pictures that exist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
pictures="$root/docs/manual/pictures"
mkdir -p "$pictures"
# picture name, then the card type as --screenshot takes it
pages=(
  port:port
  ultralight:0 mifare-s50:1 mifare-s70:2 at88rf020:3 sr176:4 srix4k:5 mifare-prox:6 smartcard:7
  trh1064:8 tag-it:9 icode-sli:10 sam:11 cpu-card:12 at24c01:13 at88sc1608:20 shc1102:21
  srf55v02p:22 srf55v10p:23 desfire:24 pass-through:25
)
export QT_QPA_PLATFORM=offscreen
for entry in "${pages[@]}"; do
  name=${entry%%:*}
  page=${entry#*:}
  out="$pictures/$name.png"
  # Exit code 3: the card type has no page yet.
  if "$build/bin/vornex" --screenshot "$page" "$out" --screen 1024x768 2>/dev/null; then
    echo "$out"
  else
    rm -f "$out"
  fi
done
