#!/usr/bin/env bash
# Installs the Debian package for real on this machine (root needed), starts
# the installed game from an unrelated directory under a virtual screen until
# it has reached its engine, closes it, removes the package and checks that
# nothing of it is left. CI runs it after the test command; it builds the
# package first when the build folder has none.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
[[ $(id -u) -eq 0 ]] || { echo "check-package: run as root (it installs and removes a package)" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive

deb=$(ls build/kelvar_*_amd64.deb 2>/dev/null | head -n1 || true)
if [[ -z "$deb" ]]; then
  (cd build && cpack -G DEB >/dev/null)
  deb=$(ls build/kelvar_*_amd64.deb | head -n1)
fi
echo "check-package: $deb"
if dpkg-query -W -f='${Status}' kelvar 2>/dev/null | grep -q "install ok installed"; then
  echo "check-package: kelvar is installed already; not touching it" >&2
  exit 1
fi

work=$(mktemp -d /tmp/kelvar-package.XXXXXX)
xvfb_pid="" game_pid="" installed=""
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  # A failed check must not leave the package behind on the machine.
  [[ -n "$installed" ]] && apt-get remove --purge -y -qq kelvar >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-package FAIL: $*" >&2; exit 1; }

installed=yes
apt-get install -y -qq "$root/$deb" >"$work/apt.log" 2>&1 || fail "apt-get install: $(tail -n 20 "$work/apt.log")"
dpkg-query -L kelvar | sort >"$work/files"
echo "check-package: installed $(wc -l <"$work/files") paths"

# The installed game from the root folder, as a user's shell or the desktop
# starts it: by name, on Debian's default PATH for users (root's has no
# /usr/games).
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
PATH=$user_path command -v kelvar >/dev/null || fail "kelvar is not on the PATH"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
(cd / && PATH=$user_path exec stdbuf -oL kelvar >"$work/game.log" 2>&1) &
game_pid=$!
for _ in $(seq 600); do
  grep -qF "Kelvar: readyok" "$work/game.log" && grep -qF "Kelvar: gl_Init finished" "$work/game.log" && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended: $(tail -n 20 "$work/game.log")"
  sleep 0.1
done
grep -qF "Kelvar: gl_Init finished" "$work/game.log" || fail "the installed game did not start: $(tail -n 20 "$work/game.log")"
window=$(xdotool search --name '^Kelvar$' | head -n1)
"$root/build/tests/e2e/kelvar_xclose" "$window"
for _ in $(seq 200); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
code=0
wait "$game_pid" || code=$?
game_pid=""
[[ $code -eq 0 ]] || fail "the installed game ended with $code"
echo "check-package: the installed game started, reached its engine and closed"

apt-get remove --purge -y -qq kelvar >"$work/apt.log" 2>&1 || fail "apt-get remove: $(tail -n 20 "$work/apt.log")"
installed=""
left=""
while read -r path; do
  # Shared folders (/usr, /usr/share/applications, ...) belong to others too.
  [[ -e "$path" && ! -d "$path" ]] && left+="$path "
done <"$work/files"
for own in /usr/share/kelvar /usr/lib/kelvar /usr/share/doc/kelvar; do
  [[ -e "$own" ]] && left+="$own "
done
[[ -z "$left" ]] || fail "left after removal: $left"
echo "check-package: removed, nothing left"
