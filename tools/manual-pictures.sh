#!/usr/bin/env bash
# Remakes the manual's pictures of every page with the program's screenshot command, against the
# simulated reader's built-in cards. Run after building vornex (tools/run.sh or cmake --build build):
#   tools/manual-pictures.sh [build folder]
# A picture is named after its card type's name in lower case without blanks and punctuation, as
# the manual's section of that card type is; the manual test checks that each card page has both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
pictures="$root/docs/manual/pictures"
mkdir -p "$pictures"
# picture name, then the card type as --screenshot takes it
pages=(
  port:port
  mifareultralight:0 mifarestds50:1 mifarestds70:2 at88rf020:3 sr176:4 srix4k:5 mifareprox:6
  smartcard:7 trh1064:8 tagit:9 icodesli:10 sam:11 cpucard:12 at24c01:13 at24c02:14 at24c04:15
  at24c08:16 at24c16:17 at24c32:18 at24c64:19 at88sc1608:20 shc1102:21 srf55v02p:22 srf55v10p:23
  mifaredesfire:24 test:25
)
# The pictures show the built-in cards, whatever scenario the user has laid on the reader.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen ZENTRAVA_SCENARIO="$scratch/none.json"
for entry in "${pages[@]}"; do
  name=${entry%%:*}
  page=${entry#*:}
  out="$pictures/$name.png"
  "$build/bin/vornex" --screenshot "$page" "$out" --screen 1280x1024 2>/dev/null
  # A quarter smaller, losslessly, where optipng is installed.
  if command -v optipng > /dev/null; then
    optipng -quiet -o2 "$out"
  fi
  echo "$out"
done
