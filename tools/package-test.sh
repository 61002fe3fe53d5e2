#!/usr/bin/env bash
# Makes the Debian package from a built tree, installs it on this machine with apt as a user
# installs it, uses the installed program as an unprivileged user, then purges the package and
# checks that it left nothing behind. Needs root (CI runs as root on a fresh Debian 12).
#   tools/package-test.sh [build folder]
#   tools/package-test.sh --install-tools     only installs what it needs beyond the build
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# What making and checking the package needs beyond the build: dpkg-shlibdeps, file, lintian.
install_tools() { bash "$root/tools/install-deps.sh" dpkg-dev file lintian; }
if [ "${1:-}" = --install-tools ]; then
  install_tools
  exit
fi
build=$(cd "${1:-$root/build}" && pwd)
user=vornex-package-test
home=/home/$user
program=/usr/lib/vornex
work=
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=300)

fail() { echo "package test: $*" >&2; exit 1; }
step() { echo "-- $*"; }
# The unprivileged user, in the clean environment of a desktop login: a private runtime folder
# as the login manager makes it, no other XDG variables (the defaults).
as_user() {
  runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen "$@"
}
installed() { dpkg-query -W -f='${Status}' vornex 2>/dev/null | grep -q 'install ok installed'; }
cleanup() {
  rm -f "$program/cpubooks.txt"
  if installed; then "${apt[@]}" purge vornex > /dev/null || true; fi
  if id "$user" > /dev/null 2>&1; then
    rm -rf "/run/user/$(id -u "$user")"
    userdel --remove "$user" 2> /dev/null || true
  fi
  rm -rf ${work:+"$work"}
}

[ "$(id -u)" -eq 0 ] || fail "needs root, to install the package and to create a user"
install_tools
# What an earlier run that was killed left behind.
cleanup
trap cleanup EXIT
work=$(mktemp -d)

step "package"
rm -f "$build"/vornex_*.deb
(cd "$build" && cpack -G DEB > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$build"/vornex_*.deb)
echo "$deb"
dpkg-deb -f "$deb" Depends
dpkg-deb -c "$deb" > "$work/contents"
! grep -q 'test-readers' "$work/contents" || fail "the package holds the test-only reader libraries"
# Errors fail the test; warnings are listed.
lintian_status=0
lintian --fail-on error "$deb" > "$work/lintian.txt" 2>&1 || lintian_status=$?
grep -v 'root privileges' "$work/lintian.txt" || true
[ "$lintian_status" -eq 0 ] || fail "lintian found errors"

useradd --create-home "$user"
runtime=/run/user/$(id -u "$user")
install -d -m 0700 -o "$user" -g "$user" "$runtime"

step "install with apt"
find /usr /etc -xdev | sort > "$work/before"
"${apt[@]}" install --no-install-recommends "$deb" > "$work/apt.log" || { cat "$work/apt.log"; fail "apt-get install failed"; }
for command in vornex zentrava-sim; do
  [ "$(readlink -f "/usr/bin/$command")" = "$program/$command" ] || fail "/usr/bin/$command does not lead to $program"
done
for file in vornex libZentrava.so readers/pcsc/libZentrava.so zentrava-sim AppConfig.ini Kelb_Paper.rcc manual/index.html; do
  [ -f "$program/$file" ] || fail "$program/$file is missing"
done
for file in /usr/share/applications/vornex.desktop /usr/share/icons/hicolor/scalable/apps/vornex.svg \
            /usr/share/man/man1/vornex.1.gz /usr/share/man/man1/zentrava-sim.1.gz; do
  [ -f "$file" ] || fail "$file is missing"
done
# An administrator's starter book beside the program: the user's book is seeded from it.
printf '00a4040000\r\n0084000008\r\n' > "$program/cpubooks.txt"
cp "$program/cpubooks.txt" "$work/seed"
touch "$work/installed"

step "use it as $user"
# The simulated reader's cards, written as the user's scenario, which the program's reader reads.
as_user zentrava-sim init > /dev/null || fail "zentrava-sim init failed"
as_user zentrava-sim show > "$work/show.txt" || fail "zentrava-sim show failed"
grep -q 'mifare-4k' "$work/show.txt" || fail "zentrava-sim show lists no Mifare 4K card"
scenario=$home/.config/Zentrava/scenario.json
as_user vornex --screenshot 12 "$home/cpu-card.png" || fail "vornex --screenshot failed"
[ "$(head -c 4 "$home/cpu-card.png" | od -An -tx1 | tr -d ' ')" = 89504e47 ] || fail "the screenshot is no PNG"
# A first start as the desktop entry starts the program: it connects to the simulated reader on
# COM1 (the trace holds the call), opens the CPU card console and, on exit, writes the settings
# and the console's book.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/vornex.desktop)
# shellcheck disable=SC2086 # the entry's command line, split as the desktop splits it
as_user $exec_line --all-cards --card "CPU Card" --trace "$home/trace.jsonl" --startup-probe | grep -q '^ready' \
  || fail "vornex did not start"
grep -q '"name":"rf_init_com","args":\[1,14400\],"status":0' "$home/trace.jsonl" \
  || fail "the first start did not connect to the simulated reader: $(cat "$home/trace.jsonl")"
settings=$home/.config/Corvale/IORFCard.reg
for value in '"CurCard"=dword:0000000c' '"ComPort"=dword:00000001' '"AllCards"=dword:00000001'; do
  grep -qF "$value" "$settings" || fail "$settings lacks $value"
done
book=$home/.local/share/Vornex/cpubooks.txt
cmp -s "$book" "$work/seed" || fail "$book is not the seeded book"
[ "$(stat -c %U "$book" "$settings" "$scenario" | sort -u)" = "$user" ] || fail "the user's files belong to someone else"
cmp -s "$program/cpubooks.txt" "$work/seed" || fail "the program folder's book changed"
written=$(find /usr -xdev -newer "$work/installed")
[ -z "$written" ] || fail "the program wrote under /usr: $written"

step "purge"
rm "$program/cpubooks.txt"
"${apt[@]}" purge vornex > "$work/apt.log" || { cat "$work/apt.log"; fail "apt-get purge failed"; }
! installed || fail "vornex is still installed"
[ -z "$(dpkg-query -W -f='${Status}' vornex 2>/dev/null)" ] || fail "dpkg still knows vornex"
find /usr /etc -xdev | sort > "$work/after"
diff "$work/before" "$work/after" || fail "the package left files behind, or took some along"
echo "package test: passed"
