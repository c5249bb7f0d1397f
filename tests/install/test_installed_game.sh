#!/usr/bin/env bash
# "cmake --install" into a scratch DESTDIR: exactly Kelvar's files land in
# their standard places and pass the desktop's validators; the installed game,
# started the way its desktop entry starts it from an unrelated directory,
# opens its window, reaches its engine and closes cleanly; the uninstall target
# takes everything away again. A lone copy of the game without its data says
# so and ends.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/files.sh"
: "${KELVAR_SOURCE_DIR:?}"

stage="$E2E_TMP/stage"
prefix="$stage/usr"
DESTDIR="$stage" cmake --install "$KELVAR_BINARY_DIR" --prefix /usr >"$E2E_TMP/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$E2E_TMP/install.log")"

diff <(kelvar_installed_files "$prefix") <(find "$stage" -type f | sort) >"$E2E_TMP/files.diff" ||
  fail "installed files differ from the expected list (< missing, > unexpected): $(cat "$E2E_TMP/files.diff")"
[[ -x "$prefix/games/kelvar" && -x "$prefix/lib/kelvar/Abrok_5_0.exe" ]] || fail "the programs are not executable"
kelvar_check_desktop_files "$prefix" || fail "the desktop files do not validate"

# Start it as a desktop's launcher does: the entry's Exec line without the
# file argument, found on the PATH, from the home folder.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/kelvar.desktop")
[[ "$exec_line" == "kelvar %f" ]] || fail "unexpected Exec line '$exec_line'"
home="$E2E_TMP/home"
mkdir -p "$home"
start_xvfb
(cd "$home" && PATH="$prefix/games:$PATH" exec stdbuf -oL -eL ${exec_line% %f} >"$GAME_LOG" 2>&1) &
GAME_PID=$!
wait_for_log "Kelvar: gl_Init finished" 60
wait_for_log "Kelvar: readyok" 30 # the engine program was found and answers
find_window
sleep 1.5
screenshot installed
close_window
code=0
wait_for_exit 20 || code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
grep -qF "Kelvar: gl_Exit finished" "$GAME_LOG" || fail "gl_Exit finished was not logged"
[[ -z "$(ls -A "$home")" ]] || fail "the game left files in the folder it was started from: $(ls -A "$home")"

# A copy of the game with no data beside it nor at the installed places.
mkdir -p "$E2E_TMP/lone"
cp "$prefix/games/kelvar" "$E2E_TMP/lone/kelvar"
code=0
(cd "$home" && timeout 20 "$E2E_TMP/lone/kelvar" >"$E2E_TMP/lone.out" 2>"$E2E_TMP/lone.err") || code=$?
[[ $code -eq 1 ]] || fail "a game without data ended with $code, expected 1"
grep -qF "kelvar: cannot find the game's data: no media folder beside $E2E_TMP/lone" "$E2E_TMP/lone.err" ||
  fail "no clear message for a game without data: $(cat "$E2E_TMP/lone.err")"

DESTDIR="$stage" cmake --build "$KELVAR_BINARY_DIR" --target uninstall >"$E2E_TMP/uninstall.log" 2>&1 ||
  fail "the uninstall target failed: $(tail -n 5 "$E2E_TMP/uninstall.log")"
left=$(find "$stage" -type f -o -type l)
[[ -z "$left" ]] || fail "files left after uninstalling: $left"
left=$(find "$stage" -mindepth 1 -name '*kelvar*')
[[ -z "$left" ]] || fail "Kelvar's folders left after uninstalling: $left"
echo "PASS"
