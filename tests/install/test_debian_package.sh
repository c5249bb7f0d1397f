#!/usr/bin/env bash
# "cpack -G DEB" builds kelvar_<version>_amd64.deb: games section, a
# maintainer and a description, the runtime libraries and Stockfish as its
# dependencies and nothing of the build, exactly Kelvar's files under /usr
# with stripped programs, and no lintian errors.
set -euo pipefail
: "${KELVAR_BINARY_DIR:?}" "${KELVAR_RUN_DIR:?}" "${KELVAR_VERSION:?}" "${KELVAR_ARTIFACTS:?}"
source "$(dirname "$0")/files.sh"
work=$(mktemp -d /tmp/kelvar-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL (debian package): $*" >&2; exit 1; }

cpack --config "$KELVAR_BINARY_DIR/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
deb="$work/kelvar_${KELVAR_VERSION}_amd64.deb"
[[ -f "$deb" ]] || fail "no $deb; cpack made: $(ls "$work")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == kelvar ]] || fail "Package is '$(field Package)'"
[[ "$(field Version)" == "$KELVAR_VERSION" ]] || fail "Version is '$(field Version)'"
[[ "$(field Architecture)" == amd64 ]] || fail "Architecture is '$(field Architecture)'"
[[ "$(field Section)" == games ]] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
(($(field Description | wc -l) >= 3)) || fail "the description has no long part"

# Runtime libraries and the engine; nothing a build or a test needs.
depends=$(field Depends)
for needed in libirrlicht1.8 libasound2 libspeechd2 stockfish; do
  [[ ",$depends," =~ [,\ ]$needed[\ ,] ]] || fail "Depends lacks $needed: $depends"
done
for unwanted in -dev gtest benchmark freetype cmake clang xvfb; do
  [[ "$depends" != *"$unwanted"* ]] || fail "Depends names a build package ($unwanted): $depends"
done

mkdir -p "$work/root"
dpkg-deb -x "$deb" "$work/root"
diff <(kelvar_installed_files "$work/root/usr") <(find "$work/root" -type f | sort) >"$work/files.diff" ||
  fail "packaged files differ from the expected list (< missing, > unexpected): $(cat "$work/files.diff")"
for program in usr/games/kelvar usr/lib/kelvar/Abrok_5_0.exe; do
  ! readelf -S "$work/root/$program" | grep -q '\.debug_info' || fail "$program is not stripped"
done
kelvar_check_desktop_files "$work/root/usr" || fail "the packaged desktop files do not validate"

# lintian's report, notes included, is kept for reading; an error fails.
lintian_report="$KELVAR_ARTIFACTS/lintian.txt"
mkdir -p "$KELVAR_ARTIFACTS"
code=0
lintian --fail-on error --display-level '>=info' "$deb" >"$lintian_report" 2>&1 || code=$?
((code == 0)) || fail "lintian reports errors (exit $code): $(grep -v '^[WIXPN]: ' "$lintian_report")"
cp "$deb" "$KELVAR_BINARY_DIR/"
echo "lintian: $(grep -c '^[WI]: ' "$lintian_report") warnings and notes, in $lintian_report"
echo "PASS"
