#!/usr/bin/env bash
# Installs the Debian 12 packages Vornex needs to build, run and test, when any is missing, or
# the packages named on the command line instead (tools/package-test.sh names its own).
# Runs apt-get update only when something has to be installed, and once for every install of a
# run that names a stamp file in VORNEX_APT_STAMP (tools/test.sh does).
set -euo pipefail

packages=("$@")
[ $# -gt 0 ] || packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libvulkan-dev
  googletest libgtest-dev libgmock-dev
  nlohmann-json3-dev nettle-dev
  pcscd libpcsclite-dev vsmartcard-vpcd
  clang libclang-rt-14-dev
  fonts-liberation fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
stamp=${VORNEX_APT_STAMP:-}
if [ -z "$stamp" ] || [ ! -e "$stamp" ]; then
  "${sudo_cmd[@]}" apt-get update -q
  [ -z "$stamp" ] || touch "$stamp"
fi
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
